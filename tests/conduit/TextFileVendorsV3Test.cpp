// Whole syncs of the NorthStar, OurTown, RAMAR, SCA and USTI interfaces:
// a hand-written route file down to the handheld, readings taken there, and
// the readings lines back, compared character by character.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/conduit/TextFileOffice.h"
#include "tests/conduit/WriteFaults.h"

namespace {

using wexal::testing::FailingWrites;
using wexal::testing::ReadFile;
using wexal::testing::Reading;
using wexal::testing::TextFileOffice;
using wexal::testing::WriteFile;
using Lines = std::vector<std::string>;

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

// The 22 texts of a meter record in record order, from the ones given.
Lines MeterTexts(std::initializer_list<std::pair<std::size_t, std::string>> texts) {
    Lines meter(22);
    for (const auto& [index, text] : texts) {
        meter.at(index) = text;
    }
    return meter;
}

// Indexes of the meter record's texts.
enum Text : std::size_t {
    kService,
    kTag,
    kSerial,
    kType,
    kSequence,
    kDigits,
    kPrevious,
    kMaximum,
    kMinimum,
    kCurrent,
    kDate,
    kTime,
    kName,
    kAddress,
    kMessage,
    kStatus,
    kInitials,
    kCode,
    kResponse,
    kLastDate,
    kReadType,
    kUserDef
};

// ---- NorthStar, interface 36 ----

// 297 characters.
std::string NorthStarRouteLine(const std::string& service, const std::string& maximum) {
    return service +                         // 0-9      service id, route at 2-3
           "W"                               // 10       meter type
           "SER0000042"                      // 11-20    serial number
           "UD"                              // 21-22    user field
           "    "                            // 23-26
           "TAG0000777"                      // 27-36    tag
           "   "                             // 37-39
           "12 ELM ST                     "  // 40-69    address
           "    "                            // 70-73
           + maximum +                       // 74-81    maximum
           "  "                              // 82-83
           "     100"                        // 84-91    minimum
           "   "                             // 92-94
           "JONES MARY          "            // 95-114   name
           + Blanks(45) +                    // 115-159
           "  654321"                        // 160-167  previous
           + Blanks(23) +                    // 168-190
           " 12 "                            // 191-194  sequence
           + Blanks(92) +                    // 195-286
           "DOG       "                      // 287-296  message
           "\r\n";
}

TEST(NorthStarSyncTest, RouteDownAndReadingsBack) {
    TextFileOffice office("NORTHSTAR");
    WriteFile(office.RouteFile(), NorthStarRouteLine("0112345678", "  123456") +
                                      NorthStarRouteLine("0112345679", "        ") +
                                      NorthStarRouteLine("0113000001", "  123456"));
    const Lines finished = {"19  Started with interface NORTHSTAR",
                            "20 Wexal Conduit Finished - NorthStar"};
    EXPECT_EQ(office.Sync(), finished);
    EXPECT_EQ(office.RouteList(), (Lines{"12 2 R", "13 1 R"}));
    const auto meters = office.Meters("12");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0], MeterTexts({{kService, "0112345678"},
                                     {kTag, "TAG0000777"},
                                     {kSerial, "SER0000042"},
                                     {kType, "W"},
                                     {kSequence, "0012"},
                                     {kDigits, "00"},
                                     {kPrevious, "00654321"},
                                     {kMaximum, "00123456"},
                                     {kMinimum, "00000100"},
                                     {kName, "JONES MARY"},
                                     {kAddress, "12 ELM ST"},
                                     {kMessage, "DOG"},
                                     {kStatus, "U"},
                                     {kReadType, "S"},
                                     {kUserDef, "UD"}}));
    EXPECT_EQ(meters[1][kType], "D");  // no maximum: a demand meter

    office.TakeReadings("12", {{.current = "000123", .date = "240315", .time = "0930"},
                               {.current = "42", .date = "240316"}});
    WriteFile(office.RouteFile(), NorthStarRouteLine("0114000001", "  123456"));
    EXPECT_EQ(office.Sync(), finished);

    const std::string expected =
        "0112345678"  // 0-9      service id
        "W"           // 10       meter type
        "SER0000042"  // 11-20    serial number
        "UD"          // 21-22    user field
        "    "        // 23-26
        "0315"        // 27-30    date MMDD
        "123       "  // 31-40    reading
        "0012"        // 41-44    sequence
        "  "          // 45-46
        "0012"        // 47-50    sequence again
        "        "    // 51-58
        "\r\n"
        "0112345679"  // the demand meter
        "D"
        "SER0000042"
        "UD"
        "    "
        "0316"
        "42        "
        "0012"
        "  "
        "0012"
        "        "
        "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), expected);
    EXPECT_EQ(office.RouteList(), (Lines{"13 1 R", "14 1 R"}));
}

