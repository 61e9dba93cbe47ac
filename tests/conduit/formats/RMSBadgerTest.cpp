// RMSBadger route-file lines and readings lines, written by hand column by
// column.
#include <gtest/gtest.h>

#include <string>

#include "conduit/formats/RMSBadger.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

const std::string kRouteLine =
    "  "                         // 0-1      record mark
    "      "                     // 2-7
    "SMITH JOHN          "       // 8-27     name, first part
    "12 ELM ST           "       // 28-47    address
    "101234567"                  // 48-56    tag
    "          "                 // 57-66
    "SER456789"                  // 67-75    serial
    "4"                          // 76       dial digits
    "123459876"                  // 77-85    maximum (the last 4 count)
    "000000012"                  // 86-94    minimum
    "                         "  // 95-119
    "R07"                        // 120-122  route
    "ESTATE OF   "               // 123-134  name, second part
    + std::string(31, ' ') +     // 135-165
    "0042"                       // 166-169  sequence
    + std::string(20, ' ') +     // 170-189
    "00000000000000012345"       // 190-209  service id
    "UDEF000001";                // 210-219  user field

std::string WithColumns(std::string line, std::size_t column, const std::string& text) {
    line.replace(column, text.size(), text);
    return line;
}

TEST(RMSBadgerRouteFileTest, ReadsTheMeterColumns) {
    ASSERT_EQ(kRouteLine.size(), 220u);
    TempDir dir;
    RMSBadgerMeter meter;
    ReadLine(meter, dir, kRouteLine);
    const std::pair<F, std::string> expected[] = {
        {F::ServiceUniqueID, "00000000000000012345"},
        {F::BillingName, "SMITH JOHN" + std::string(20, ' ') + "ESTATE OF"},
        {F::ServiceAddress, "12 ELM ST"},
        {F::Message, ""},
        {F::MeterType, "W"},
        {F::MeterTagNbr, "000101234567"},
        {F::MeterSerialNbr, "SER456789"},
        {F::MaxReading, "9876"},
        {F::MinReading, "0012"},
        {F::PrvReading, ""},
        {F::SelectedRoute, "R07"},
        {F::RouteSequence, "0042"},
        {F::Digits, "4"},
        {F::LstReadingDate, "      "},
        {F::ReadType, "P"},
        {F::UserDef, "UDEF000001"},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(meter.Field(field), text) << "field " << static_cast<int>(field);
        EXPECT_TRUE(meter.HasField(field)) << "field " << static_cast<int>(field);
    }
}

TEST(RMSBadgerRouteFileTest, OnlyLinesWithTwoBlanksAreRecords) {
    TempDir dir;
    RMSBadgerMeter meter;
    OpenRouteFile(
        meter, dir,
        WithColumns(kRouteLine, 0, "00") + "\r\n" + WithColumns(kRouteLine, 120, "R08") + "\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R08");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

TEST(RMSBadgerRouteFileTest, DialDigitsOutsideOneToSixReadSix) {
    struct Case {
        char digits;
        std::string count, maximum, minimum;
    };
    const Case cases[] = {
        {'1', "1", "6", "2"},           {'6', "6", "459876", "000012"},
        {'8', "6", "459876", "000012"}, {'0', "6", "459876", "000012"},
        {' ', "6", "459876", "000012"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.digits));
        TempDir dir;
        RMSBadgerMeter meter;
        ReadLine(meter, dir, WithColumns(kRouteLine, 76, std::string(1, c.digits)));
        EXPECT_EQ(meter.Field(F::Digits), c.count);
        EXPECT_EQ(meter.Field(F::MaxReading), c.maximum);
        EXPECT_EQ(meter.Field(F::MinReading), c.minimum);
    }
}

TEST(RMSBadgerRouteFileTest, BlankTagBecomesZerosAndReadsOnTheRoute) {
    TempDir dir;
    RMSBadgerMeter meter;
    std::string line = WithColumns(kRouteLine, 48, "         ");
    line = WithColumns(line, 82, " 9 6");  // blanks inside the maximum
    ReadLine(meter, dir, line);
    EXPECT_EQ(meter.Field(F::MeterTagNbr), "000000000000");
    EXPECT_EQ(meter.Field(F::ReadType), "S");
    EXPECT_EQ(meter.Field(F::MaxReading), "0906");
}

const std::string kReadingsLine =
    "        "                // 0-7
    "SMITH JOHN          "    // 8-27     name, first part
    "12 ELM ST           "    // 28-47    address
    "101234567"               // 48-56    tag without the reader's zeros
    "          "              // 57-66
    "SER456789"               // 67-75    serial
    "4"                       // 76       dial digits
    "9876     "               // 77-85    maximum
    "0012     "               // 86-94    minimum
    "000005432"               // 95-103   reading
    "09:30:15"                // 104-111  time
    "R"                       // 112
    "       "                 // 113-119
    "R07"                     // 120-122  route of the write
    "ESTATE OF   "            // 123-134  name, second part
    "03/15/24"                // 135-142  date
    + std::string(21, ' ') +  // 143-163
    "000042"                  // 164-169  sequence
    + std::string(20, ' ') +  // 170-189
    "00000000000000012345"    // 190-209  service id
    "UDEF000001       "       // 210-226  user field
    + std::string(27, ' ') +  // 227-253
    "\r\n";

TEST(RMSBadgerReadingsFileTest, WritesTheMeterBlockBack) {
    ASSERT_EQ(kReadingsLine.size(), 256u);
    TempDir dir;
    const auto path = dir / "readings.txt";
    RMSBadgerReading reading;
    ASSERT_EQ(reading.Open(path.string(), 1), 0);
    const std::pair<F, std::string> fields[] = {
        {F::ServiceUniqueID, "00000000000000012345"},
        {F::BillingName, "SMITH JOHN" + std::string(20, ' ') + "ESTATE OF"},
        {F::ServiceAddress, "12 ELM ST"},
        {F::MeterTagNbr, "000101234567"},
        {F::MeterSerialNbr, "SER456789"},
        {F::Digits, "04"},
        {F::MaxReading, "9876"},
        {F::MinReading, "0012"},
        {F::CurReading, "5432"},
        {F::ReadingTime, "093015"},
        {F::ReadingDate, "240315"},
        {F::RouteSequence, "0042"},
        {F::UserDef, "UDEF000001"},
        {F::SelectedRoute, "IGNORED"},
    };
    for (const auto& [field, text] : fields) {
        reading.SetField(field, text);
    }
    EXPECT_EQ(reading.Write("R07"), 0);

    // No header; an empty date and time still take their columns.
    reading.SetField(F::ReadingDate, "");
    reading.SetField(F::ReadingTime, "");
    EXPECT_EQ(reading.Write("ROUTE9"), 0);
    ASSERT_EQ(reading.Close(), 0);
    const std::string file = ReadFile(path);
    ASSERT_EQ(file.size(), 2 * 256u);
    EXPECT_EQ(file.substr(0, 256), kReadingsLine);
    const std::string second = file.substr(256);
    EXPECT_EQ(second.substr(104, 8), "00:00:00");
    EXPECT_EQ(second.substr(120, 3), "ROU");
    EXPECT_EQ(second.substr(135, 8), "00/00/00");
}

}  // namespace
}  // namespace wexal::testing
