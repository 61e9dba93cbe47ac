// Whole syncs for AVR, Incode, IncodeCMS, Custom1 and DataPointe: a route
// file written by hand goes down to the handheld, the reader's readings come
// back as the vendor's readings lines, compared character by character.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/conduit/TextFileOffice.h"

namespace {

using wexal::testing::ReadFile;
using wexal::testing::Reading;
using wexal::testing::TextFileOffice;
using wexal::testing::WriteFile;
using Lines = std::vector<std::string>;

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

// The same line with `text` over its columns from `column` on.
std::string Changed(std::string line, std::size_t column, const std::string& text) {
    return line.replace(column, text.size(), text);
}

Lines StartAndFinish(const std::string& interface, const std::string& vendor) {
    return {"19  Started with interface " + interface, "20 Wexal Conduit Finished - " + vendor};
}

// One exceptions-capture line per captured meter.
std::size_t CapturedMeters(const TextFileOffice& office) {
    if (!std::filesystem::exists(office.Exceptions())) {
        return 0;
    }
    return ReadFile(office.Exceptions()).size() / 370;
}

// Indexes of the meter record's texts.
enum MeterText : std::size_t {
    kService = 0,
    kTag = 1,
    kSerial = 2,
    kType = 3,
    kSequence = 4,
    kDigits = 5,
    kPrevious = 6,
    kMaximum = 7,
    kMinimum = 8,
    kCurrent = 9,
    kStatus = 15,
    kLastDate = 19,
    kReadType = 20,
    kUserDef = 21,
};

TEST(IncodeSyncTest, DemandReadingGoesBackInTenThousandths) {
    TextFileOffice office("INCODE");
    const std::string water =
        "0000000000000000001"             // 0-18     service id
        "SMITH JOHN                    "  // 19-48    name
        "12 ELM ST                     "  // 49-78    address
        "                              "  // 79-108   message
        " "                               // 109      D mark
        "W"                               // 110      meter type
        "TAG000000001"                    // 111-122  tag
        "                      "          // 123-144
        "   200000"                       // 145-153  maximum
        "      100"                       // 154-162  minimum
        "        "                        // 163-170
        "R1  "                            // 171-174  route
        " "                               // 175
        "000001"                          // 176-181  sequence
        "06"                              // 182-183  digits
        "   150000";                      // 184-192  previous
    const std::string demand =
        "0000000000000000002"             // 0-18     service id
        "JONES MARY                    "  // 19-48    name
        "14 ELM ST                     "  // 49-78    address
        "DEMAND                        "  // 79-108   message
        "D"                               // 109      D mark
        "K"                               // 110      meter type
        "TAG000000002"                    // 111-122  tag
        "                      "          // 123-144
        "   009000"                       // 145-153  maximum
        "   000010"                       // 154-162  minimum
        "        "                        // 163-170
        "R1  "                            // 171-174  route
        " "                               // 175
        "000002"                          // 176-181  sequence
        "06"                              // 182-183  digits
        "   000500";                      // 184-192  previous
    ASSERT_EQ(water.size(), 193u);
    ASSERT_EQ(demand.size(), 193u);
    WriteFile(office.RouteFile(), water + "\r\n" + demand + "\r\n");

    EXPECT_EQ(office.Sync(), StartAndFinish("INCODE", "Incode"));
    EXPECT_EQ(office.RouteList(), (Lines{"R1 2 R"}));
    const auto meters = office.Meters("R1");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0][kService], "0000000000000000001");
    EXPECT_EQ(meters[0][kTag], "TAG000000001");
    EXPECT_EQ(meters[0][kSerial], "");
    EXPECT_EQ(meters[0][kType], "W");
    EXPECT_EQ(meters[0][kSequence], "0001");
    EXPECT_EQ(meters[0][kPrevious], "150000");
    EXPECT_EQ(meters[0][kMinimum], "   100");
    EXPECT_EQ(meters[1][kType], "D");
    EXPECT_EQ(meters[1][kMaximum], "009000");

    office.TakeReadings("R1",
                        {{.current = "12345", .date = "240315", .time = "0930", .initials = "AB"},
                         {.status = "E",
                          .current = "12.5",
                          .date = "240316",
                          .time = "101500",
                          .initials = "CD",
                          .responseCode = "01",
                          .responseText = "Dog"}});
    WriteFile(office.RouteFile(), Changed(water, 171, "R2") + "\r\n");
    EXPECT_EQ(office.Sync(), StartAndFinish("INCODE", "Incode"));

    const std::string expected =
        "0000000000000000001"             // 0-18     service id
        " W"                              // 19-20    type mark
        "SMITH JOHN                    "  // 21-50    name
        "12 ELM ST                     "  // 51-80    address
        "     "                           // 81-85
        "031524"                          // 86-91    date
        "    12345"                       // 92-100   reading
        "AB        "                      // 101-110  initials
        "000930"                          // 111-116  time
        "TAG000000001"                    // 117-128  tag
        "        "                        // 129-136
        "  "                              // 137-138  response code
        "\r\n"
        "0000000000000000002"             // 0-18     service id
        "DE"                              // 19-20    type mark
        "JONES MARY                    "  // 21-50    name
        "14 ELM ST                     "  // 51-80    address
        "     "                           // 81-85
        "031624"                          // 86-91    date
        "000125000"                       // 92-100   reading in ten-thousandths
        "CD        "                      // 101-110  initials
        "101500"                          // 111-116  time
        "TAG000000002"                    // 117-128  tag
        "        "                        // 129-136
        "01"                              // 137-138  response code
        "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), expected);
    EXPECT_EQ(CapturedMeters(office), 1u);
    // The handheld's record keeps the reading as it was taken.
    EXPECT_EQ(office.Meters("R1")[1][kCurrent], "12.5");
    EXPECT_EQ(office.RouteList(), (Lines{"R2 1 R"}));
}

