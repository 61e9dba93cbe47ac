// IncodeCMS: its short route-file line and compact readings line written by
// hand column by column; the meter type R that travels as E and back.
#include <gtest/gtest.h>

#include <string>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/IncodeCMS.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

const std::string kRouteLine =
    "100123456789"          // 0-11     service id ...
    "00042"                 // 12-16    ... whose end is the sequence
    "TAG12345"              // 17-24    tag
    "12 ELM ST         "    // 25-42    address
    "R"                     // 43       meter type
    "X   123456"            // 44-53    maximum, last column 53
    "Y     100"             // 54-62    minimum, last column 62
    "SMITH JOHN          "  // 63-82    name
    "DOG IN YARD         "  // 83-102   message
    "Z           "          // 103-114
    "A654321"               // 115-121  previous, last column 121
    " "                     // 122      D mark
    "R01 "                  // 123-126  route
    "06";                   // 127-128  digits

std::string Changed(std::size_t column, const std::string& text) {
    std::string line = kRouteLine;
    line.replace(column, text.size(), text);
    return line;
}

TEST(IncodeCMSRouteFileTest, ReadsItsColumns) {
    ASSERT_EQ(kRouteLine.size(), 129u);
    TempDir dir;
    IncodeCMSMeter meter;
    ReadLine(meter, dir, kRouteLine);
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "10012345678900042");
    EXPECT_EQ(meter.Field(F::RouteSequence), "00042");
    EXPECT_EQ(meter.Field(F::MeterTagNbr), "TAG12345");
    EXPECT_EQ(meter.Field(F::ServiceAddress), "12 ELM ST");
    EXPECT_EQ(meter.Field(F::MeterType), "E");
    EXPECT_EQ(meter.Field(F::MaxReading), "123456");
    EXPECT_EQ(meter.Field(F::MinReading), "   100");
    EXPECT_EQ(meter.Field(F::BillingName), "SMITH JOHN");
    EXPECT_EQ(meter.Field(F::Message), "DOG IN YARD");
    EXPECT_EQ(meter.Field(F::PrvReading), "654321");
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R01");
    EXPECT_EQ(meter.Field(F::Digits), "06");
    EXPECT_EQ(meter.Field(F::ReadType), "S");
    EXPECT_EQ(meter.Field(F::UserDef), "");
    EXPECT_FALSE(meter.HasField(F::MeterSerialNbr));
}

TEST(IncodeCMSRouteFileTest, MeterTypeFromColumns43And122) {
    const struct {
        char type, mark;
        std::string expected;
    } cases[] = {
        {'R', ' ', "E"}, {'R', 'D', "D"}, {'W', 'D', "D"}, {'W', 'd', "W"}, {'E', ' ', "E"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.type) + c.mark);
        TempDir dir;
        IncodeCMSMeter meter;
        std::string line = kRouteLine;
        line[43] = c.type;
        line[122] = c.mark;
        ReadLine(meter, dir, line);
        EXPECT_EQ(meter.Field(F::MeterType), c.expected);
    }
}

TEST(IncodeCMSRouteFileTest, PreviousReadingHasRoomForSevenDigits) {
    struct Case {
        std::string digits, max, min, prv;
    };
    const Case cases[] = {
        {"09", "   123456", "Y     100", "A654321"},
        {"12", "   123456", "Y     100", "A654321"},
        {"07", " 123456", "    100", "A654321"},
        {"00", "", "", ""},
        {"  ", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Digits '" + c.digits + "'");
        TempDir dir;
        IncodeCMSMeter meter;
        ReadLine(meter, dir, Changed(127, c.digits));
        EXPECT_EQ(meter.Field(F::MaxReading), c.max);
        EXPECT_EQ(meter.Field(F::MinReading), c.min);
        EXPECT_EQ(meter.Field(F::PrvReading), c.prv);
    }
}

std::string WriteMeter(const std::string& type, const std::string& reading = "12345") {
    TempDir dir;
    IncodeCMSReading codec;
    const std::string file = WriteOneLine(codec, dir,
                                          {{F::ServiceUniqueID, "10012345678900042X"},
                                           {F::CurReading, reading},
                                           {F::MeterTagNbr, "TAG12345X"},
                                           {F::ReadingDate, "240315"},
                                           {F::MeterType, type},
                                           {F::ResponseCode, "07"},
                                           {F::ReadingTime, "0930"},
                                           {F::Intials, "JDOEX"}});
    return file;
}

const std::string kReadingsLine =
    "10012345678900042"  // 0-16    service id
    "00000012345"        // 17-27   reading
    "TAG12345"           // 28-35   tag
    "031524"             // 36-41   date
    "R"                  // 42      meter type
    "07 "                // 43-45   response code
    "000930"             // 46-51   time
    "JDOE"               // 52-55   initials
    "\r\n";

TEST(IncodeCMSReadingsLineTest, WritesItsColumnsAndTypeEGoesBackAsR) {
    ASSERT_EQ(kReadingsLine.size(), 58u);
    EXPECT_EQ(WriteMeter("E"), kReadingsLine);

    TempDir dir;
    IncodeCMSReading codec;
    ASSERT_EQ(codec.Open((dir / "readings.txt").string(), 1), 0);
    codec.SetField(F::MeterType, "EX");
    ASSERT_EQ(codec.Write(), 0);
    EXPECT_EQ(codec.Field(F::MeterType), "R");
}

TEST(IncodeCMSReadingsLineTest, OtherTypesKeepTheirFirstLetter) {
    const std::pair<std::string, std::string> cases[] = {{"W", "W"}, {"D", "D"}, {"", " "}};
    for (const auto& [type, written] : cases) {
        SCOPED_TRACE("'" + type + "'");
        std::string expected = kReadingsLine;
        expected.replace(42, 1, written);
        EXPECT_EQ(WriteMeter(type), expected);
    }
}

TEST(IncodeCMSReadingsLineTest, ReadingIsZeroFilledAndALongOneIsLoggedCut) {
    TempDir dir;
    synclog::Begin(dir / "HotSync.log", nullptr);
    const std::pair<std::string, std::string> cases[] = {{"4711", "00000004711"},
                                                         {"", "00000000000"},
                                                         {"123456789", "00123456789"},
                                                         {"1234567890", "00123456789"}};
    for (const auto& [reading, written] : cases) {
        SCOPED_TRACE("'" + reading + "'");
        std::string expected = kReadingsLine;
        expected.replace(17, 11, written);
        EXPECT_EQ(WriteMeter("E", reading), expected);
    }
    // Only the ten-digit reading lost a digit, its last.
    const auto logged = synclog::End();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].activity, kActivityHandheld);
    EXPECT_EQ(logged[0].text,
              "Wexal - Service 10012345678900042X: reading 001234567890 does not fit its "
              "column, written cut");
}

}  // namespace
}  // namespace wexal::testing
