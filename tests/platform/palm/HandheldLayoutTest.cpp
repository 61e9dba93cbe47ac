// `handheld DIR show`: records of the handheld application's databases as
// named fields, run as a program on a handheld filled through the sync library.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/palm/SyncManager.h"
#include "tests/platform/palm/PalmTestUtil.h"
#include "tests/support/TempDir.h"

namespace wexal::palm {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::ShellQuote;

// A record as the conduit packs it: big-endian words, then NUL-terminated texts.
std::string Packed(const std::vector<uint16_t>& words, const std::vector<std::string>& texts) {
    std::string bytes;
    for (uint16_t w : words) {
        bytes += static_cast<char>(w >> 8);
        bytes += static_cast<char>(w & 0xFF);
    }
    for (const std::string& t : texts) {
        bytes += t;
        bytes += '\0';
    }
    return bytes;
}

struct Database {
    std::string name;
    std::vector<std::string> records;
};

// The part of `show` output that belongs to record `index`, the sync library
// having given the records ids 1, 2, ...
std::string RecordSection(const std::string& output, std::size_t index) {
    char heading[64];
    std::snprintf(heading, sizeof heading, "index %zu (id 0x%06zX)\n", index, index + 1);
    std::size_t start = output.find(heading);
    if (start == std::string::npos) {
        return "";
    }
    std::size_t end = output.find("\nindex ", start);
    return output.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class HandheldLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CommandResult r = RunCommand(ShellQuote(WEXAL_HANDHELD_TOOL) + " " + ShellQuote(Dir()) +
                                     " init --user " + ShellQuote("Alice Smith"));
        ASSERT_EQ(r.status, 0) << r.output;
    }

    void Fill(const std::vector<Database>& databases) {
        ASSERT_EQ(SyncOpenSession(Dir().c_str()), 0);
        for (const Database& db : databases) {
            uint8_t h = testing::CreateDb(db.name);
            for (const std::string& record : db.records) {
                testing::AddRecord(h, record);
            }
            EXPECT_EQ(SyncCloseDB(h), 0);
        }
        ASSERT_EQ(SyncCloseSession(), 0);
    }

    CommandResult Show(const std::string& args) {
        return RunCommand(ShellQuote(WEXAL_HANDHELD_TOOL) + " " + ShellQuote(Dir()) + " show " +
                          args);
    }

    std::string Dir() const { return (dir_ / "hh").string(); }

    wexal::testing::TempDir dir_;
};