TEST(IncodeCMSSyncTest, MeterTypeRTravelsAsEAndComesBackAsR) {
    TextFileOffice office("CMS");
    const std::string register_ =
        "100000000000"          // 0-11     service id ...
        "00001"                 // 12-16    ... ending in the sequence
        "TAG00001"              // 17-24    tag
        "12 ELM ST         "    // 25-42    address
        "R"                     // 43       meter type
        "    200000"            // 44-53    maximum
        "      100"             // 54-62    minimum
        "SMITH JOHN          "  // 63-82    name
        "                    "  // 83-102   message
        "             150000"   // 103-121  previous
        " "                     // 122      D mark
        "R1  "                  // 123-126  route
        "06";                   // 127-128  digits
    const std::string demand =
        "100000000000"          // 0-11     service id ...
        "00002"                 // 12-16    ... ending in the sequence
        "TAG00002"              // 17-24    tag
        "14 ELM ST         "    // 25-42    address
        "W"                     // 43       meter type
        "    009000"            // 44-53    maximum
        "      010"             // 54-62    minimum
        "JONES MARY          "  // 63-82    name
        "                    "  // 83-102   message
        "             000500"   // 103-121  previous
        "D"                     // 122      D mark
        "R1  "                  // 123-126  route
        "06";                   // 127-128  digits
    ASSERT_EQ(register_.size(), 129u);
    ASSERT_EQ(demand.size(), 129u);
    WriteFile(office.RouteFile(), register_ + "\r\n" + demand + "\r\n");

    EXPECT_EQ(office.Sync(), StartAndFinish("CMS", "Incode-CMS"));
    EXPECT_EQ(office.RouteList(), (Lines{"R1 2 R"}));
    const auto meters = office.Meters("R1");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0][kService], "10000000000000001");
    EXPECT_EQ(meters[0][kSequence], "0001");
    EXPECT_EQ(meters[0][kType], "E");
    EXPECT_EQ(meters[0][kSerial], "");
    EXPECT_EQ(meters[0][kPrevious], "150000");
    EXPECT_EQ(meters[1][kType], "D");
    EXPECT_EQ(meters[1][kMinimum], "   010");

    office.TakeReadings("R1", {{.current = "12345",
                                .date = "240315",
                                .time = "0930",
                                .initials = "ABCDE",
                                .responseCode = "07"},
                               {.current = "4711",
                                .date = "240316",
                                .time = "101500",
                                .initials = "CD",
                                .responseCode = "012"}});
    WriteFile(office.RouteFile(), Changed(register_, 123, "R2") + "\r\n");
    EXPECT_EQ(office.Sync(), StartAndFinish("CMS", "Incode-CMS"));

    const std::string expected =
        "10000000000000001"  // 0-16    service id
        "00000012345"        // 17-27   reading
        "TAG00001"           // 28-35   tag
        "031524"             // 36-41   date
        "R"                  // 42      meter type
        "07 "                // 43-45   response code
        "000930"             // 46-51   time
        "ABCD"               // 52-55   initials
        "\r\n"
        "10000000000000002"  // 0-16    service id
        "00000004711"        // 17-27   reading
        "TAG00002"           // 28-35   tag
        "031624"             // 36-41   date
        "D"                  // 42      meter type
        "012"                // 43-45   response code
        "101500"             // 46-51   time
        "CD  "               // 52-55   initials
        "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), expected);
    EXPECT_EQ(CapturedMeters(office), 0u);
}

