// The history of used route files: PriorD01..PriorD10 or per route.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/AccuFund.h"
#include "conduit/formats/HistoryRotation.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

namespace fs = std::filesystem;

std::string Generation(const std::string& base, int n) {
    return base + (n < 10 ? "0" : "") + std::to_string(n);
}

// The contents of the history files base01..base10; "-" for a missing one.
std::vector<std::string> History(const TempDir& dir, const std::string& base = "PriorD") {
    std::vector<std::string> contents;
    for (int n = 1; n <= 10; ++n) {
        const auto file = dir / Generation(base, n);
        contents.push_back(fs::exists(file) ? ReadFile(file) : "-");
    }
    return contents;
}

// Starts a sync log run so that the test sees what the rotation logs.
class HistoryRotationTest : public ::testing::Test {
  protected:
    void SetUp() override { synclog::Begin(dir_ / "HotSync.log", nullptr); }
    void TearDown() override { synclog::End(); }

    std::vector<synclog::Entry> Logged() { return synclog::Entries(); }

    std::string RoutePath() const { return (dir_ / "route.txt").string(); }

    TempDir dir_;
};

TEST_F(HistoryRotationTest, FirstUseMakesPriorD01) {
    WriteFile(RoutePath(), "routes");
    AccuFundMeter meter;
    ASSERT_EQ(meter.Open(RoutePath()), 0);
    EXPECT_EQ(meter.CloseAndRoll(0), 0);
    EXPECT_FALSE(fs::exists(RoutePath()));
    EXPECT_EQ(History(dir_),
              (std::vector<std::string>{"routes", "-", "-", "-", "-", "-", "-", "-", "-", "-"}));
    EXPECT_TRUE(Logged().empty());
}

TEST_F(HistoryRotationTest, TenFilesDropTheOldestAndMoveUp) {
    for (int n = 1; n <= 10; ++n) {
        WriteFile(dir_ / Generation("PriorD", n), "old" + std::to_string(n));
    }
    WriteFile(RoutePath(), "new");
    EXPECT_EQ(RotateIntoHistory(RoutePath(), "PriorD"), 0);
    EXPECT_EQ(History(dir_), (std::vector<std::string>{"new", "old1", "old2", "old3", "old4",
                                                       "old5", "old6", "old7", "old8", "old9"}));
    EXPECT_FALSE(fs::exists(dir_ / "PriorD11"));
}

// Only the files before the first free name move: no file has to go.
TEST_F(HistoryRotationTest, FilesUpToTheFirstFreeNameMove) {
    WriteFile(dir_ / "PriorD01", "old1");
    WriteFile(dir_ / "PriorD03", "old3");
    WriteFile(RoutePath(), "new");
    EXPECT_EQ(RotateIntoHistory(RoutePath(), "PriorD"), 0);
    EXPECT_EQ(History(dir_),
              (std::vector<std::string>{"new", "old1", "old3", "-", "-", "-", "-", "-", "-", "-"}));
}

