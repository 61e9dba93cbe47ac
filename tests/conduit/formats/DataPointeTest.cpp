// DataPointe: route-file lines and readings lines written by hand column by
// column; readings that start at fixed columns and the "*P" and "*R"
// markers of demand and register readings.
#include <gtest/gtest.h>

#include <string>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/DataPointe.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

const std::string kRouteLine =
    "01"                         // 0-1      route (and user field 0-7)
    "  "                         // 2-3
    "0042"                       // 4-7      sequence
    + Blanks(12) +               // 8-19
    "W"                          // 20       meter type
    "SMITH JOHN               "  // 21-45    name
    "12 ELM ST            "      // 46-66    address
    "MTR1234567890       "       // 67-86    meter number
    " "                          // 87
    "99999XXXXX"                 // 88-97    maximum from 88
    "00100YYYYY"                 // 98-107   minimum from 98
    "DOG IN YARD" +
    Blanks(49) +    // 108-167  message
    Blanks(40) +    // 168-207
    "05"            // 208-209  digits
    + Blanks(6) +   // 210-215
    "  1001234567"  // 216-227  service id
    "5 321ZZZZZ"    // 228-237  previous from 228
    + Blanks(10) +  // 238-247
    "240301";       // 248-253  last reading date

std::string Changed(std::size_t column, const std::string& text) {
    std::string line = kRouteLine;
    line.replace(column, text.size(), text);
    return line;
}

TEST(DataPointeRouteFileTest, ReadsItsColumns) {
    ASSERT_EQ(kRouteLine.size(), 254u);
    TempDir dir;
    DataPointeMeter meter;
    ReadLine(meter, dir, kRouteLine);
    EXPECT_EQ(meter.Field(F::UserDef), "01  0042");
    EXPECT_EQ(meter.Field(F::SelectedRoute), "01");
    EXPECT_EQ(meter.Field(F::RouteSequence), "0042");
    EXPECT_EQ(meter.Field(F::MeterType), "W");
    EXPECT_EQ(meter.Field(F::BillingName), "SMITH JOHN");
    EXPECT_EQ(meter.Field(F::ServiceAddress), "12 ELM ST");
    EXPECT_EQ(meter.Field(F::MeterTagNbr), "MTR1234567890");
    EXPECT_EQ(meter.Field(F::MeterSerialNbr), "MTR1234567");
    EXPECT_EQ(meter.Field(F::MaxReading), "99999");
    EXPECT_EQ(meter.Field(F::MinReading), "00100");
    EXPECT_EQ(meter.Field(F::Message), "DOG IN YARD");
    EXPECT_EQ(meter.Field(F::Digits), "05");
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "  1001234567");
    // Only the previous reading gets zeros for blanks.
    EXPECT_EQ(meter.Field(F::PrvReading), "50321");
    EXPECT_EQ(meter.Field(F::LstReadingDate), "240301");
    EXPECT_EQ(meter.Field(F::ReadType), "S");
}

TEST(DataPointeRouteFileTest, ReadingsRunFromTheirFirstColumnForTheDigitCount) {
    struct Case {
        std::string digits, max, min, prv;
    };
    const Case cases[] = {
        {"03", "999", "001", "503"},
        {"  ", "99999XXXX", "00100YYYY", "50321ZZZZ"},
        {"00", "99999XXXX", "00100YYYY", "50321ZZZZ"},
        {"12", "99999XXXXX", "00100YYYYY", "50321ZZZZZ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Digits '" + c.digits + "'");
        TempDir dir;
        DataPointeMeter meter;
        ReadLine(meter, dir, Changed(208, c.digits));
        EXPECT_EQ(meter.Field(F::MaxReading), c.max);
        EXPECT_EQ(meter.Field(F::MinReading), c.min);
        EXPECT_EQ(meter.Field(F::PrvReading), c.prv);
    }
}