TEST(AVRSyncTest, EveryUploadedRouteStartsWithItsHeaderLine) {
    TextFileOffice office("AVR");
    const std::string first =
        "A"                                         // 0        record kind
        "01"                                        // 1-2      route
        "0001"                                      // 3-6      sequence
        "     "                                     // 7-11
        "100000000000001"                           // 12-26    service id
        " "                                         // 27
        "SMITH JOHN          "                      // 28-47    name
        " "                                         // 48
        "12 ELM ST           "                      // 49-68    address
        "TAG0000001"                                // 69-78    tag
        "                      "                    // 79-100
        "000150000"                                 // 101-109  previous
        "         "                                 // 110-118
        "   200000"                                 // 119-127  maximum
        "   000100"                                 // 128-136  minimum
        "     "                                     // 137-141
        "                                        "  // 142-181  message
        "       "                                   // 182-188
        "SN00000001";                               // 189-198  serial
    const std::string second =
        "A"                                         // 0        record kind
        "01"                                        // 1-2      route
        "0002"                                      // 3-6      sequence
        "     "                                     // 7-11
        "100000000000002"                           // 12-26    service id
        " "                                         // 27
        "JONES MARY          "                      // 28-47    name
        " "                                         // 48
        "14 ELM ST           "                      // 49-68    address
        "TAG0000002"                                // 69-78    tag
        "                      "                    // 79-100
        "000000500"                                 // 101-109  previous
        "         "                                 // 110-118
        "   009000"                                 // 119-127  maximum
        "   000010"                                 // 128-136  minimum
        "     "                                     // 137-141
        "GATE CODE 1234                          "  // 142-181  message
        "       "                                   // 182-188
        "SN00000002";                               // 189-198  serial
    ASSERT_EQ(first.size(), 199u);
    ASSERT_EQ(second.size(), 199u);
    const std::string third = Changed(Changed(first, 1, "02"), 12, "100000000000003");
    WriteFile(office.RouteFile(),
              "H01 ROUTE FILE\r\n" + first + "\r\n" + second + "\r\n" + third + "\r\nT 3\r\n");

    EXPECT_EQ(office.Sync(), StartAndFinish("AVR", "AVR"));
    EXPECT_EQ(office.RouteList(), (Lines{"01 2 R", "02 1 R"}));
    const auto meters = office.Meters("01");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0][kService], "100000000000001");
    EXPECT_EQ(meters[0][kTag], "TAG0000001");
    EXPECT_EQ(meters[0][kSerial], "SN00000001");
    EXPECT_EQ(meters[0][kType], "W");
    EXPECT_EQ(meters[0][kDigits], "06");
    EXPECT_EQ(meters[0][kPrevious], "150000");
    EXPECT_EQ(meters[0][kMaximum], "200000");
    EXPECT_EQ(meters[1][kDigits], "05");
    EXPECT_EQ(meters[1][kPrevious], "00500");
    EXPECT_EQ(meters[1][kMinimum], "00010");
    EXPECT_EQ(meters[1][14], "GATE CODE 1234");

    office.TakeReadings("01",
                        {{.current = "12345", .date = "240315", .time = "0930", .initials = "AB"},
                         {.status = "U"}});
    // Nothing read on route 02: its header is written all the same.
    office.TakeReadings("02", {{.status = "U"}});
    WriteFile(office.RouteFile(), Changed(first, 1, "03") + "\r\n");
    EXPECT_EQ(office.Sync(), StartAndFinish("AVR", "AVR"));

    const std::string expected = "H01" + Blanks(285) + "\r\n" +
                                 "A"                     // 0        record kind
                                 "01"                    // 1-2      route
                                 "0001"                  // 3-6      sequence
                                 "     "                 // 7-11
                                 "100000000000001"       // 12-26    service id
                                 " "                     // 27
                                 "SMITH JOHN          "  // 28-47    name
                                 " "                     // 48
                                 "12 ELM ST           "  // 49-68    address
                                 "SN00000001"            // 69-78    serial
                                 " "                     // 79
                                 "240315"                // 80-85    date
                                 "000930"                // 86-91    time
                                 "000000001"             // 92-100
                                 "         "             // 101-109
                                 "    12345"             // 110-118  reading
                                 + Blanks(66) +          // 119-184
                                 "1"                     // 185
                                 " "                     // 186
                                 "05"                    // 187-188
                                 "TAG0000001"            // 189-198  tag
                                 "    "                  // 199-202
                                 "AB   "                 // 203-207  initials
                                 " "                     // 208
                                 "  "                    // 209-210  response code
                                 + Blanks(77) +          // 211-287
                                 "\r\n" + "H02" + Blanks(285) + "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), expected);
    EXPECT_EQ(CapturedMeters(office), 0u);
    EXPECT_EQ(office.RouteList(), (Lines{"03 1 R"}));
}