// ---- OurTown, interface 17 ----

// 174 characters.
std::string OurTownRouteLine(const std::string& route, const std::string& sequence,
                             const std::string& account) {
    return "        "              // 0-7
           "JONES MARY          "  // 8-27     name
           "12 ELM ST           "  // 28-47    address
           + Blanks(19) +          // 48-66
           "SER0000042"            // 67-76    serial number
           "  0123456"             // 77-85    maximum
           "      100"             // 86-94    minimum
           "000654321"             // 95-103   previous
           + Blanks(16) +          // 104-119
           route +                 // 120-121  service id: route,
           sequence +              // 122-124  sequence,
           "00000"                 // 125-129
           + account +             // 130-134  account
           "        "              // 135-142
           " "                     // 143      meter type
           + Blanks(20) +          // 144-163
           "TAG0000777"            // 164-173  tag
           "\r\n";
}

TEST(OurTownSyncTest, RouteDownAndReadingsBack) {
    TextFileOffice office("OURTOWN");
    // The empty line carries no meter: route 12 has two, not three.
    WriteFile(office.RouteFile(), OurTownRouteLine("12", "001", "ACCT1") + "\r\n" +
                                      OurTownRouteLine("12", "002", "ACCT2"));
    const Lines finished = {"19  Started with interface OURTOWN",
                            "20 Wexal Conduit Finished - Our Town Software"};
    EXPECT_EQ(office.Sync(), finished);
    EXPECT_EQ(office.RouteList(), (Lines{"12 2 R"}));
    const auto meters = office.Meters("12");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[1], MeterTexts({{kService, "1200200000ACCT2"},
                                     {kTag, "TAG0000777"},
                                     {kSerial, "SER0000042"},
                                     {kType, "W"},
                                     {kSequence, "0002"},
                                     {kDigits, "00"},
                                     {kPrevious, "000654321"},
                                     {kMaximum, "000123456"},
                                     {kMinimum, "000000100"},
                                     {kName, "JONES MARY"},
                                     {kAddress, "12 ELM ST"},
                                     {kStatus, "U"},
                                     {kReadType, "S"},
                                     {kUserDef, "ACCT2"}}));

    office.TakeReadings("12", {{.current = "12345", .date = "240315", .time = "0930"},
                               {.current = "1234567890", .date = "240316"}});
    WriteFile(office.RouteFile(), OurTownRouteLine("13", "001", "ACCT3"));
    // The reading too long for its nine columns is written cut, and said so.
    EXPECT_EQ(office.Sync(),
              (Lines{"19  Started with interface OURTOWN",
                     "22 Wexal - Service 1200200000ACCT2: reading 1234567890 does not fit its "
                     "column, written cut",
                     "20 Wexal Conduit Finished - Our Town Software"}));

    const auto line = [](const std::string& current, const std::string& service,
                         const std::string& date) {
        return "        "              // 0-7
               "JONES MARY          "  // 8-27     name
               "12 ELM ST           "  // 28-47    address
               + Blanks(19) +          // 48-66
               "SER0000042"            // 67-76    serial number
               "000123456"             // 77-85    maximum
               "000000100"             // 86-94    minimum
               + current +             // 95-103   current
               Blanks(16) +            // 104-119
               service +               // 120-134  service id
               date +                  // 135-142  date
               Blanks(21) +            // 143-163
               "TAG0000777"            // 164-173  tag
               + Blanks(80) +          // 174-253
               "\r\n";
    };
    EXPECT_EQ(ReadFile(office.Readings()), line("12345    ", "1200100000ACCT1", "03/15/24") +
                                               line("123456789", "1200200000ACCT2", "03/16/24"));
}

// ---- RAMAR, interface 25 ----

