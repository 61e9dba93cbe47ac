// The handheld database classes against a real sync session: opening and
// creating, the record bytes they write and read, the 512-byte limit, and
// what an object whose open failed does.
#include "conduit/HHDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/HHMeter.h"
#include "conduit/HHReader.h"
#include "conduit/HHRoute.h"
#include "platform/palm/PdbFile.h"
#include "tests/conduit/HandheldFixture.h"

namespace wexal::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class HHDatabaseTest : public HandheldFixture {
  protected:
    // A meter whose record is `size` bytes: 21 empty texts and one long one.
    static void FillMeterToSize(HHMeter& meter, std::size_t size) {
        meter.Clear();
        meter.Message = std::string(size - HHMeter::kTextCount, 'm');
    }
};

TEST_F(HHDatabaseTest, OpenCreatesMissingDatabaseWithCountZero) {
    HHRoute list;
    ASSERT_EQ(list.Open(), 1);
    EXPECT_EQ(list.RecordCount(), 0u);
    list.Close();

    SyncFindDbByNameParams find{};
    find.optFlags = 0x40;
    find.name = "routeDB";
    SyncFindDbResult found{};
    ASSERT_EQ(SyncFindDbByName(&find, &found), 0);
    EXPECT_EQ(palm::FourCCToString(found.creator), "TLWX");
    EXPECT_EQ(palm::FourCCToString(found.type), "DATA");
    EXPECT_EQ(found.version, 0);
    EXPECT_EQ(found.recordCount, 0u);

    PutRecords("routeDB", {Words({1, 0, 0, 0}) + Texts({"A", "", "", "", "R"}),
                           Words({2, 0, 0, 1}) + Texts({"B", "", "", "", "R"})});
    ASSERT_EQ(list.Open(), 1);
    EXPECT_EQ(list.RecordCount(), 2u);
    EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(HHDatabaseTest, RecordsPackNumbersBigEndianThenTextsAndReadBack) {
    HHRoute list;
    ASSERT_EQ(list.Open(), 1);
    list.Clear();
    list.MeterCount = 0x0102;
    list.Word2 = 0;
    list.Word3 = 0xFFFF;
    list.LastIndex = 0x0101;
    list.RouteName = "Route 7";
    list.DownloadStamp = "011230";
    list.Status = "R";
    ASSERT_EQ(list.Write(), 0);
    list.Close();

    const std::string expected = std::string("\x01\x02\x00\x00\xFF\xFF\x01\x01", 8) +
                                 Texts({"Route 7", "011230", "", "", "R"});
    EXPECT_THAT(Records("routeDB"), ElementsAre(expected));

    HHRoute again;
    ASSERT_EQ(again.Open(), 1);
    ASSERT_EQ(again.ReadByIndex(0), 0);
    EXPECT_EQ(again.MeterCount, 0x0102);
    EXPECT_EQ(again.Word3, 0xFFFF);
    EXPECT_EQ(again.LastIndex, 0x0101);
    EXPECT_EQ(again.RouteName, "Route 7");
    EXPECT_EQ(again.DownloadStamp, "011230");
    EXPECT_EQ(again.Text1, "");
    EXPECT_EQ(again.Status, "R");
}

TEST_F(HHDatabaseTest, MeterTextsKeepTheirOrderAndAnEmptyMeterIs22Bytes) {
    HHMeter meter;
    ASSERT_EQ(meter.Open("01"), 1);
    meter.Clear();
    ASSERT_EQ(meter.Write(), 0);

    meter.Clear();
    meter.ServiceUniqueID = "S1";
    meter.Status = "U";
    meter.UserDef = "X";
    ASSERT_EQ(meter.Write(), 0);
    meter.Close();

    const std::vector<std::string> records = Records("route01");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], std::string(22, '\0'));
    EXPECT_EQ(records[1], "S1" + std::string(15, '\0') + "U" + std::string(6, '\0') + "X" +
                              std::string(1, '\0'));
}