TEST(Custom1SyncTest, EmptyLinesAddNoMeterAndALongReadingIsLogged) {
    TextFileOffice office("CUSTOM1");
    const std::string first = "0001"                         // 0-3      route
                              + Blanks(12) +                 // 4-15
                              "0001"                         // 16-19    sequence
                              + Blanks(7) +                  // 20-26
                              "6"                            // 27       digits
                              "    00000001"                 // 28-39    tag, serial from 32
                              + Blanks(48) +                 // 40-87
                              "99999"                        // 88-92    maximum
                              + Blanks(5) +                  // 93-97
                              "  100"                        // 98-102   minimum
                              + Blanks(59) +                 // 103-161
                              "54321"                        // 162-166  previous
                              + Blanks(5) +                  // 167-171
                              "240301"                       // 172-177  last reading date
                              "12 ELM ST               "     // 178-201  address
                              "SMITH JOHN              "     // 202-225  name
                              + Blanks(21) +                 // 226-246
                              "                          "   // 247-272  message
                              + Blanks(224) +                // 273-496
                              "1000000001";                  // 497-506  service id
    const std::string second = "0001"                        // 0-3      route
                               + Blanks(12) +                // 4-15
                               "0002"                        // 16-19    sequence
                               + Blanks(7) +                 // 20-26
                               "5"                           // 27       digits
                               "AB  00000002"                // 28-39    tag, serial from 32
                               + Blanks(48) +                // 40-87
                               "09000"                       // 88-92    maximum
                               + Blanks(5) +                 // 93-97
                               "00010"                       // 98-102   minimum
                               + Blanks(59) +                // 103-161
                               "00500"                       // 162-166  previous
                               + Blanks(5) +                 // 167-171
                               "240302"                      // 172-177  last reading date
                               "14 ELM ST               "    // 178-201  address
                               "JONES MARY              "    // 202-225  name
                               + Blanks(21) +                // 226-246
                               "BEWARE OF DOG             "  // 247-272  message
                               + Blanks(224) +               // 273-496
                               "1000000002";                 // 497-506  service id
    ASSERT_EQ(first.size(), 507u);
    ASSERT_EQ(second.size(), 507u);
    WriteFile(office.RouteFile(), first + "\r\n\r\n" + second + "\r\n\r\n");

    EXPECT_EQ(office.Sync(), StartAndFinish("CUSTOM1", "Custom 1"));
    EXPECT_EQ(office.RouteList(), (Lines{"0001 2 R"}));
    const auto meters = office.Meters("0001");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0][kService], "1000000001");
    EXPECT_EQ(meters[0][kTag], "000000000001");
    EXPECT_EQ(meters[0][kSerial], "00000001");
    EXPECT_EQ(meters[0][kDigits], "06");
    EXPECT_EQ(meters[0][kMinimum], "00100");
    EXPECT_EQ(meters[0][kLastDate], "240301");
    EXPECT_EQ(meters[1][kService], "1000000002");
    EXPECT_EQ(meters[1][kTag], "AB0000000002");
    EXPECT_EQ(meters[1][kDigits], "05");

    office.TakeReadings("0001", {{.current = "123456", .date = "240315", .time = "0930"},
                                 {.status = "E",
                                  .current = "777",
                                  .date = "240316",
                                  .responseCode = "01",
                                  .responseText = "Dog"}});
    WriteFile(office.RouteFile(), Changed(first, 0, "0002") + "\r\n");
    EXPECT_EQ(office.Sync(),
              (Lines{"19  Started with interface CUSTOM1",
                     "22 Wexal - Service 1000000001: reading 123456 does not fit its column, "
                     "written cut",
                     "20 Wexal Conduit Finished - Custom 1"}));

    const std::string expected = "0001"          // 0-3      route
                                 + Blanks(8) +   // 4-11
                                 "0000"          // 12-15
                                 "0001"          // 16-19    sequence
                                 + Blanks(7) +   // 20-26
                                 "6"             // 27       digits
                                 "000000000001"  // 28-39    tag
                                 + Blanks(28) +  // 40-67
                                 "23456"         // 68-72    reading, its last five digits
                                 + Blanks(15) +  // 73-87
                                 "99999"         // 88-92    maximum
                                 + Blanks(5) +   // 93-97
                                 "00100"         // 98-102   minimum
                                 + Blanks(32) +  // 103-134
                                 "031524"        // 135-140  date
                                 + Blanks(26) +  // 141-166
                                 "54321"         // 167-171  previous
                                 + Blanks(6) +   // 172-177
                                 "12 ELM ST               "  // 178-201  address
                                 "SMITH JOHN              "  // 202-225  name
                                 + Blanks(271) +             // 226-496
                                 "1000000001"                // 497-506  service id
                                 "\r\n"
                                 "0001"                      // 0-3      route
                                 + Blanks(8) +               // 4-11
                                 "0000"                      // 12-15
                                 "0002"                      // 16-19    sequence
                                 + Blanks(7) +               // 20-26
                                 "5"                         // 27       digits
                                 "AB0000000002"              // 28-39    tag
                                 + Blanks(28) +              // 40-67
                                 "777  "                     // 68-72    reading
                                 + Blanks(15) +              // 73-87
                                 "09000"                     // 88-92    maximum
                                 + Blanks(5) +               // 93-97
                                 "00010"                     // 98-102   minimum
                                 + Blanks(32) +              // 103-134
                                 "031624"                    // 135-140  date
                                 + Blanks(26) +              // 141-166
                                 "00500"                     // 167-171  previous
                                 + Blanks(6) +               // 172-177
                                 "14 ELM ST               "  // 178-201  address
                                 "JONES MARY              "  // 202-225  name
                                 + Blanks(271) +             // 226-496
                                 "1000000002"                // 497-506  service id
                                 "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), expected);
    EXPECT_EQ(CapturedMeters(office), 1u);
    EXPECT_EQ(office.RouteList(), (Lines{"0002 1 R"}));
}