// 245 characters.
std::string RAMARRouteLine(const std::string& route, const std::string& service) {
    return " "                         // 0
           + route +                   // 1-4      route
           Blanks(27) +                // 5-31
           "JONES MARY          "      // 32-51    name
           "            "              // 52-63
           "12 ELM ST               "  // 64-87    address
           " SER0042"                  // 88-95    serial number
           + Blanks(48) +              // 96-143
           service +                   // 144-160  service id
           "GATE CODE 1234 "           // 161-175  message (159-178)
           "   12345"                  // 176-183  tag
           + Blanks(47) +              // 184-230
           "  4321"                    // 231-236  previous
           "20240301"                  // 237-244  last read date
           "\r\n";
}

TEST(RAMARSyncTest, RouteDownAndReadingsBack) {
    TextFileOffice office("RAMAR");
    WriteFile(office.RouteFile(), RAMARRouteLine(" 042", "ACCT0012345      ") +
                                      RAMARRouteLine(" 042", "ACCT0012346      "));
    const Lines finished = {"19  Started with interface RAMAR",
                            "20 Wexal Conduit Finished - RAMAR"};
    EXPECT_EQ(office.Sync(), finished);
    // The blank in the route column became a zero everywhere.
    EXPECT_EQ(office.RouteList(), (Lines{"0042 2 R"}));
    const auto meters = office.Meters("0042");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0], MeterTexts({{kService, "ACCT0012345"},
                                     {kTag, "00012345"},
                                     {kSerial, " SER0042"},
                                     {kType, "W"},
                                     {kSequence, "0000"},
                                     {kDigits, "06"},
                                     {kPrevious, "004321"},
                                     {kName, "JONES MARY"},
                                     {kAddress, "12 ELM ST"},
                                     {kMessage, "  GATE CODE 1234"},
                                     {kStatus, "U"},
                                     {kLastDate, "240301"},
                                     {kReadType, "S"}}));

    office.TakeReadings("0042",
                        {{.status = "U"}, {.current = "4400", .date = "240315", .time = "0930"}});
    WriteFile(office.RouteFile(), RAMARRouteLine("0043", "ACCT0012347      "));
    EXPECT_EQ(office.Sync(), finished);

    const std::string expected =
        " "                          // 0
        "0042"                       // 1-4      route
        + Blanks(27) +               // 5-31
        "JONES MARY          "       // 32-51    name
        "            "               // 52-63
        "12 ELM ST                "  // 64-88    address
        + Blanks(55) +               // 89-143
        "ACCT0012346      "          // 144-160  service id
        + Blanks(15) +               // 161-175
        "00012345"                   // 176-183  tag
        + Blanks(31) +               // 184-214
        "20240315000930"             // 215-228  date and time
        "0000004400"                 // 229-238  reading
        + Blanks(17) +               // 239-255
        "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), expected);
    EXPECT_EQ(office.RouteList(), (Lines{"0043 1 R"}));
}

// ---- SCA, interface 35 ----

// 186 characters, six-digit readings.
std::string SCARouteLine(const std::string& service, const std::string& route) {
    return service +                         // 0-15     service id, meter type at 13
           "JONES MARY                    "  // 16-45    name
           "12 ELM ST                     "  // 46-75    address
           "BEWARE OF DOG                 "  // 76-105   message
           "    "                            // 106-109
           "054321"                          // 110-115  previous
           "          "                      // 116-125
           "03152024"                        // 126-133  last read date MMDD20YY
           "SER00042"                        // 134-141  serial number
           "  "                              // 142-143
           + route +                         // 144-146  route
           "  "                              // 147-148
           "0042"                            // 149-152  sequence
           "    "                            // 153-156
           "   100"                          // 157-162  minimum
           "    "                            // 163-166
           "123456"                          // 167-172  maximum
           "    777777"                      // 173-182  tag
           "R"                               // 183      read type
           "06"                              // 184-185  digits
           "\r\n";
}

