// SCA route-file lines and readings lines, written by hand column by column.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "conduit/formats/SCA.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

// One route line of six-digit readings, 186 characters; the comments give
// the columns.
std::string RouteLine(const std::string& digits = "06", char readType = 'R') {
    return "0000000000123"                   // 0-12     service id,
           "W"                               // 13       meter type,
           "45"                              // 14-15    service id
           "JONES MARY                    "  // 16-45    name
           "12 ELM ST                     "  // 46-75    address
           "BEWARE OF DOG                 "  // 76-105   message
           "    "                            // 106-109
           "054321"                          // 110-115  previous
           "          "                      // 116-125
           "03152024"                        // 126-133  last read date MMDD20YY
           "SER00042"                        // 134-141  serial number
           "  "                              // 142-143
           "R01"                             // 144-146  route
           "  "                              // 147-148
           "0042"                            // 149-152  sequence
           "    "                            // 153-156
           "   100"                          // 157-162  minimum
           "    "                            // 163-166
           "123456"                          // 167-172  maximum
           "    777777"                      // 173-182  tag
           + std::string(1, readType) +      // 183      read type
           digits;                           // 184-185  digits
}

TEST(SCARouteFileTest, ReadsTheColumnsOfTheFrame) {
    ASSERT_EQ(RouteLine().size(), 186u);
    TempDir dir;
    SCAMeter meter;
    ReadLine(meter, dir, RouteLine());
    const std::map<F, std::string> expected = {
        {F::ServiceUniqueID, "0000000000123W45"},
        {F::MeterType, "W"},
        {F::BillingName, "JONES MARY"},
        {F::ServiceAddress, "12 ELM ST"},
        {F::Message, "BEWARE OF DOG"},
        {F::PrvReading, "054321"},
        {F::LstReadingDate, "240315"},
        {F::MeterSerialNbr, "SER00042"},
        {F::SelectedRoute, "R01"},
        {F::RouteSequence, "0042"},
        {F::MinReading, "000100"},
        {F::MaxReading, "123456"},
        {F::MeterTagNbr, "000000777777"},
        {F::ReadType, "R"},
        {F::Digits, "06"},
        {F::UserDef, ""},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(meter.Field(field), text) << static_cast<int>(field);
        EXPECT_TRUE(meter.HasField(field)) << static_cast<int>(field);
    }
    EXPECT_EQ(meter.RouteOfFile(), "R01");
}

TEST(SCARouteFileTest, BlankOrLargeDigitCountMeansTenDigits) {
    struct Case {
        std::string digits;
        std::string previous, minimum, maximum;
    };
    const Case cases[] = {
        {"  ", "0000054321", "0000000100", "0000123456"},
        {"00", "0000054321", "0000000100", "0000123456"},
        {"12", "0000054321", "0000000100", "0000123456"},
        {"07", "0054321", "0000100", "0123456"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.digits + "'");
        TempDir dir;
        SCAMeter meter;
        ReadLine(meter, dir, RouteLine(c.digits));
        EXPECT_EQ(meter.Field(F::PrvReading), c.previous);
        EXPECT_EQ(meter.Field(F::MinReading), c.minimum);
        EXPECT_EQ(meter.Field(F::MaxReading), c.maximum);
    }
}

TEST(SCARouteFileTest, ReadTypeIsPROrSElseS) {
    const std::pair<char, std::string> cases[] = {{'P', "P"}, {'S', "S"}, {'X', "S"}, {' ', "S"}};
    for (const auto& [mark, readType] : cases) {
        TempDir dir;
        SCAMeter meter;
        ReadLine(meter, dir, RouteLine("06", mark));
        EXPECT_EQ(meter.Field(F::ReadType), readType) << mark;
    }
    TempDir dir;
    SCAMeter shortLine;
    ReadLine(shortLine, dir, RouteLine().substr(0, 180));
    EXPECT_EQ(shortLine.Field(F::ReadType), "S");
}

struct Written {
    std::string line;
    std::vector<std::string> log;
};

Written WriteReading(const std::string& previous, const std::string& maximum) {
    TempDir dir;
    SCAReading reading;
    synclog::Begin({}, nullptr);
    Written written;
    written.line = WriteOneLine(reading, dir,
                                {{F::ServiceUniqueID, "0000000000123W45"},
                                 {F::BillingName, "JONES MARY"},
                                 {F::ServiceAddress, "12 ELM ST"},
                                 {F::Message, "BEWARE OF DOG"},
                                 {F::PrvReading, previous},
                                 {F::CurReading, "55555"},
                                 {F::ReadingDate, "240316"},
                                 {F::MeterSerialNbr, "SER00042"},
                                 {F::SelectedRoute, "R01"},
                                 {F::RouteSequence, "0042"},
                                 {F::MinReading, "000100"},
                                 {F::MaxReading, maximum},
                                 {F::MeterTagNbr, "000000777777"},
                                 {F::ReadType, "R"},
                                 {F::Digits, "06"},
                                 {F::ResponseCode, "07"},
                                 {F::ResponseText, "GATE LOCKED"},
                                 // Handed over but not written.
                                 {F::ReadingTime, "0930"},
                                 {F::Intials, "AB"}});
    for (const synclog::Entry& entry : synclog::End()) {
        written.log.push_back(std::to_string(entry.activity) + " " + entry.text);
    }
    return written;
}

TEST(SCAReadingsLineTest, WritesTheFrameBack) {
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
        "123456789"                       // 164-172  maximum
        "0000777777"                      // 173-182  tag
        "R"                               // 183      read type
        "06"                              // 184-185  digits
        "07"                              // 186-187  response code
        "GATE LOCKED"                     // 188-247  response text
        + std::string(49, ' ') + "\r\n";
    const Written written = WriteReading("054321", "123456789");
    EXPECT_EQ(written.line, expected);
    EXPECT_TRUE(written.log.empty());
}

TEST(SCAReadingsLineTest, TenDigitReadingsInNineColumns) {
    // Ten-digit readings come from a blank digit count; a leading zero can go.
    const Written zeros = WriteReading("0000054321", "0123456789");
    EXPECT_EQ(zeros.line.substr(107, 9), "000054321");
    EXPECT_EQ(zeros.line.substr(164, 9), "123456789");
    EXPECT_TRUE(zeros.log.empty());

    const Written lost = WriteReading("9000054321", "0123456789");
    EXPECT_EQ(lost.line.substr(107, 9), "000054321");
    EXPECT_EQ(lost.log, (std::vector<std::string>{"22 Wexal - Service 0000000000123W45: reading "
                                                  "9000054321 does not fit its column, "
                                                  "written cut"}));
}

}  // namespace
}  // namespace wexal::testing