TEST(DataPointeRouteFileTest, MarkersMakeDemandAndRegisterReadings) {
    struct Case {
        std::string marker, tag, readType;
    };
    const Case cases[] = {
        {"*P", "0000123456789012", "P"}, {"*p", "0000123456789012", "P"},
        {"*R", "123456789012", "R"},     {"*r", "123456789012", "R"},
        {"*X", "*X123456789012", "S"},   {"P*", "P*123456789012", "S"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.marker);
        TempDir dir;
        DataPointeMeter meter;
        ReadLine(meter, dir, Changed(67, c.marker + "123456789012      "));
        EXPECT_EQ(meter.Field(F::MeterTagNbr), c.tag);
        EXPECT_EQ(meter.Field(F::ReadType), c.readType);
        // The serial number keeps the marker.
        EXPECT_EQ(meter.Field(F::MeterSerialNbr), c.marker + "12345678");
    }
}

TEST(DataPointeRouteFileTest, MarkerOnAShortLine) {
    TempDir dir;
    DataPointeMeter meter;
    ReadLine(meter, dir, kRouteLine.substr(0, 67) + "*P12");
    EXPECT_EQ(meter.Field(F::MeterTagNbr), "000012");
    EXPECT_EQ(meter.Field(F::ReadType), "P");
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "");
}

std::string WriteMeter(const std::string& reading) {
    TempDir dir;
    DataPointeReading codec;
    return WriteOneLine(codec, dir,
                        {{F::UserDef, "01  0042X"},
                         {F::MeterType, "WX"},
                         {F::BillingName, "SMITH JOHN"},
                         {F::ServiceAddress, "12 ELM ST"},
                         {F::MeterSerialNbr, "MTR1234567"},
                         {F::MaxReading, "99999"},
                         {F::MinReading, "00100"},
                         {F::Message, "DOG IN YARD"},
                         {F::Digits, "05"},
                         {F::ServiceUniqueID, "  1001234567"},
                         {F::CurReading, reading},
                         {F::ReadingDate, "240315"},
                         {F::ReadingTime, "0930"},
                         {F::ResponseCode, "07"},
                         {F::MeterTagNbr, "TAG"},
                         {F::Intials, "JD"}});
}

const std::string kReadingsLine = "01  0042"                   // 0-7      user field
                                  + Blanks(12) +               // 8-19
                                  "W"                          // 20       meter type
                                  "SMITH JOHN               "  // 21-45    name
                                  "12 ELM ST            "      // 46-66    address
                                  "MTR1234567          "       // 67-86    serial
                                  " "                          // 87
                                  "99999     "                 // 88-97    maximum
                                  "00100     "                 // 98-107   minimum
                                  "DOG IN YARD" +
                                  Blanks(89) +    // 108-207  message
                                  "05"            // 208-209  digits
                                  + Blanks(6) +   // 210-215
                                  "  1001234567"  // 216-227  service id
                                  "12345     "    // 228-237  reading
                                  + Blanks(10) +  // 238-247
                                  "031524"        // 248-253  date
                                  "000930"        // 254-259  time
                                  + Blanks(20) +  // 260-279
                                  "\r\n";

TEST(DataPointeReadingsLineTest, WritesItsColumns) {
    ASSERT_EQ(kReadingsLine.size(), 282u);
    EXPECT_EQ(WriteMeter("12345"), kReadingsLine);
}

TEST(DataPointeReadingsLineTest, ReadingOfElevenCharactersIsLoggedCut) {
    TempDir dir;
    synclog::Begin(dir / "HotSync.log", nullptr);
    std::string expected = kReadingsLine;
    expected.replace(228, 10, "1234567890");
    EXPECT_EQ(WriteMeter("12345678901"), expected);
    EXPECT_EQ(WriteMeter("1234567890"), expected);
    const auto logged = synclog::End();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].activity, kActivityHandheld);
    EXPECT_EQ(logged[0].text,
              "Wexal - Service   1001234567: reading 12345678901 does not fit its column, "
              "written cut");
}

}  // namespace
}  // namespace wexal::testing
