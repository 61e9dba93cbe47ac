// The `handheld` tool, run as a program on small stores.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "platform/palm/SyncManager.h"
#include "tests/platform/palm/PalmTestUtil.h"
#include "tests/support/TempDir.h"

namespace wexal::palm {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::RunCommand;
using testing::ShellQuote;
using wexal::testing::TempDir;

CommandResult Tool(const std::string& args) {
    return RunCommand(ShellQuote(WEXAL_HANDHELD_TOOL) + " " + args);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class HandheldToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CommandResult r = Tool(ShellQuote(Dir()) + " init --user " + ShellQuote("Alice Smith"));
        ASSERT_EQ(r.status, 0) << r.output;
        // Two databases written through the sync library, as a conduit would.
        ASSERT_EQ(SyncOpenSession(Dir().c_str()), 0);
        uint8_t h = testing::CreateDb("routeDB");
        // Route record: 4 big-endian words, then 5 texts.
        testing::AddRecord(h, std::string("\x00\x05\x00\x00\x01\x02\xFF\xFF"
                                          "North\0A\0\0t1\0t2\0",
                                          8 + 15));
        testing::AddRecord(h, std::string("\x00\x07\x00\x01\x00\x00\x00\x00"
                                          "South\0C\0\0\0\0",
                                          8 + 11));
        EXPECT_EQ(SyncCloseDB(h), 0);
        h = testing::CreateDb("rcodesDB");
        testing::AddRecord(h, std::string("NH\0No access\0\0", 14));
        EXPECT_EQ(SyncCloseDB(h), 0);
        h = testing::CreateDb("route A/B");
        EXPECT_EQ(SyncCloseDB(h), 0);
        ASSERT_EQ(SyncCloseSession(), 0);
    }

    std::string Dir() const { return (dir_ / "hh").string(); }

    TempDir dir_;
};

TEST_F(HandheldToolTest, InitMakesAnEmptyHandheld) {
    HandheldStore store = HandheldStore::Open(Dir());
    EXPECT_EQ(store.UserName(), "Alice Smith");
    // Again on the same folder: refused.
    CommandResult r = Tool(ShellQuote(Dir()) + " init");
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(Contains(r.output, "already")) << r.output;
    // A fresh one without a user name.
    r = Tool(ShellQuote((dir_ / "other").string()) + " init");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(fs::exists(dir_ / "other" / "handheld.txt"));
    r = Tool(ShellQuote((dir_ / "other").string()) + " list");
    EXPECT_EQ(r.status, 0) << r.output;
}

TEST_F(HandheldToolTest, ListShowsNameCreatorTypeAndCount) {
    CommandResult r = Tool(ShellQuote(Dir()) + " list");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "NAME")) << r.output;
    EXPECT_TRUE(Contains(r.output, "RECORDS")) << r.output;
    // Sorted by name, one line each.
    std::size_t codes = r.output.find("rcodesDB");
    std::size_t routeAB = r.output.find("route A/B");
    std::size_t routes = r.output.find("routeDB");
    ASSERT_NE(codes, std::string::npos) << r.output;
    ASSERT_NE(routeAB, std::string::npos) << r.output;
    ASSERT_NE(routes, std::string::npos) << r.output;
    EXPECT_LT(codes, routeAB);
    EXPECT_LT(routeAB, routes);
    std::string routeLine = r.output.substr(routes, r.output.find('\n', routes) - routes);
    EXPECT_TRUE(Contains(routeLine, "TLWX")) << routeLine;
    EXPECT_TRUE(Contains(routeLine, "DATA")) << routeLine;
    EXPECT_EQ(routeLine.substr(routeLine.find_last_not_of(' ')), "2") << routeLine;
}

TEST_F(HandheldToolTest, DumpShowsRecordsInHex) {
    CommandResult r = Tool(ShellQuote(Dir()) + " dump rcodesDB");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "Database \"rcodesDB\"")) << r.output;
    EXPECT_TRUE(Contains(r.output, "creator TLWX")) << r.output;
    EXPECT_TRUE(Contains(r.output, "records 1")) << r.output;
    EXPECT_TRUE(Contains(r.output, "Record 0  id 1 (0x000001)  attributes 0x00")) << r.output;
    EXPECT_TRUE(Contains(r.output, "4E 48 00 4E 6F 20 61 63  63 65 73 73 00 00")) << r.output;
    EXPECT_TRUE(Contains(r.output, "|NH.No access..|")) << r.output;
}

