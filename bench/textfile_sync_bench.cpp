// Whole text-file syncs at scale: a route file of N meters over R routes in
// the standard layout is downloaded to a simulated handheld, every meter is
// read, and the readings are uploaded. Prints meters per second for each
// sync, the peak memory, and the time `cp` takes for the same bytes.
//
//   textfile_sync_bench [METERS [ROUTES]]     (default 1000000 meters, 100 routes)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "conduit/HHMeter.h"
#include "conduit/HHRoute.h"
#include "conduit/WexalConduit.h"
#include "platform/palm/HandheldStore.h"
#include "platform/palm/SyncManager.h"
#include "platform/registry/Registry.h"
#include "platform/synclog/SyncLog.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// One meter line of the standard route layout (191 characters).
std::string MeterLine(long meter, int route, int sequence) {
    std::string line(191, ' ');
    auto put = [&line](std::size_t column, const std::string& text) {
        line.replace(column, text.size(), text);
    };
    char text[64];
    std::snprintf(text, sizeof text, "%17ld", 100000 + meter);
    put(0, text);
    std::snprintf(text, sizeof text, "CUSTOMER %ld", meter);
    put(17, text);
    std::snprintf(text, sizeof text, "%ld MAIN STREET", meter % 9000 + 1);
    put(47, text);
    put(77, "BEWARE OF DOG");
    put(108, "W");
    std::snprintf(text, sizeof text, "T%09ld", meter);
    put(109, text);
    put(129, "S1234");
    put(143, "000009000");  // highest expected
    put(152, "000001000");  // lowest expected
    std::snprintf(text, sizeof text, "%04d", route);
    put(169, text);
    std::snprintf(text, sizeof text, "%04d", sequence);
    put(174, text);
    put(180, "06");
    put(182, "000005000");  // previous reading
    return line;
}

std::int32_t SyncOnce(const std::filesystem::path& handheld) {
    SyncOpenSession(handheld.c_str());
    wexal::synclog::Begin({}, nullptr);
    WexalConduit conduit;
    const std::int32_t result = conduit.Synchronize();
    for (const auto& entry : wexal::synclog::End()) {
        if (entry.activity != 19 && entry.activity != 20) {
            std::fprintf(stderr, "  log: [%d] %s\n", entry.activity, entry.text.c_str());
        }
    }
    SyncCloseSession();
    return result;
}

// Plays the meter reader on every route: each meter read, each route handed back.
void ReadEveryMeter(const std::filesystem::path& handheld) {
    SyncOpenSession(handheld.c_str());
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
            meters.Status = "R";
            meters.Write();
        }
        meters.Close();
        routes.Status = "U";
        routes.Write();
    }
    routes.Close();
    SyncCloseSession();
}

long PeakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const long meters = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int routes = argc > 2 ? std::atoi(argv[2]) : 100;
    if (meters <= 0 || routes <= 0 || meters / routes > 65535) {
        std::fprintf(stderr,
                     "usage: textfile_sync_bench [METERS [ROUTES]] (at most 65535 "
                     "meters per route)\n");
        return 2;
    }

    char pattern[] = "/tmp/wexal-bench-XXXXXX";
    const std::filesystem::path dir = mkdtemp(pattern);
    const auto config = dir / "config";
    const auto billing = dir / "billing";
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(billing);
    setenv("WEXAL_REGISTRY", (dir / "registry.reg").c_str(), 1);
    wexal::registry::Registry::CurrentUser().WriteString("Software\\Tolvane\\Wexal Conduit\\2.0",
                                                         "Path", config.string());
    std::ofstream(config / "WexalDT.cfg")
        << "SelectedInterface=ACCUFUND\r\nInterface=ACCUFUND\r\nRoutePath="
        << (billing / "route.txt").string()
        << "\r\nReadingsPath=" << (billing / "readings.txt").string() << "\r\n";
    const auto handheld = dir / "handheld";
    wexal::palm::HandheldStore::Init(handheld, "BENCH");

    {
        std::ofstream out(billing / "route.txt", std::ios::binary);
        const long perRoute = (meters + routes - 1) / routes;
        for (long m = 0; m < meters; ++m) {
            out << MeterLine(m, static_cast<int>(m / perRoute) + 1,
                             static_cast<int>(m % perRoute) + 1)
                << "\r\n";
        }
    }
    const auto bytes = std::filesystem::file_size(billing / "route.txt");

    auto start = Clock::now();
    const std::string copy = "cp '" + (billing / "route.txt").string() + "' '" +
                             (dir / "copy.txt").string() + "' && sync";
    if (std::system(copy.c_str()) != 0) {
        std::fprintf(stderr, "cp failed\n");
    }
    const double copySeconds = Seconds(start);

    start = Clock::now();
    SyncOnce(handheld);
    const double downloadSeconds = Seconds(start);

    ReadEveryMeter(handheld);

    start = Clock::now();
    SyncOnce(handheld);
    const double uploadSeconds = Seconds(start);
    const auto readings = std::filesystem::exists(billing / "readings.txt")
                              ? std::filesystem::file_size(billing / "readings.txt")
                              : 0;

    std::printf("meters %ld over %d routes; route file %.1f MB\n", meters, routes, bytes / 1e6);
    std::printf("cp of the route file:  %8.3f s\n", copySeconds);
    std::printf("download sync:         %8.3f s  %10.0f meters/s\n", downloadSeconds,
                meters / downloadSeconds);
    std::printf("upload sync:           %8.3f s  %10.0f meters/s  (readings file %.1f MB)\n",
                uploadSeconds, meters / uploadSeconds, readings / 1e6);
    std::printf("peak memory:           %8.1f MB\n", PeakMemoryKiB() / 1024.0);

    std::filesystem::remove_all(dir);
    return 0;
}