TEST(SCASyncTest, RouteDownAndReadingsBack) {
    TextFileOffice office("SCA");
    WriteFile(office.RouteFile(), SCARouteLine("0000000000123W45", "R01"));
    const Lines finished = {"19  Started with interface SCA", "20 Wexal Conduit Finished - SCA"};
    EXPECT_EQ(office.Sync(), finished);
    EXPECT_EQ(office.RouteList(), (Lines{"R01 1 R"}));
    const auto meters = office.Meters("R01");
    ASSERT_EQ(meters.size(), 1u);
    EXPECT_EQ(meters[0], MeterTexts({{kService, "0000000000123W45"},
                                     {kTag, "000000777777"},
                                     {kSerial, "SER00042"},
                                     {kType, "W"},
                                     {kSequence, "0042"},
                                     {kDigits, "06"},
                                     {kPrevious, "054321"},
                                     {kMaximum, "123456"},
                                     {kMinimum, "000100"},
                                     {kName, "JONES MARY"},
                                     {kAddress, "12 ELM ST"},
                                     {kMessage, "BEWARE OF DOG"},
                                     {kStatus, "U"},
                                     {kLastDate, "240315"},
                                     {kReadType, "R"}}));

    office.TakeReadings("R01", {{.status = "E",
                                 .current = "55555",
                                 .date = "240316",
                                 .time = "0930",
                                 .responseCode = "07",
                                 .responseText = "GATE LOCKED  "}});
    WriteFile(office.RouteFile(), SCARouteLine("0000000000124W45", "R02"));
    EXPECT_EQ(office.Sync(), finished);

    const std::string expected =
        "0000000000123W45"                // 0-15     service id
        "JONES MARY                    "  // 16-45    name
        "12 ELM ST                     "  // 46-75    address
        "BEWARE OF DOG                 "  // 76-105   message
        " "                               // 106
        "   054321"                       // 107-115  previous
        "     55555"                      // 116-125  current
        "03162024"                        // 126-133  date MMDD20YY
        "SER00042  "                      // 134-143  serial number
        "R01"                             // 144-146  route
        "000042"                          // 147-152  sequence
        " "                               // 153
        "    000100"                      // 154-163  minimum
        "   123456"                       // 164-172  maximum
        "0000777777"                      // 173-182  tag
        "R"                               // 183      read type
        "06"                              // 184-185  digits
        "07"                              // 186-187  response code
        "GATE LOCKED"                     // 188-247  response text
        + Blanks(49) + "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), expected);
    // The meter marked on the handheld was captured as well.
    EXPECT_EQ(ReadFile(office.Exceptions()).size(), 370u);
}

// ---- USTI, interface 11 ----

// 192 characters, six-digit readings.
std::string USTIRouteLine(const std::string& route, const std::string& meterId,
                          const std::string& current) {
    return route +                           // 0-2      route
           "ACCOUNT 0042    "                // 3-18     account
           + meterId +                       // 19-34    meter id
           "12 ELM ST           "            // 35-54    address
           "BEWARE OF DOG                 "  // 55-84    message
           + Blanks(14) +                    // 85-98
           "200000"                          // 99-104   maximum
           "    "                            // 105-108
           "000100"                          // 109-114  minimum
           "    "                            // 115-118
           "150000"                          // 119-124  previous
           "06"                              // 125-126  digits
           "    "                            // 127-130
           + current +                       // 131-136  current
           Blanks(12) +                      // 137-148
           "07"                              // 149-150  response code
           "S"                               // 151      service
           "JONES MARY                    "  // 152-181  name
           "WATER     "                      // 182-191  meter type
           "\r\n";
}

