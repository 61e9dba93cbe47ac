#include <gtest/gtest.h>

#include <regex>

#include "platform/synclog/SyncLog.h"
#include "tests/support/TempDir.h"

namespace {

using wexal::testing::ReadFile;
using wexal::testing::TempDir;
namespace synclog = wexal::synclog;

TEST(SyncLogTest, RunAppendsTimestampedLinesAndEchoes) {
    TempDir dir;
    const auto file = dir.path() / "user" / "HotSync.log";
    wexal::testing::WriteFile(dir.path() / "placeholder", "");
    std::vector<std::string> echoed;
    synclog::Begin(file, [&](const std::string& line) { echoed.push_back(line); });
    EXPECT_EQ(LogAddEntry(" Started with interface NORTHSTAR", 19, 0), 0);
    EXPECT_EQ(LogAddEntry("line\nwith a break", 22, 0), 0);
    auto entries = synclog::End();

    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].activity, 19);
    EXPECT_EQ(entries[1].text, "line\nwith a break");
    ASSERT_EQ(echoed.size(), 2u);

    const std::string text = ReadFile(file);
    EXPECT_TRUE(std::regex_search(
        text, std::regex(
                  R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d \[19\]  Started with interface NORTHSTAR\n)")))
        << text;

    // A second run appends: what earlier syncs logged stays.
    synclog::Begin(file, nullptr);
    LogAddEntry("second run", 20, 0);
    EXPECT_EQ(synclog::End().size(), 1u);
    const std::string after = ReadFile(file);
    EXPECT_EQ(after.substr(0, text.size()), text);
    EXPECT_NE(after.find("[20] second run"), std::string::npos);
}

TEST(SyncLogTest, EntryOutsideRunOrUnwritableFileIsNotLost) {
    EXPECT_EQ(LogAddEntry("before any run", 19, 0), 0);
    EXPECT_EQ(LogAddEntry(nullptr, 19, 0), 0);

    TempDir dir;
    wexal::testing::WriteFile(dir.path() / "file", "");
    synclog::Begin(dir.path() / "file" / "cannot-be-below-a-file.log", nullptr);
    EXPECT_EQ(LogAddEntry("kept in memory", 17, 0), -1);
    auto entries = synclog::End();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "kept in memory");
}

}  // namespace