// A NUL inside a text would end it early and shift every later text of the
// record (an unread meter's status could then read "R").
TEST_F(HHDatabaseTest, NulInsideATextIsPackedAsABlank) {
    HHMeter meter;
    ASSERT_EQ(meter.Open("01"), 1);
    meter.Clear();
    meter.BillingName = std::string("JONES\0\0\0R", 9);
    meter.Status = "U";
    ASSERT_EQ(meter.Write(), 0);
    meter.Close();

    const std::vector<std::string> records = Records("route01");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], std::string(12, '\0') + "JONES   R" + std::string(3, '\0') + "U" +
                              std::string(7, '\0'));

    ASSERT_EQ(meter.Open("01"), 1);
    ASSERT_EQ(meter.ReadByIndex(0), 0);
    EXPECT_EQ(meter.BillingName, "JONES   R");
    EXPECT_EQ(meter.Status, "U");
}

TEST_F(HHDatabaseTest, RecordOf512BytesIsWrittenAndOf513Refused) {
    HHMeter meter;
    ASSERT_EQ(meter.Open("01"), 1);
    FillMeterToSize(meter, 512);
    ASSERT_EQ(meter.Write(), 0);
    EXPECT_EQ(meter.RecordCount(), 1u);

    FillMeterToSize(meter, 513);
    EXPECT_EQ(meter.Write(), -1);
    EXPECT_EQ(meter.RecordCount(), 1u);
    meter.Close();

    const std::vector<std::string> records = Records("route01");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].size(), 512u);
    EXPECT_THAT(LogLines(), ElementsAre("[22] Overwrote buffer on Meter Pack"));
}

TEST_F(HHDatabaseTest, WriteAfterClearAddsAndAfterReadReplaces) {
    HHMeter meter;
    ASSERT_EQ(meter.Open("01"), 1);
    for (const char* id : {"first", "second"}) {
        meter.Clear();
        meter.ServiceUniqueID = id;
        ASSERT_EQ(meter.Write(), 0);
    }
    EXPECT_EQ(meter.RecordCount(), 2u);

    ASSERT_EQ(meter.ReadByIndex(1), 0);
    EXPECT_EQ(meter.ServiceUniqueID, "second");
    meter.CurReading = "123";
    ASSERT_EQ(meter.Write(), 0);
    EXPECT_EQ(meter.RecordCount(), 2u);
    meter.Close();

    const std::vector<std::string> records = Records("route01");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], Texts({"first"}) + std::string(21, '\0'));
    const std::string replaced = Texts({"second", "", "", "", "", "", "", "", "", "123"});
    EXPECT_EQ(records[1].substr(0, replaced.size()), replaced);
}

TEST_F(HHDatabaseTest, ReadErrorsAreLoggedByMeterAndRouteAndKeepTheFields) {
    HHMeter meter;
    HHRoute list;
    HHReader reader;
    ASSERT_EQ(meter.Open("01"), 1);
    ASSERT_EQ(list.Open(), 1);
    ASSERT_EQ(reader.Open(), 1);
    meter.Status = "R";
    list.RouteName = "kept";
    reader.Word1 = 9;

    EXPECT_EQ(meter.ReadByIndex(3), kSyncErrRecordNotFound);
    EXPECT_EQ(list.ReadByIndex(0), kSyncErrRecordNotFound);
    EXPECT_EQ(reader.ReadByIndex(0), kSyncErrRecordNotFound);
    EXPECT_EQ(meter.Status, "R");
    EXPECT_EQ(list.RouteName, "kept");
    EXPECT_EQ(reader.Word1, 9);
    const std::string code = std::to_string(kSyncErrRecordNotFound);
    EXPECT_THAT(LogLines(), ElementsAre("[22] Error " + code + " occurred reading meter table",
                                        "[22] Error " + code + " occurred reading route table"));
}