// What a rotation of a full history leaves when it stops on the way: the
// oldest set aside as PriorD11 goes only once a route file reached PriorD01.
TEST_F(HistoryRotationTest, OldestSetAsideGoesOnceARouteFileIsIn) {
    const struct {
        const char* left;
        std::vector<int> generations;  // of "old<n>" files, 11 the one set aside
        std::vector<std::string> history;
    } cases[] = {
        {"stopped before its route file moved",
         {1, 2, 3, 5, 6, 7, 8, 9, 10, 11},
         {"new", "old1", "old2", "old3", "old5", "old6", "old7", "old8", "old9", "old10"}},
        {"stopped after its route file moved",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
         {"new", "old1", "old2", "old3", "old4", "old5", "old6", "old7", "old8", "old9"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        TempDir dir;
        for (const int n : c.generations) {
            WriteFile(dir / Generation("PriorD", n), "old" + std::to_string(n));
        }
        WriteFile(dir / "route.txt", "new");
        EXPECT_EQ(RotateIntoHistory((dir / "route.txt").string(), "PriorD"), 0);
        EXPECT_EQ(History(dir), c.history);
        EXPECT_FALSE(fs::exists(dir / "PriorD11"));
    }
}

TEST_F(HistoryRotationTest, ByRouteUsesTheRouteOfTheFirstRecord) {
    std::string first(191, ' ');
    first.replace(169, 4, "7/A ");
    std::string second(191, ' ');
    second.replace(169, 4, "8B");
    WriteFile(RoutePath(), first + "\r\n" + second + "\r\n");
    AccuFundMeter meter;
    ASSERT_EQ(meter.Open(RoutePath()), 0);
    while (meter.Read() == VendorMeter::kRecordRead) {
    }
    EXPECT_EQ(meter.CloseAndRoll(1), 0);
    // The separator would move the history into another folder.
    EXPECT_TRUE(fs::exists(dir_ / "P7%2FA01"));
    EXPECT_FALSE(fs::exists(dir_ / "P8B01"));
}

TEST(HistoryBaseNameTest, RouteTextBecomesAFileName) {
    EXPECT_EQ(HistoryBaseName(false, "12"), "PriorD");
    EXPECT_EQ(HistoryBaseName(true, "12"), "P12");
    EXPECT_EQ(HistoryBaseName(true, ""), "P");
    EXPECT_EQ(HistoryBaseName(true, "a\\b/c"), "Pa%5Cb%2Fc");
}

// Every byte of the route stays in the name, so that each generation has a
// file of its own: a NUL once made all of them one file, and the route file
// moved in as the newest was removed as the oldest.
TEST_F(HistoryRotationTest, EachGenerationOfARouteKeepsAFileOfItsOwn) {
    const struct {
        std::string route;
        std::string base;
    } cases[] = {{"12", "P12"},         {"a_b", "Pa_b"},
                 {"a/b", "Pa%2Fb"},     {std::string("a\0b", 3), "Pa%00b"},
                 {"a%00b", "Pa%2500b"}, {"R:1", "PR%3A1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.base);
        TempDir dir;
        const std::string path = (dir / "route.txt").string();
        for (const char* routes : {"export1", "export2", "export3"}) {
            WriteFile(path, routes);
            EXPECT_EQ(RotateIntoHistory(path, HistoryBaseName(true, c.route)), 0);
        }
        EXPECT_EQ(History(dir, c.base),
                  (std::vector<std::string>{"export3", "export2", "export1", "-", "-", "-", "-",
                                            "-", "-", "-"}));
    }
    WriteFile(RoutePath(), "new");
    EXPECT_EQ(RotateIntoHistory(RoutePath(), std::string("Pa\0b", 4)), -1);
    EXPECT_EQ(ReadFile(RoutePath()), "new");
}

TEST_F(HistoryRotationTest, BackslashSeparatesTheFolderToo) {
    // The folder of "x\route.txt" is "x\": here a plain file name prefix.
    const std::string path = (dir_ / "x\\route.txt").string();
    WriteFile(path, "routes");
    EXPECT_EQ(RotateIntoHistory(path, "PriorD"), 0);
    EXPECT_EQ(ReadFile(dir_ / "x\\PriorD01"), "routes");
}

TEST_F(HistoryRotationTest, PathWithoutFolderRotatesInTheCurrentFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(dir_.path());
    WriteFile(dir_ / "routes.dat", "routes");
    WriteFile(dir_ / "PriorD01", "old1");
    const std::int32_t result = RotateIntoHistory("routes.dat", "PriorD");
    fs::current_path(before);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(History(dir_),
              (std::vector<std::string>{"routes", "old1", "-", "-", "-", "-", "-", "-", "-", "-"}));
}

TEST_F(HistoryRotationTest, FailureIsLoggedAndLeavesEveryFileInPlace) {
    // A file set aside before that cannot be removed: with every name taken
    // nothing may move, since the oldest would have nowhere to go.
    for (int n = 1; n <= 10; ++n) {
        WriteFile(dir_ / Generation("PriorD", n), "old" + std::to_string(n));
    }
    fs::create_directory(dir_ / "PriorD11");
    WriteFile(dir_ / "PriorD11" / "inside", "kept");
    WriteFile(RoutePath(), "new");
    AccuFundMeter meter;
    ASSERT_EQ(meter.Open(RoutePath()), 0);
    EXPECT_EQ(meter.CloseAndRoll(0), -1);
    EXPECT_EQ(ReadFile(RoutePath()), "new");
    EXPECT_EQ(History(dir_), (std::vector<std::string>{"old1", "old2", "old3", "old4", "old5",
                                                       "old6", "old7", "old8", "old9", "old10"}));
    EXPECT_EQ(ReadFile(dir_ / "PriorD11" / "inside"), "kept");
    const auto logged = Logged();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].activity, kActivityHandheld);
    EXPECT_NE(logged[0].text.find("PriorD11"), std::string::npos);
}

TEST_F(HistoryRotationTest, HistoryNameTooLongKeepsTheRouteFile) {
    WriteFile(RoutePath(), "new");
    const std::string longRoute(300, 'R');
    EXPECT_EQ(RotateIntoHistory(RoutePath(), HistoryBaseName(true, longRoute)), -1);
    EXPECT_EQ(ReadFile(RoutePath()), "new");
    ASSERT_EQ(Logged().size(), 1u);
    EXPECT_EQ(Logged()[0].activity, kActivityHandheld);
}

TEST_F(HistoryRotationTest, LongFolderPathsRotate) {
    fs::path deep = dir_.path();
    for (int i = 0; i < 6; ++i) {
        deep /= std::string(60, static_cast<char>('a' + i));
    }
    fs::create_directories(deep);
    const std::string path = (deep / "route.txt").string();
    ASSERT_GT(path.size(), 128u);
    WriteFile(path, "routes");
    EXPECT_EQ(RotateIntoHistory(path, "PriorD"), 0);
    EXPECT_EQ(ReadFile(deep / "PriorD01"), "routes");
}

TEST_F(HistoryRotationTest, MissingRouteFileIsReported) {
    EXPECT_EQ(RotateIntoHistory(RoutePath(), "PriorD"), -1);
    ASSERT_EQ(Logged().size(), 1u);
    EXPECT_NE(Logged()[0].text.find("route.txt"), std::string::npos);
}

}  // namespace
}  // namespace wexal::testing