TEST_F(HandheldToolTest, DumpDecodesWordsAndTexts) {
    CommandResult r = Tool(ShellQuote(Dir()) + " dump routeDB --words 4");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "  words: 5 0 258 65535\n")) << r.output;
    EXPECT_TRUE(Contains(r.output, "  text 0: \"North\"\n")) << r.output;
    EXPECT_TRUE(Contains(r.output, "  text 1: \"A\"\n")) << r.output;
    EXPECT_TRUE(Contains(r.output, "  text 2: \"\"\n")) << r.output;
    EXPECT_TRUE(Contains(r.output, "  text 4: \"t2\"\n")) << r.output;
    EXPECT_TRUE(Contains(r.output, "Record 1  id 2")) << r.output;
    EXPECT_TRUE(Contains(r.output, "  words: 7 1 0 0\n")) << r.output;

    // Texts only (no words), as for the response codes.
    r = Tool(ShellQuote(Dir()) + " dump rcodesDB --words 0");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "  text 1: \"No access\"\n")) << r.output;
    EXPECT_FALSE(Contains(r.output, "words:")) << r.output;

    // More words than the record holds.
    r = Tool(ShellQuote(Dir()) + " dump rcodesDB --words 100");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "too short")) << r.output;

    r = Tool(ShellQuote(Dir()) + " dump routeDB --words x");
    EXPECT_EQ(r.status, 2) << r.output;
}

TEST_F(HandheldToolTest, DumpFindsEscapedNames) {
    CommandResult r = Tool(ShellQuote(Dir()) + " dump " + ShellQuote("route A/B"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "records 0")) << r.output;
}

TEST_F(HandheldToolTest, UserShowsAndSetsTheName) {
    CommandResult r = Tool(ShellQuote(Dir()) + " user");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "Alice Smith\n");
    r = Tool(ShellQuote(Dir()) + " user " + ShellQuote("Bob"));
    ASSERT_EQ(r.status, 0) << r.output;
    r = Tool(ShellQuote(Dir()) + " user");
    EXPECT_EQ(r.output, "Bob\n");
    // The sync library sees it.
    ASSERT_EQ(SyncOpenSession(Dir().c_str()), 0);
    SyncUserId user{};
    ASSERT_EQ(SyncReadUserID(&user), 0);
    EXPECT_STREQ(user.userName, "Bob");
    // While a sync holds the handheld, the tool does not change it.
    r = Tool(ShellQuote(Dir()) + " user Carol");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Contains(r.output, "in use")) << r.output;
    ASSERT_EQ(SyncCloseSession(), 0);
    r = Tool(ShellQuote(Dir()) + " user " + ShellQuote(std::string(64, 'x')));
    EXPECT_NE(r.status, 0) << r.output;
}

TEST_F(HandheldToolTest, ClearErrors) {
    CommandResult r = Tool(ShellQuote((dir_ / "missing").string()) + " list");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.output, "no handheld folder")) << r.output;

    r = Tool(ShellQuote((dir_ / "missing").string()) + " dump routeDB");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.output, "no handheld folder")) << r.output;

    r = Tool(ShellQuote(Dir()) + " dump nothere");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.output, "no database \"nothere\"")) << r.output;

    r = Tool(ShellQuote(Dir()) + " dump");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contains(r.output, "usage: handheld DIR dump")) << r.output;

    r = Tool(ShellQuote(Dir()) + " frobnicate");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contains(r.output, "unknown command")) << r.output;

    r = Tool("");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contains(r.output, "usage:")) << r.output;

    r = Tool("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* command : {"list", "dump", "user", "init", "show"}) {
        EXPECT_TRUE(Contains(r.output, std::string("  ") + command)) << r.output;
    }

    r = Tool(ShellQuote(Dir()) + " list extra");
    EXPECT_EQ(r.status, 2) << r.output;
}

TEST_F(HandheldToolTest, DamagedDatabaseIsReported) {
    wexal::testing::WriteFile(fs::path(Dir()) / "broken.pdb", "junk");
    CommandResult r = Tool(ShellQuote(Dir()) + " list");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Contains(r.output, "broken")) << r.output;
    EXPECT_TRUE(Contains(r.output, "damaged")) << r.output;
    r = Tool(ShellQuote(Dir()) + " dump broken");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Contains(r.output, "truncated header")) << r.output;
}

}  // namespace
}  // namespace wexal::palm