TEST_F(HHDatabaseTest, ShortAndUnterminatedRecordsStopAtTheirEnd) {
    PutRecords("routeDB",
               {std::string("\x00\x05\x00", 3), Words({1, 2, 3, 4}) + std::string("ABC", 3),
                Words({1, 2, 3, 4}) + Texts({"01", "stamp"})});
    HHRoute list;
    ASSERT_EQ(list.Open(), 1);

    list.LastIndex = 7;
    list.RouteName = "stale";
    ASSERT_EQ(list.ReadByIndex(0), 0);
    EXPECT_EQ(list.MeterCount, 5);
    EXPECT_EQ(list.Word2, 0);
    EXPECT_EQ(list.LastIndex, 0);
    EXPECT_EQ(list.RouteName, "");

    list.Status = "stale";
    ASSERT_EQ(list.ReadByIndex(1), 0);
    EXPECT_EQ(list.LastIndex, 4);
    EXPECT_EQ(list.RouteName, "ABC");
    EXPECT_EQ(list.DownloadStamp, "");
    EXPECT_EQ(list.Status, "");

    ASSERT_EQ(list.ReadByIndex(2), 0);
    EXPECT_EQ(list.RouteName, "01");
    EXPECT_EQ(list.DownloadStamp, "stamp");
    EXPECT_EQ(list.Text1, "");
    EXPECT_EQ(list.Status, "");
}

// Texts are looked through eight bytes at a time: every length around a
// word, bytes that are close to a NUL in value, and an unterminated text
// longer than a word at the record's end.
TEST_F(HHDatabaseTest, TextsOfEveryLengthAroundAWordReadBackWhole) {
    const std::string bytes =
        "\x01\x80\xFF"
        "AB\x7F"
        "cd\xFE"
        "\x01\x01\x01"
        "\x80\x80\x80"
        "xyz";
    std::vector<std::string> names;
    std::vector<std::string> records;
    for (std::size_t length = 0; length <= 17; ++length) {
        names.push_back(bytes.substr(bytes.size() - length));
        records.push_back(Words({1, 2, 3, 4}) + Texts({names.back(), "\x01", "", "", "R"}));
    }
    records.push_back(Words({1, 2, 3, 4}) + Texts({"01"}) +
                      "\x80\x01"
                      "ABCDEFGHI");
    PutRecords("routeDB", records);
    HHRoute list;
    ASSERT_EQ(list.Open(), 1);
    for (std::size_t index = 0; index < names.size(); ++index) {
        ASSERT_EQ(list.ReadByIndex(static_cast<std::uint16_t>(index)), 0);
        EXPECT_EQ(list.RouteName, names[index]) << "length " << index;
        EXPECT_EQ(list.DownloadStamp, "\x01");
        EXPECT_EQ(list.Status, "R");
    }
    ASSERT_EQ(list.ReadByIndex(static_cast<std::uint16_t>(names.size())), 0);
    EXPECT_EQ(list.RouteName, "01");
    EXPECT_EQ(list.DownloadStamp,
              "\x80\x01"
              "ABCDEFGHI");
    EXPECT_EQ(list.Text1, "");
}

TEST_F(HHDatabaseTest, RecordsLongerThanTheBufferAreCutAt512Bytes) {
    PutRecords("route01", {std::string(600, 'x')});
    HHMeter meter;
    ASSERT_EQ(meter.Open("01"), 1);
    ASSERT_EQ(meter.ReadByIndex(0), 0);
    EXPECT_EQ(meter.ServiceUniqueID, std::string(512, 'x'));
    EXPECT_EQ(meter.MeterTagNbr, "");
}

TEST_F(HHDatabaseTest, RouteNamesThatDifferInCaseAreTwoDatabases) {
    HHMeter lower;
    ASSERT_EQ(lower.Open("north"), 1);
    lower.Clear();
    ASSERT_EQ(lower.Write(), 0);
    lower.Close();

    HHMeter upper;
    ASSERT_EQ(upper.Open("NORTH"), 1);
    EXPECT_EQ(upper.RecordCount(), 0u);
    upper.Close();
    EXPECT_EQ(Records("routenorth").size(), 1u);
    EXPECT_TRUE(Exists("routeNORTH"));
}