TEST(USTISyncTest, RouteDownAndReadingsBack) {
    TextFileOffice office("USTI");
    WriteFile(office.RouteFile(), USTIRouteLine("R01", "12345:D         ", "149000") +
                                      USTIRouteLine("R01", "METER123        ", "      ") +
                                      USTIRouteLine("R02", "METER124        ", "      "));
    const Lines noReadings = {"19  Started with interface USTI",
                              "22 Wexal conduit - No readings to upload",
                              "20 Wexal Conduit Finished - USTI"};
    EXPECT_EQ(office.Sync(), noReadings);
    EXPECT_EQ(office.RouteList(), (Lines{"R01 2 R", "R02 1 R"}));
    const auto meters = office.Meters("R01");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0],
              MeterTexts({{kService, "S"},
                          {kTag, "000000012345"},
                          {kSerial, "12345:D"},
                          {kType, "WATER"},
                          {kSequence, "001"},
                          {kDigits, "06"},
                          {kPrevious, "150000"},
                          {kMaximum, "200000"},
                          {kMinimum, "000100"},
                          {kCurrent, "149000"},
                          {kName, "JONES MARY" + Blanks(20) + "ACCOUNT 0042" + Blanks(18)},
                          {kAddress, "12 ELM ST"},
                          {kMessage, "BEWARE OF DOG"},
                          {kStatus, "U"},
                          {kReadType, "P"}}));
    EXPECT_EQ(meters[1][kSequence], "002");
    EXPECT_EQ(meters[1][kTag], "");
    EXPECT_EQ(meters[1][kReadType], "S");
    // Numbering starts again with every route.
    EXPECT_EQ(office.Meters("R02").at(0)[kSequence], "001");

    office.TakeReadings(
        "R01", {{.current = "151234", .date = "240315", .time = "0930", .responseCode = "07"},
                {.status = "E", .current = "77", .date = "240316", .time = "101500"}});
    WriteFile(office.RouteFile(), USTIRouteLine("R03", "METER125        ", "      "));
    EXPECT_EQ(office.Sync(),
              (Lines{"19  Started with interface USTI", "20 Wexal Conduit Finished - USTI"}));

    const auto line = [](const std::string& meterId, const std::string& current,
                         const std::string& dateAndTime, const std::string& code) {
        return "R01"                             // 0-2      route
               "ACCOUNT 0042    "                // 3-18     account
               + meterId +                       // 19-34    meter id (the handheld's tag)
               "12 ELM ST           "            // 35-54    address
               "BEWARE OF DOG                 "  // 55-84    message
               + Blanks(10) +                    // 85-94
               "0000200000"                      // 95-104   maximum
               "0000000100"                      // 105-114  minimum
               "0000150000"                      // 115-124  previous
               "06"                              // 125-126  digits
               + current +                       // 127-136  current
               dateAndTime +                     // 137-148  date, time
               code +                            // 149-150  response code
               "S"                               // 151      service
               " "                               // 152
               "JONES MARY                    "  // 153-182  name
               + Blanks(9) +                     // 183-191  meter type: not handed over
               "\r\n";
    };
    EXPECT_EQ(ReadFile(office.Readings()),
              line("000000012345    ", "0000151234", "2403150930  ", "07") +
                  line(Blanks(16), "0000000077", "240316101500", "  "));
}

// A meter the handheld refused keeps its number: the next meter is numbered
// by its own place in the route.
TEST(USTISyncTest, MetersAreNumberedByTheirPlaceInTheRoute) {
    TextFileOffice office("USTI");
    WriteFile(office.RouteFile(), USTIRouteLine("R01", "METER001        ", "      ") +
                                      USTIRouteLine("R01", "METER002        ", "      ") +
                                      USTIRouteLine("R01", "METER003        ", "      "));
    {
        FailingWrites refused("routeR01", 1, /*refuseCreate=*/false, /*refused=*/1);
        office.Sync();
    }
    const auto meters = office.Meters("R01");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0][kSerial], "METER001");
    EXPECT_EQ(meters[0][kSequence], "001");
    EXPECT_EQ(meters[1][kSerial], "METER003");
    EXPECT_EQ(meters[1][kSequence], "003");
}

TEST(USTISyncTest, UnsortedRouteFileStopsTheSync) {
    TextFileOffice office("USTI");
    WriteFile(office.RouteFile(), USTIRouteLine("R02", "METER124        ", "      ") +
                                      USTIRouteLine("R01", "METER123        ", "      "));
    std::int32_t result = 1;
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface USTI", "22 Wexal conduit - No readings to upload",
                     "22 Wexal - Download file is not sequenced by route. Line = 1"}));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(office.RouteList().empty());
}

TEST(SCASyncTest, UnsortedRouteFileNamesBothRoutes) {
    TextFileOffice office("SCA");
    WriteFile(office.RouteFile(),
              SCARouteLine("0000000000123W45", "R02") + SCARouteLine("0000000000124W45", "R01"));
    const Lines log = office.Sync();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(),
              "22 Wexal - Download file is not sequenced by route. Line = 1 R02 is > R01");
}

TEST(USTISyncTest, NothingToUploadIsSaidOnce) {
    TextFileOffice office("USTI");
    WriteFile(office.RouteFile(), "");
    office.Sync();
    // A route handed back without meters still counts as uploaded.
    office.Bed().BeginSession();
    WexalConduit conduit;
    conduit.UpdateRoute("R09", 0, "U");
    EXPECT_EQ(conduit.UploadUSTI(office.Readings().string(), 0, ""), 0);
    office.Bed().EndSession();
    const Lines log = office.Bed().LogLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "22 Wexal conduit - No readings to upload"), 1);
    EXPECT_EQ(office.RouteList(), (Lines{"R09 0 N"}));
    EXPECT_EQ(ReadFile(office.Readings()), "");
}

}  // namespace