TEST(DataPointeSyncTest, MarkedDemandMeterAndUnreadMeterCaptured) {
    TextFileOffice office("DATAPOINTE");
    const std::string plain =
        "01"                         // 0-1      route (and user field 0-7)
        "  "                         // 2-3
        "0001"                       // 4-7      sequence
        + Blanks(12) +               // 8-19
        "W"                          // 20       meter type
        "SMITH JOHN               "  // 21-45    name
        "12 ELM ST            "      // 46-66    address
        "MTR0000001          "       // 67-86    meter number
        " "                          // 87
        "200000    "                 // 88-97    maximum from 88
        "000100    "                 // 98-107   minimum from 98
        "CALL FIRST" +
        Blanks(50) +    // 108-167  message
        Blanks(40) +    // 168-207
        "06"            // 208-209  digits
        + Blanks(6) +   // 210-215
        "  1000000001"  // 216-227  service id
        "150000    "    // 228-237  previous from 228
        + Blanks(10) +  // 238-247
        "240301";       // 248-253  last reading date
    const std::string marked =
        "01"                         // 0-1      route (and user field 0-7)
        "  "                         // 2-3
        "0002"                       // 4-7      sequence
        + Blanks(12) +               // 8-19
        "E"                          // 20       meter type
        "JONES MARY               "  // 21-45    name
        "14 ELM ST            "      // 46-66    address
        "*P000000000002      "       // 67-86    marker and tag
        " "                          // 87
        "009000    "                 // 88-97    maximum from 88
        "000010    "                 // 98-107   minimum from 98
        + Blanks(60) +               // 108-167  message
        Blanks(40) +                 // 168-207
        "06"                         // 208-209  digits
        + Blanks(6) +                // 210-215
        "  1000000002"               // 216-227  service id
        "0005 0    "                 // 228-237  previous from 228
        + Blanks(10) +               // 238-247
        "240302";                    // 248-253  last reading date
    ASSERT_EQ(plain.size(), 254u);
    ASSERT_EQ(marked.size(), 254u);
    const std::string unread = Changed(Changed(plain, 4, "0003"), 216, "  1000000003");
    WriteFile(office.RouteFile(), plain + "\r\n" + marked + "\r\n" + unread + "\r\n");

    EXPECT_EQ(office.Sync(), StartAndFinish("DATAPOINTE", "DataPointe"));
    EXPECT_EQ(office.RouteList(), (Lines{"01 3 R"}));
    const auto meters = office.Meters("01");
    ASSERT_EQ(meters.size(), 3u);
    EXPECT_EQ(meters[0][kService], "  1000000001");
    EXPECT_EQ(meters[0][kTag], "MTR0000001");
    EXPECT_EQ(meters[0][kSerial], "MTR0000001");
    EXPECT_EQ(meters[0][kReadType], "S");
    EXPECT_EQ(meters[0][kUserDef], "01  0001");
    EXPECT_EQ(meters[0][kLastDate], "240301");
    EXPECT_EQ(meters[0][kPrevious], "150000");
    EXPECT_EQ(meters[1][kTag], "0000000000000002");
    EXPECT_EQ(meters[1][kSerial], "*P00000000");
    EXPECT_EQ(meters[1][kReadType], "P");
    EXPECT_EQ(meters[1][kPrevious], "000500");

    office.TakeReadings(
        "01", {{.current = "12345", .date = "240315", .time = "0930"},
               {.current = "777", .date = "240316", .time = "101500", .responseCode = "01"},
               {.status = "U"}});
    WriteFile(office.RouteFile(), Changed(plain, 0, "02") + "\r\n");
    EXPECT_EQ(office.Sync(), StartAndFinish("DATAPOINTE", "DataPointe"));

    const std::string expected = "01  0001"                   // 0-7      user field
                                 + Blanks(12) +               // 8-19
                                 "W"                          // 20       meter type
                                 "SMITH JOHN               "  // 21-45    name
                                 "12 ELM ST            "      // 46-66    address
                                 "MTR0000001          "       // 67-86    serial
                                 " "                          // 87
                                 "200000    "                 // 88-97    maximum
                                 "000100    "                 // 98-107   minimum
                                 "CALL FIRST" +
                                 Blanks(90) +    // 108-207  message
                                 "06"            // 208-209  digits
                                 + Blanks(6) +   // 210-215
                                 "  1000000001"  // 216-227  service id
                                 "12345     "    // 228-237  reading
                                 + Blanks(10) +  // 238-247
                                 "031524"        // 248-253  date
                                 "000930"        // 254-259  time
                                 + Blanks(20) +  // 260-279
                                 "\r\n"
                                 "01  0002"                   // 0-7      user field
                                 + Blanks(12) +               // 8-19
                                 "E"                          // 20       meter type
                                 "JONES MARY               "  // 21-45    name
                                 "14 ELM ST            "      // 46-66    address
                                 "*P00000000          "       // 67-86    serial
                                 " "                          // 87
                                 "009000    "                 // 88-97    maximum
                                 "000010    "                 // 98-107   minimum
                                 + Blanks(100) +              // 108-207  message
                                 "06"                         // 208-209  digits
                                 + Blanks(6) +                // 210-215
                                 "  1000000002"               // 216-227  service id
                                 "777       "                 // 228-237  reading
                                 + Blanks(10) +               // 238-247
                                 "031624"                     // 248-253  date
                                 "101500"                     // 254-259  time
                                 + Blanks(20) +               // 260-279
                                 "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), expected);
    // Every unread meter is a DataPointe exception.
    EXPECT_EQ(CapturedMeters(office), 1u);
    EXPECT_EQ(office.RouteList(), (Lines{"02 1 R"}));
}

TEST(VendorsV1SortOrderTest, AVRCountsOnlyItsMeterLines) {
    TextFileOffice office("AVR");
    WriteFile(office.RouteFile(), "H02 HEADER\r\nA020001\r\nT 1\r\nA010001\r\n");
    std::int32_t result = 1;
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface AVR",
                     "22 Wexal - Download file is not sequenced by route. Line = 1"}));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(office.RouteList().empty());
}

TEST(VendorsV1SortOrderTest, Custom1NamesBothRoutesAndAnEmptyLineIsNoRecord) {
    TextFileOffice office("CUSTOM1");
    WriteFile(office.RouteFile(), "0002\r\n\r\n0001\r\n");
    std::int32_t result = 1;
    EXPECT_EQ(
        office.Sync(&result),
        (Lines{"19  Started with interface CUSTOM1",
               "22 Wexal - Download file is not sequenced by route. Line = 1 0002 is > 0001"}));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(std::filesystem::exists(office.RouteFile()));
}

}  // namespace
