#include "bench/BenchHandheld.h"

#include "conduit/HHMeter.h"
#include "conduit/HHRoute.h"
#include "platform/palm/HandheldStore.h"
#include "platform/palm/SyncManager.h"
#include "platform/synclog/SyncLog.h"

namespace wexal::bench {

void MakeHandheld(const std::filesystem::path& folder) {
    palm::HandheldStore::Init(folder, "BENCH");
}

std::vector<std::string> InSession(const std::filesystem::path& handheld,
                                   const std::function<void()>& work) {
    SyncOpenSession(handheld.c_str());
    synclog::Begin({}, nullptr);
    work();
    std::vector<std::string> lines;
    for (const auto& entry : synclog::End()) {
        lines.push_back(std::to_string(entry.activity) + " " + entry.text);
    }
    SyncCloseSession();
    return lines;
}

void SetEveryRoute(const std::filesystem::path& handheld, const std::string& status) {
    InSession(handheld, [&] {
        HHRoute routes;
        routes.Open();
        for (std::uint32_t r = 0; r < routes.RecordCount(); ++r) {
            routes.ReadByIndex(static_cast<std::uint16_t>(r));
            routes.Status = status;
            routes.Write();
        }
        routes.Close();
    });
}

long ReadEveryMeter(const std::filesystem::path& handheld) {
    long read = 0;
    InSession(handheld, [&] {
        HHRoute routes;
        routes.Open();
        for (std::uint32_t r = 0; r < routes.RecordCount(); ++r) {
            routes.ReadByIndex(static_cast<std::uint16_t>(r));
            HHMeter meters;
            meters.Open(routes.RouteName);
            for (std::uint32_t m = 0; m < meters.RecordCount(); ++m) {
                meters.ReadByIndex(static_cast<std::uint16_t>(m));
                meters.CurReading = "005123";
                meters.ReadingDate = "261209";
                meters.ReadingTime = "0930";
                meters.Intials = "ABC";
                meters.Status.assign(1, 'R');  // a literal trips a false GCC 12 -Wrestrict warning
                if (meters.Write() == kSyncErrNone) {
                    ++read;
                }
            }
            meters.Close();
        }
        routes.Close();
    });
    SetEveryRoute(handheld, "U");
    return read;
}

}  // namespace wexal::bench
