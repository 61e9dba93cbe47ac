// The flushes of whole text-file syncs: most of a sync's time on a real disk,
// so a download and an upload may take at most three a route, and a few more
// a sync.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/Flush.h"
#include "tests/conduit/NumberedRoutes.h"
#include "tests/conduit/TextFileOffice.h"

namespace wexal::testing {
namespace {

constexpr int kMetersPerRoute = 3;

// What a sync flushes once, whatever its routes (a file and its folder
// count two). Download: the handheld's clock 2, the reader settings 2, the
// response codes 2, the route list made at the first download 2, the first
// route's provisional entry 1, the route folder once its folder of claimed
// names is made 1, and the handheld's folder before the route file goes into
// its history 1. Upload: the clock, settings and codes 6, the
// readings and the exceptions journals begun 4, the new readings file's
// folder 1, the handheld's folder once the routes are marked uploaded 1, and
// the purge of the uploaded routes from the route list 2.
constexpr std::uint64_t kDownloadPerSync = 11;
constexpr std::uint64_t kUploadPerSync = 14;

std::string RouteName(int route) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d", route + 1);
    return name;
}

std::uint64_t FlushesOfSync(TextFileOffice& office) {
    const std::uint64_t before = files::FlushCount();
    office.Sync();
    return files::FlushCount() - before;
}

TEST(SyncFlushCountTest, DownloadAndUploadFlushAtMostThreeTimesARoute) {
    for (const std::uint64_t routes : {2u, 7u}) {
        SCOPED_TRACE(std::to_string(routes) + " routes");
        TextFileOffice office;
        std::vector<std::pair<std::string, int>> file;
        for (std::uint64_t route = 0; route < routes; ++route) {
            file.emplace_back(RouteName(static_cast<int>(route)), kMetersPerRoute);
        }
        office.WriteRouteFile(RoutesOf(file));
        const std::uint64_t download = FlushesOfSync(office);
        // A count that misses the handheld's flushes would pass anything.
        EXPECT_GE(download, 2 * routes);
        EXPECT_LE(download, 3 * routes + kDownloadPerSync);
        ASSERT_TRUE(std::filesystem::exists(office.History(1)));

        KeyCounts expected;
        for (const auto& [route, meters] : file) {
            ReadRoute(office, route, meters, "42", expected);
        }
        const std::uint64_t upload = FlushesOfSync(office);
        EXPECT_GE(upload, 2 * routes);
        EXPECT_LE(upload, 3 * routes + kUploadPerSync);
        ExpectEachReadingOnce(office.Readings(), expected);
    }
}

}  // namespace
}  // namespace wexal::testing
