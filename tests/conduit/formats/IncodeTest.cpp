// Incode: route-file lines and readings lines written by hand column by
// column, its digit caps, the meter-type mark and the demand scaling.
#include <gtest/gtest.h>

#include <string>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/Incode.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

const std::string kRouteLine =
    "0012345678901234567"             // 0-18     service id
    "SMITH JOHN                    "  // 19-48    name
    "12 ELM ST                     "  // 49-78    address
    "DOG IN YARD                   "  // 79-108   message
    " "                               // 109      D mark
    "W"                               // 110      meter type
    "TAG000012345"                    // 111-122  tag
    "XXXXXXXXXXXXXXXXXXXXXX"          // 123-144
    "A  123456"                       // 145-153  maximum
    "B     100"                       // 154-162  minimum
    "        "                        // 163-170
    "R01 "                            // 171-174  route
    " "                               // 175
    "000042"                          // 176-181  sequence
    "06"                              // 182-183  digits
    "C  654321";                      // 184-192  previous

std::string WithDigits(const std::string& digits) {
    std::string line = kRouteLine;
    line.replace(182, 2, digits);
    return line;
}

TEST(IncodeRouteFileTest, ReadsItsColumns) {
    ASSERT_EQ(kRouteLine.size(), 193u);
    TempDir dir;
    IncodeMeter meter;
    ReadLine(meter, dir, kRouteLine);
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "0012345678901234567");
    EXPECT_EQ(meter.Field(F::BillingName), "SMITH JOHN");
    EXPECT_EQ(meter.Field(F::ServiceAddress), "12 ELM ST");
    EXPECT_EQ(meter.Field(F::Message), "DOG IN YARD");
    EXPECT_EQ(meter.Field(F::MeterType), "W");
    EXPECT_EQ(meter.Field(F::MeterTagNbr), "TAG000012345");
    EXPECT_EQ(meter.Field(F::MaxReading), "123456");
    EXPECT_EQ(meter.Field(F::MinReading), "   100");
    EXPECT_EQ(meter.Field(F::PrvReading), "654321");
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R01");
    EXPECT_EQ(meter.Field(F::RouteSequence), "000042");
    EXPECT_EQ(meter.Field(F::Digits), "06");
    EXPECT_EQ(meter.Field(F::ReadType), "S");
    EXPECT_EQ(meter.Field(F::UserDef), "");
    // The billing system sends no serial number.
    EXPECT_FALSE(meter.HasField(F::MeterSerialNbr));
    EXPECT_FALSE(meter.HasField(F::LstReadingDate));
    EXPECT_EQ(meter.Field(F::MeterSerialNbr), "");
}

TEST(IncodeRouteFileTest, DInColumn109MakesADemandMeter) {
    TempDir dir;
    IncodeMeter meter;
    std::string line = kRouteLine;
    line[109] = 'D';
    ReadLine(meter, dir, line);
    EXPECT_EQ(meter.Field(F::MeterType), "D");
}

