// AVR: "A" lines of the route file and the readings file written by hand
// column by column; the dial digits told by the previous reading's zeros,
// the lines that carry no meter, and the route's header line.
#include <gtest/gtest.h>

#include <string>

#include "conduit/formats/AVR.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

const std::string kRouteLine =
    "A"                                         // 0        record kind
    "07"                                        // 1-2      route
    "0042"                                      // 3-6      sequence
    "     "                                     // 7-11
    "100123456789012"                           // 12-26    service id
    " "                                         // 27
    "SMITH JOHN          "                      // 28-47    name
    " "                                         // 48
    "12 ELM ST           "                      // 49-68    address
    "TAG0012345"                                // 69-78    tag
    "                      "                    // 79-100
    "000654321"                                 // 101-109  previous
    "         "                                 // 110-118
    "   999999"                                 // 119-127  maximum
    "   000100"                                 // 128-136  minimum
    "     "                                     // 137-141
    "DOG IN YARD                             "  // 142-181  message
    "       "                                   // 182-188
    "SN12345678";                               // 189-198  serial

std::string WithPrevious(const std::string& previous) {
    std::string line = kRouteLine;
    line.replace(101, 9, previous);
    return line;
}

TEST(AVRRouteFileTest, ReadsTheColumnsOfAnALine) {
    ASSERT_EQ(kRouteLine.size(), 199u);
    TempDir dir;
    AVRMeter meter;
    ReadLine(meter, dir, kRouteLine);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "07");
    EXPECT_EQ(meter.Field(F::RouteSequence), "0042");
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "100123456789012");
    EXPECT_EQ(meter.Field(F::BillingName), "SMITH JOHN");
    EXPECT_EQ(meter.Field(F::ServiceAddress), "12 ELM ST");
    EXPECT_EQ(meter.Field(F::MeterTagNbr), "TAG0012345");
    EXPECT_EQ(meter.Field(F::PrvReading), "654321");
    EXPECT_EQ(meter.Field(F::MaxReading), "999999");
    EXPECT_EQ(meter.Field(F::MinReading), "000100");
    EXPECT_EQ(meter.Field(F::Message), "DOG IN YARD");
    EXPECT_EQ(meter.Field(F::MeterSerialNbr), "SN12345678");
    EXPECT_EQ(meter.Field(F::Digits), "06");
    EXPECT_EQ(meter.Field(F::MeterType), "W");
    EXPECT_EQ(meter.Field(F::ReadType), "S");
    EXPECT_EQ(meter.Field(F::UserDef), "");
    EXPECT_FALSE(meter.HasField(F::LstReadingDate));
    EXPECT_EQ(meter.RouteOfFile(), "07");
}

TEST(AVRRouteFileTest, LeadingZerosOfThePreviousReadingTellTheDigits) {
    struct Case {
        std::string previous, digits, prv;
    };
    const Case cases[] = {
        {"000654321", "06", "654321"},    {"000012345", "05", "12345"},
        {"000000000", "05", "00000"},     {" 00012345", "09", " 00012345"},
        {"123456789", "09", "123456789"}, {"00 123456", "07", " 123456"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.previous + "'");
        TempDir dir;
        AVRMeter meter;
        ReadLine(meter, dir, WithPrevious(c.previous));
        EXPECT_EQ(meter.Field(F::Digits), c.digits);
        EXPECT_EQ(meter.Field(F::PrvReading), c.prv);
    }
}

TEST(AVRRouteFileTest, OnlyLinesBeginningWithAAreMeters) {
    TempDir dir;
    AVRMeter meter;
    std::string second = kRouteLine;
    second.replace(1, 2, "08");
    OpenRouteFile(meter, dir,
                  "H07 header\r\n" + kRouteLine + "\r\n" + "a" + kRouteLine.substr(1) + "\r\n" +
                      "\r\n" + second + "\r\nT trailer\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "07");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "08");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);

    AVRMeter none;
    OpenRouteFile(none, dir, "H07 header\r\nT trailer\r\n");
    EXPECT_EQ(none.Read(), VendorMeter::kEndOfFile);
}

TEST(AVRRouteFileTest, NoLineEndOrTabReachesAField) {
    // A line that ends inside the serial number with a stray CR, and one
    // whose message ends in a tab and a form feed, without a line end.
    TempDir dir;
    AVRMeter meter;
    std::string tabbed = kRouteLine.substr(0, 142) + "DOG\t\f";
    OpenRouteFile(meter, dir, kRouteLine.substr(0, 194) + "\r\r\n" + tabbed);
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::MeterSerialNbr), "SN123");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::Message), "DOG");
    EXPECT_EQ(meter.Field(F::MeterSerialNbr), "");
}

const FieldTexts kReading = {{F::SelectedRoute, "07X"},
                             {F::RouteSequence, "0042"},
                             {F::ServiceUniqueID, "100123456789012"},
                             {F::BillingName, "SMITH JOHN"},
                             {F::ServiceAddress, "12 ELM ST"},
                             {F::MeterSerialNbr, "SN12345678"},
                             {F::ReadingDate, "240315"},
                             {F::ReadingTime, "0930"},
                             {F::CurReading, "12345"},
                             {F::MeterTagNbr, "TAG0012345"},
                             {F::Intials, "JDOEX"},
                             {F::ResponseCode, "07"},
                             {F::MeterType, "W"}};

const std::string kReadingsLine =
    "A"                       // 0        record kind
    "07"                      // 1-2      route
    "0042"                    // 3-6      sequence
    "     "                   // 7-11
    "100123456789012"         // 12-26    service id
    " "                       // 27
    "SMITH JOHN          "    // 28-47    name
    " "                       // 48
    "12 ELM ST           "    // 49-68    address
    "SN12345678"              // 69-78    serial
    " "                       // 79
    "240315"                  // 80-85    date as held
    "000930"                  // 86-91    time
    "000000001"               // 92-100
    "         "               // 101-109
    "    12345"               // 110-118  reading
    + std::string(66, ' ') +  // 119-184
    "1"                       // 185
    " "                       // 186
    "05"                      // 187-188
    "TAG0012345"              // 189-198  tag
    "    "                    // 199-202
    "JDOEX"                   // 203-207  initials
    " "                       // 208
    "07"                      // 209-210  response code
    + std::string(77, ' ') +  // 211-287
    "\r\n";

TEST(AVRReadingsFileTest, ReadingLineCarriesSerialAt69AndTagAt189) {
    ASSERT_EQ(kReadingsLine.size(), 290u);
    TempDir dir;
    AVRReading codec;
    EXPECT_EQ(WriteOneLine(codec, dir, kReading), kReadingsLine);
}

TEST(AVRReadingsFileTest, HeaderLineNamesTheRouteBeforeItsReadings) {
    TempDir dir;
    const auto path = dir / "readings.txt";
    AVRReading codec;
    EXPECT_EQ(codec.WriteHeader(), -2);
    ASSERT_EQ(codec.Open(path.string(), 1), 0);
    for (const auto& [field, text] : kReading) {
        codec.SetField(field, text);
    }
    ASSERT_EQ(codec.WriteHeader(), 0);
    ASSERT_EQ(codec.Write(), 0);
    ASSERT_EQ(codec.Close(), 0);
    const std::string header = "H07" + std::string(285, ' ') + "\r\n";
    EXPECT_EQ(ReadFile(path), header + kReadingsLine);
}

}  // namespace
}  // namespace wexal::testing