// Each layout names its fields at their own positions: words by offset,
// texts by order after the words.
TEST_F(HandheldLayoutTest, NamesEveryLayoutsFieldsAtTheirPositions) {
    // Reader settings as the conduit writes them, every word distinct.
    std::vector<uint16_t> readerWords(24);
    for (std::size_t i = 0; i < readerWords.size(); ++i) {
        readerWords[i] = static_cast<uint16_t>(100 + i);
    }
    std::vector<std::string> meterTexts;
    for (int i = 1; i <= 22; ++i) {
        meterTexts.push_back("m" + std::to_string(i));
    }
    Fill({{"readerDB", {Packed(readerWords, {"", "Alice ", "07", "1", "", "", ""})}},
          {"rcodesDB", {Packed({}, {"NH", "", "No access"})}},
          {"route07", {Packed({}, meterTexts)}}});

    struct Case {
        std::string database;
        std::size_t fieldCount;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"readerDB",
         24 + 7,
         {"  Word1: 100 (0x0064)\n", "  Word7: 106 (0x006A)\n",
          "  ShowExpectedRange: 107 (0x006B)\n",  // offset 14
          "  ShowPriorReadings: 108 (0x006C)\n", "  UseInitials: 109 (0x006D)\n",
          "  UseInitialsAgain: 110 (0x006E)\n", "  RightToLeft: 111 (0x006F)\n",
          "  AutoOffSeconds: 116 (0x0074)\n",  // offset 32
          "  Journalling: 117 (0x0075)\n", "  MeterIDChoice: 118 (0x0076)\n",
          "  RestorePIN: 119 (0x0077)\n", "  Word24: 123 (0x007B)\n", "  Text1: \"\"\n",
          "  UserName: \"Alice \"\n", "  CurrentRoute: \"07\"\n", "  Text4: \"1\"\n",
          "  Text7: \"\"\n"}},
        {"rcodesDB", 3, {"  Code: \"NH\"\n", "  Spare: \"\"\n", "  Text: \"No access\"\n"}},
        {"route07",
         22,
         {"  ServiceUniqueID: \"m1\"\n", "  MeterType: \"m4\"\n", "  CurReading: \"m10\"\n",
          "  Status: \"m16\"\n", "  Intials: \"m17\"\n", "  ResponseCode: \"m18\"\n",
          "  ResponseText: \"m19\"\n", "  LstReadingDate: \"m20\"\n", "  ReadType: \"m21\"\n",
          "  UserDef: \"m22\"\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.database);
        CommandResult r = Show(c.database);
        ASSERT_EQ(r.status, 0) << r.output;
        std::size_t fieldLines = 0;
        for (std::size_t p = r.output.find("\n  "); p != std::string::npos;
             p = r.output.find("\n  ", p + 1)) {
            ++fieldLines;
        }
        EXPECT_EQ(fieldLines, c.fieldCount) << r.output;
        std::size_t at = 0;
        for (const std::string& line : c.lines) {
            std::size_t found = r.output.find(line, at);
            ASSERT_NE(found, std::string::npos)
                << "after offset " << at << ": " << line << r.output;
            at = found + line.size();
        }
    }
}

TEST_F(HandheldLayoutTest, LayoutFollowsTheNameUnlessGivenAndErrorsAreClear) {
    Fill({{"readerDB", {}},
          {"rcodesDB", {}},
          {"routeDB", {}},
          {"route", {}},
          {"route A/B", {}},
          {"Route01", {}},
          {"other", {Packed({}, {"NH", "", "No access"})}}});
    struct Case {
        std::string args;
        int status;
        std::string expected;
    };
    const Case cases[] = {
        {"readerDB", 0, "layout reader (reader settings)"},
        {"rcodesDB", 0, "layout codes (response code)"},
        {"routeDB", 0, "layout routes (route list entry)"},
        {"route", 0, "layout meter (meter record)"},
        {ShellQuote("route A/B"), 0, "Database \"route A/B\": 0 records, layout meter"},
        {"Route01", 2, "no layout for database \"Route01\"; give --layout"},
        {"other", 2, "usage: handheld DIR show NAME [--layout meter|reader|codes|routes]"},
        {"other --layout codes", 0, "  Text: \"No access\"\n"},
        {"--layout=codes other", 0, "  Code: \"NH\"\n"},
        {"routeDB --layout meter", 0, "layout meter"},
        {"routeDB --layout route", 2, "unknown layout \"route\"; use meter|reader|codes|routes"},
        {"", 2, "missing database name"},
        {"--layout codes", 2, "missing database name"},
        {"--layout", 2, "--layout needs a value"},
        {"routeDB extra", 2, "unexpected argument \"extra\""},
        {"--all routeDB", 2, "unknown option --all"},
        {"route99", 1, "no database \"route99\""},
    };
    for (const Case& c : cases) {
        CommandResult r = Show(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.output;
        EXPECT_TRUE(Contains(r.output, c.expected)) << c.args << "\n" << r.output;
    }
    CommandResult r = RunCommand(ShellQuote(WEXAL_HANDHELD_TOOL) + " " +
                                 ShellQuote((dir_ / "missing").string()) + " show routeDB");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(Contains(r.output, "no handheld folder")) << r.output;
}

// Records the conduit would never write: the decoder stops at the record's
// end, says what is missing and shows what is left over.
TEST_F(HandheldLayoutTest, ShortAndMalformedRecordsAreShownSafely) {
    struct Case {
        std::string record;
        std::vector<std::string> lines;
        bool hasRest;
    };
    const Case cases[] = {
        {"",
         {"  MeterCount: (missing)\n", "  LastIndex: (missing)\n", "  RouteName: (missing)\n",
          "  Status: (missing)\n"},
         false},
        {std::string("\x00\x03\x07", 3),
         {"  MeterCount: 3 (0x0003)\n", "  Word2: (incomplete: 1 byte \"\\x07\")\n",
          "  Word3: (missing)\n", "  RouteName: (missing)\n"},
         false},
        {Packed({1, 2, 3, 4}, {}) + "North",
         {"  LastIndex: 4 (0x0004)\n", "  RouteName: \"North\" (no NUL: the record ends)\n",
          "  DownloadStamp: (missing)\n", "  Status: (missing)\n"},
         false},
        {Packed({1, 2, 3, 4}, {"A", "", "", ""}),
         {"  RouteName: \"A\"\n", "  Text2: \"\"\n", "  Status: (missing)\n"},
         false},
        {Packed({1, 2, 3, 4}, {std::string("\x01\xFF\"\\", 4), "", "", "", "R", "x"}) + "yz",
         {"  RouteName: \"\\x01\\xFF\\\"\\\\\"\n", "  Status: \"R\"\n",
          "  after the last field: 4 bytes \"x\\x00yz\"\n"},
         true},
    };
    std::vector<std::string> records;
    for (const Case& c : cases) {
        records.push_back(c.record);
    }
    Fill({{"odd", records}});
    CommandResult r = Show("odd --layout routes");
    ASSERT_EQ(r.status, 0) << r.output;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string section = RecordSection(r.output, i);
        ASSERT_FALSE(section.empty()) << i << "\n" << r.output;
        for (const std::string& line : cases[i].lines) {
            EXPECT_TRUE(Contains(section, line)) << i << ": " << line << section;
        }
        EXPECT_EQ(Contains(section, "after the last field"), cases[i].hasRest) << section;
    }
}

}  // namespace
}  // namespace wexal::palm