TEST_F(HHDatabaseTest, MeterDeleteDBRemovesTheRouteAndIsHarmlessWithout) {
    PutRecords("route01", {Texts({"a"})});
    HHMeter meter;
    EXPECT_EQ(meter.DeleteDB("01"), 1);
    EXPECT_FALSE(Exists("route01"));
    EXPECT_EQ(meter.DeleteDB("01"), 1);
    EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(HHDatabaseTest, RouteNamesTooLongForADatabaseAreRefused) {
    const std::string longest(26, 'a');  // "route" + 26 = 31 characters
    const std::string tooLong(27, 'a');
    HHMeter meter;
    EXPECT_EQ(meter.Open(longest), 1);
    meter.Close();
    EXPECT_TRUE(Exists("route" + longest));

    EXPECT_EQ(meter.Open(tooLong), 0);
    EXPECT_EQ(meter.DeleteDB(tooLong), 0);
    // Cutting the name would have reached the 26-character route's database.
    EXPECT_TRUE(Exists("route" + longest));
    const std::string refused = "[22] Wexal - Route " + tooLong +
                                " has no meter database on the handheld: its name is longer than "
                                "the 26 characters a handheld database name leaves for it";
    EXPECT_THAT(LogLines(), ElementsAre(refused, refused));
}

TEST_F(HHDatabaseTest, MeterOpenFailuresAreLogged) {
    // Every handle of the session in use: finds work, opens and creates fail.
    PutRecords("route01", {Texts({"a"})});
    std::vector<std::uint8_t> handles;
    std::uint8_t handle = 0;
    while (SyncOpenDB("route01", 0, &handle, kSyncModeRead) == 0) {
        handles.push_back(handle);
    }
    HHMeter meter;
    EXPECT_EQ(meter.Open("01"), 0);
    EXPECT_EQ(meter.Open("02"), 0);
    for (std::uint8_t open : handles) {
        SyncCloseDB(open);
    }
    CloseSession();
    EXPECT_EQ(meter.Open("01"), 0);
    ReopenSession();

    EXPECT_THAT(LogLines(), ElementsAre("[22] Opened Failed", "[22] Create Failed",
                                        "[22] Some other error occured during find"));
}

TEST_F(HHDatabaseTest, AnObjectWhoseOpenFailedRefusesEveryRecordCall) {
    CloseSession();
    HHMeter meter;
    HHRoute list;
    EXPECT_EQ(meter.Open("01"), 0);
    EXPECT_EQ(list.Open(), 0);
    ReopenSession();

    EXPECT_EQ(meter.RecordCount(), 0u);
    EXPECT_EQ(meter.Clear(), 0);
    EXPECT_NE(meter.Write(), 0);
    EXPECT_EQ(meter.RecordCount(), 0u);
    EXPECT_NE(meter.ReadByIndex(0), 0);
    EXPECT_NE(meter.Close(), 0);
    EXPECT_NE(list.Write(), 0);
    EXPECT_NE(list.DeleteRecord(), 0);
    EXPECT_NE(list.Close(), 0);
    EXPECT_FALSE(Exists("route01"));
    EXPECT_FALSE(Exists("routeDB"));
}

TEST_F(HHDatabaseTest, ObjectsCloseTheirDatabaseWhenDestroyed) {
    {
        HHMeter meter;
        ASSERT_EQ(meter.Open("01"), 1);
        meter.Clear();
        ASSERT_EQ(meter.Write(), 0);
    }
    // An open database could not be deleted.
    EXPECT_EQ(SyncDeleteDB("route01", 0), 0);
}

}  // namespace
}  // namespace wexal::testing
