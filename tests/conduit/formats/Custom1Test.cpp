// Custom1: its long route-file line and readings line written by hand column
// by column; empty lines, and readings too long for their five columns.
#include <gtest/gtest.h>

#include <string>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/Custom1.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

const std::string kRouteLine = "0007"                        // 0-3      route
                               + Blanks(12) +                // 4-15
                               "0042"                        // 16-19    sequence
                               + Blanks(7) +                 // 20-26
                               "6"                           // 27       digits
                               "AB  12345678"                // 28-39    tag, serial from 32
                               + Blanks(48) +                // 40-87
                               " 9999"                       // 88-92    maximum
                               + Blanks(5) +                 // 93-97
                               "  100"                       // 98-102   minimum
                               + Blanks(59) +                // 103-161
                               "54321"                       // 162-166  previous
                               + Blanks(5) +                 // 167-171
                               "240301"                      // 172-177  last reading date
                               "12 ELM ST               "    // 178-201  address
                               "SMITH JOHN              "    // 202-225  name
                               + Blanks(21) +                // 226-246
                               "DOG IN YARD               "  // 247-272  message
                               + Blanks(224) +               // 273-496
                               "1001234567";                 // 497-506  service id

TEST(Custom1RouteFileTest, ReadsItsColumns) {
    ASSERT_EQ(kRouteLine.size(), 507u);
    TempDir dir;
    Custom1Meter meter;
    ReadLine(meter, dir, kRouteLine);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "0007");
    EXPECT_EQ(meter.Field(F::RouteSequence), "0042");
    EXPECT_EQ(meter.Field(F::Digits), "06");
    EXPECT_EQ(meter.Field(F::MeterTagNbr), "AB0012345678");
    EXPECT_EQ(meter.Field(F::MeterSerialNbr), "12345678");
    EXPECT_EQ(meter.Field(F::MaxReading), "09999");
    EXPECT_EQ(meter.Field(F::MinReading), "00100");
    EXPECT_EQ(meter.Field(F::PrvReading), "54321");
    EXPECT_EQ(meter.Field(F::LstReadingDate), "240301");
    EXPECT_EQ(meter.Field(F::ServiceAddress), "12 ELM ST");
    EXPECT_EQ(meter.Field(F::BillingName), "SMITH JOHN");
    EXPECT_EQ(meter.Field(F::Message), "DOG IN YARD");
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "1001234567");
    EXPECT_EQ(meter.Field(F::MeterType), "W");
    EXPECT_EQ(meter.Field(F::ReadType), "S");
    EXPECT_EQ(meter.Field(F::UserDef), "");
}

TEST(Custom1RouteFileTest, BlankDigitColumnGivesZero) {
    TempDir dir;
    Custom1Meter meter;
    std::string line = kRouteLine;
    line[27] = ' ';
    ReadLine(meter, dir, line);
    EXPECT_EQ(meter.Field(F::Digits), "0");
}

TEST(Custom1RouteFileTest, EmptyLineGivesNoRecord) {
    // Repeating the record before it would put its meter on the handheld
    // twice and its reading twice into the readings file.
    TempDir dir;
    Custom1Meter meter;
    std::string second = kRouteLine;
    second.replace(0, 4, "0008");
    OpenRouteFile(meter, dir, "\r\n" + kRouteLine + "\r\n\n\r\n" + second + "\r\n\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "0007");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "0008");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

TEST(Custom1RouteFileTest, LinesUpTo599CharactersAreRead) {
    TempDir dir;
    Custom1Meter meter;
    const std::string tail = Blanks(599 - kRouteLine.size());
    OpenRouteFile(meter, dir, kRouteLine + tail + "\r\n" + kRouteLine + Blanks(143) + "\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "1001234567");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "1001234567");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

std::string WriteMeter(const std::string& reading, const std::string& route = "0007") {
    TempDir dir;
    Custom1Reading codec;
    return WriteOneLine(codec, dir,
                        {{F::SelectedRoute, route},
                         {F::RouteSequence, "0042"},
                         {F::Digits, "06"},
                         {F::MeterTagNbr, "AB0012345678X"},
                         {F::CurReading, reading},
                         {F::MaxReading, "09999"},
                         {F::MinReading, "00100"},
                         {F::ReadingDate, "240315"},
                         {F::PrvReading, "54321"},
                         {F::ServiceAddress, "12 ELM ST"},
                         {F::BillingName, "SMITH JOHN"},
                         {F::ServiceUniqueID, "1001234567"},
                         {F::ResponseCode, "07"},
                         {F::ReadingTime, "0930"},
                         {F::Intials, "JD"}});
}

const std::string kReadingsLine = "0007"                      // 0-3      route
                                  + Blanks(8) +               // 4-11
                                  "0000"                      // 12-15
                                  "0042"                      // 16-19    sequence
                                  + Blanks(7) +               // 20-26
                                  "6"                         // 27       digits
                                  "AB0012345678"              // 28-39    tag
                                  + Blanks(28) +              // 40-67
                                  "12345"                     // 68-72    reading
                                  + Blanks(15) +              // 73-87
                                  "09999"                     // 88-92    maximum
                                  + Blanks(5) +               // 93-97
                                  "00100"                     // 98-102   minimum
                                  + Blanks(32) +              // 103-134
                                  "031524"                    // 135-140  date
                                  + Blanks(26) +              // 141-166
                                  "54321"                     // 167-171  previous
                                  + Blanks(6) +               // 172-177
                                  "12 ELM ST               "  // 178-201  address
                                  "SMITH JOHN              "  // 202-225  name
                                  + Blanks(271) +             // 226-496
                                  "1001234567"                // 497-506  service id
                                  "\r\n";

TEST(Custom1ReadingsLineTest, WritesItsColumns) {
    ASSERT_EQ(kReadingsLine.size(), 509u);
    EXPECT_EQ(WriteMeter("12345"), kReadingsLine);
}

TEST(Custom1ReadingsLineTest, RouteKeepsItsLastFourCharacters) {
    std::string expected = kReadingsLine;
    expected.replace(0, 4, "0017");
    EXPECT_EQ(WriteMeter("12345", "R0017"), expected);
    expected.replace(0, 4, "7   ");
    EXPECT_EQ(WriteMeter("12345", "7"), expected);
}

TEST(Custom1ReadingsLineTest, ReadingTooLongForFiveColumnsIsLoggedWithItsService) {
    TempDir dir;
    synclog::Begin(dir / "HotSync.log", nullptr);
    const std::pair<std::string, std::string> cases[] = {
        {"123456", "23456"}, {"012345", "12345"}, {"  42", "  42 "}, {"99999", "99999"}};
    for (const auto& [reading, written] : cases) {
        SCOPED_TRACE("'" + reading + "'");
        std::string expected = kReadingsLine;
        expected.replace(68, 5, written);
        EXPECT_EQ(WriteMeter(reading), expected);
    }
    const auto logged = synclog::End();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].activity, kActivityHandheld);
    EXPECT_EQ(logged[0].text,
              "Wexal - Service 1001234567: reading 123456 does not fit its column, written cut");
}

}  // namespace
}  // namespace wexal::testing
