// NorthStar route-file lines and readings lines, written by hand column by
// column.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "conduit/formats/NorthStar.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

// One route line, 297 characters; the comments give the columns.
std::string RouteLine(const std::string& maximum = "  123456", char meterType = 'W',
                      const std::string& sequence = " 12 ") {
    return "0112345678"                      // 0-9      service id, route at 2-3
           + std::string(1, meterType) +     // 10       meter type
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
           + std::string(45, ' ') +          // 115-159
           "  654321"                        // 160-167  previous
           + std::string(23, ' ') +          // 168-190
           sequence +                        // 191-194  sequence
           std::string(92, ' ') +            // 195-286
           "DOG       ";                     // 287-296  message
}

TEST(NorthStarRouteFileTest, ReadsTheColumnsOfALongLine) {
    ASSERT_EQ(RouteLine().size(), 297u);
    TempDir dir;
    NorthStarMeter meter;
    ReadLine(meter, dir, RouteLine());
    const std::map<F, std::string> expected = {
        {F::ServiceUniqueID, "0112345678"},
        {F::SelectedRoute, "12"},
        {F::MeterType, "W"},
        {F::MeterSerialNbr, "SER0000042"},
        {F::UserDef, "UD"},
        {F::MeterTagNbr, "TAG0000777"},
        {F::ServiceAddress, "12 ELM ST"},
        {F::MaxReading, "00123456"},
        {F::MinReading, "00000100"},
        {F::BillingName, "JONES MARY"},
        {F::PrvReading, "00654321"},
        {F::RouteSequence, "0012"},
        {F::Message, "DOG"},
        {F::Digits, "0"},
        {F::LstReadingDate, ""},
        {F::ReadType, "S"},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(meter.Field(field), text) << static_cast<int>(field);
        EXPECT_TRUE(meter.HasField(field)) << static_cast<int>(field);
    }
    EXPECT_EQ(meter.RouteOfFile(), "12");
}

TEST(NorthStarRouteFileTest, MeterWithoutMaximumIsADemandMeter) {
    for (const std::string maximum : {"        ", "00000000", "0000 000"}) {
        SCOPED_TRACE("'" + maximum + "'");
        TempDir dir;
        NorthStarMeter meter;
        ReadLine(meter, dir, RouteLine(maximum, 'W'));
        EXPECT_EQ(meter.Field(F::MeterType), "D");
        EXPECT_EQ(meter.Field(F::MaxReading), "00000000");
    }
    TempDir dir;
    NorthStarMeter meter;
    ReadLine(meter, dir, RouteLine("00000001", 'E'));
    EXPECT_EQ(meter.Field(F::MeterType), "E");
}

TEST(NorthStarRouteFileTest, SequenceIsReadAsANumberOfFourDigits) {
    const std::pair<std::string, std::string> cases[] = {
        {" 12 ", "0012"}, {"AB  ", "0000"}, {"    ", "0000"}, {"7A  ", "0007"}, {"-3  ", "-003"}};
    for (const auto& [columns, sequence] : cases) {
        SCOPED_TRACE("'" + columns + "'");
        TempDir dir;
        NorthStarMeter meter;
        ReadLine(meter, dir, RouteLine("  123456", 'W', columns));
        EXPECT_EQ(meter.Field(F::RouteSequence), sequence);
    }
}

TEST(NorthStarRouteFileTest, ShortLineKeepsItsServiceIdRightAligned) {
    TempDir dir;
    NorthStarMeter meter;
    ReadLine(meter, dir, "0112345");
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "   0112345");
    // The route comes from the line's own columns, not the padded id.
    EXPECT_EQ(meter.Field(F::SelectedRoute), "12");
    EXPECT_EQ(meter.Field(F::MaxReading), "");
    EXPECT_EQ(meter.Field(F::MeterType), "");
    EXPECT_EQ(meter.Field(F::RouteSequence), "0000");
}

std::string WriteReading(const std::string& current, const std::string& date = "240315") {
    TempDir dir;
    NorthStarReading reading;
    return WriteOneLine(reading, dir,
                        {{F::ServiceUniqueID, "0112345678"},
                         {F::MeterType, "W"},
                         {F::MeterSerialNbr, "SER0000042"},
                         {F::UserDef, "UD"},
                         {F::ReadingDate, date},
                         {F::CurReading, current},
                         {F::RouteSequence, "0012"},
                         // Handed over but not written.
                         {F::BillingName, "JONES MARY"},
                         {F::MeterTagNbr, "TAG0000777"},
                         {F::PrvReading, "00654321"}});
}

TEST(NorthStarReadingsLineTest, WritesIdentityDateAndReading) {
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
        "\r\n";
    EXPECT_EQ(WriteReading("000123"), expected);
}

TEST(NorthStarReadingsLineTest, ReadingIsItsWholeNumberLeftAligned) {
    const std::pair<std::string, std::string> cases[] = {{"", "0         "},
                                                         {"12.7", "12        "},
                                                         {"-5", "-5        "},
                                                         {"1234567890", "1234567890"}};
    for (const auto& [current, written] : cases) {
        SCOPED_TRACE("'" + current + "'");
        EXPECT_EQ(WriteReading(current).substr(31, 10), written);
    }
    // The year is not written; a short date is padded with zeros.
    EXPECT_EQ(WriteReading("1", "2403").substr(27, 4), "0300");
}

}  // namespace
}  // namespace wexal::testing