TEST(IncodeRouteFileTest, DigitsCapAtNineAndNoneGiveNoReadings) {
    struct Case {
        std::string digits, max, min, prv;
    };
    const Case cases[] = {
        {"09", "A  123456", "B     100", "C  654321"},
        {"10", "A  123456", "B     100", "C  654321"},
        {"99", "A  123456", "B     100", "C  654321"},
        {"07", " 123456", "    100", " 654321"},
        {"00", "", "", ""},
        {"  ", "", "", ""},
        {"AB", "", "", ""},
        {"-3", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Digits '" + c.digits + "'");
        TempDir dir;
        IncodeMeter meter;
        ReadLine(meter, dir, WithDigits(c.digits));
        // Trailing blanks go; leading ones stay.
        EXPECT_EQ(meter.Field(F::MaxReading), c.max);
        EXPECT_EQ(meter.Field(F::MinReading), c.min);
        EXPECT_EQ(meter.Field(F::PrvReading), c.prv);
    }
}

// What the upload hands over for one meter.
std::string WriteMeter(const std::string& type, const std::string& initials = "JD",
                       const std::string& reading = "12345") {
    TempDir dir;
    IncodeReading codec;
    return WriteOneLine(codec, dir,
                        {{F::ServiceUniqueID, "0012345678901234567XYZ"},
                         {F::MeterType, type},
                         {F::BillingName, "SMITH JOHN"},
                         {F::ServiceAddress, "12 ELM ST"},
                         {F::ReadingDate, "240315"},
                         {F::CurReading, reading},
                         {F::Intials, initials},
                         {F::ReadingTime, "0930"},
                         {F::MeterTagNbr, "TAG000012345X"},
                         {F::ResponseCode, "07X"}});
}

const std::string kReadingsLine =
    "0012345678901234567"             // 0-18     service id
    " W"                              // 19-20    type mark
    "SMITH JOHN                    "  // 21-50    name
    "12 ELM ST                     "  // 51-80    address
    "     "                           // 81-85
    "031524"                          // 86-91    date
    "    12345"                       // 92-100   reading
    "JD        "                      // 101-110  initials
    "000930"                          // 111-116  time
    "TAG000012345"                    // 117-128  tag
    "        "                        // 129-136
    "07"                              // 137-138  response code
    "\r\n";

TEST(IncodeReadingsLineTest, WritesItsColumns) {
    ASSERT_EQ(kReadingsLine.size(), 141u);
    EXPECT_EQ(WriteMeter("W"), kReadingsLine);
}

TEST(IncodeReadingsLineTest, MeterTypeMark) {
    const std::pair<std::string, std::string> cases[] = {{"W", " W"}, {"D", "DE"}, {"DX", "DE"},
                                                         {"", "  "},  {"d", " d"}, {"ED", " E"}};
    for (const auto& [type, mark] : cases) {
        SCOPED_TRACE("'" + type + "'");
        std::string expected = kReadingsLine;
        expected.replace(19, 2, mark);
        EXPECT_EQ(WriteMeter(type), expected);
    }
}

TEST(IncodeReadingsLineTest, LongInitialsPushThePiecesAfterThem) {
    std::string expected = kReadingsLine;
    expected.replace(101, 10, "ABCDEFGHIJ");
    expected.replace(129, 2, "KL");
    EXPECT_EQ(WriteMeter("W", "ABCDEFGHIJKL"), expected);
}

TEST(IncodeReadingsLineTest, ReadingThatLosesDigitsIsLogged) {
    TempDir dir;
    synclog::Begin(dir / "HotSync.log", nullptr);
    std::string expected = kReadingsLine;
    expected.replace(92, 9, "234567890");
    EXPECT_EQ(WriteMeter("W", "JD", "1234567890"), expected);
    // A leading zero is no digit of the value.
    expected.replace(92, 9, "123456789");
    EXPECT_EQ(WriteMeter("W", "JD", "0123456789"), expected);
    const auto logged = synclog::End();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].activity, kActivityHandheld);
    EXPECT_EQ(logged[0].text,
              "Wexal - Service 0012345678901234567XYZ: reading 1234567890 does not fit its "
              "column, written cut");
}

TEST(IncodeDemandReadingTest, TenThousandthsInAtLeastNineDigits) {
    const std::pair<std::string, std::string> cases[] = {
        {"12.5", "000125000"},      {"12", "000120000"},   {"", "000000000"},
        {"ABC", "000000000"},       {" 7", "000070000"},   {"-12.5", "-00125000"},
        {"123456.7", "1234567000"}, {"12,5", "000120000"}, {"1.5e2", "001500000"},
        {"3e", "000030000"},        {".25", "000002500"},  {"0.00004", "000000000"},
        {"0.00006", "000000001"},   {"1e999", "1e999"},
    };
    for (const auto& [reading, handedOver] : cases) {
        SCOPED_TRACE("'" + reading + "'");
        EXPECT_EQ(IncodeReading::DemandReading(reading), handedOver);
    }
}

}  // namespace
}  // namespace wexal::testing
