// OurTown route-file lines and readings lines, written by hand column by
// column.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "conduit/formats/OurTown.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

// One route line, 174 characters; the comments give the columns.
std::string RouteLine(const std::string& account = "ACCT1",
                      const std::string& maximum = "  0123456", char meterType = ' ') {
    return "        "                     // 0-7
           "JONES MARY          "         // 8-27     name
           "12 ELM ST           "         // 28-47    address
           + std::string(19, ' ') +       // 48-66
           "SER0000042"                   // 67-76    serial number
           + maximum +                    // 77-85    maximum
           "      100"                    // 86-94    minimum
           "000654321"                    // 95-103   previous
           + std::string(16, ' ') +       // 104-119
           "12"                           // 120-121  service id: route,
           "345"                          // 122-124  sequence,
           "00000"                        // 125-129
           + account +                    // 130-134  account
           "        "                     // 135-142
           + std::string(1, meterType) +  // 143  meter type
           std::string(20, ' ') +         // 144-163
           "TAG0000777";                  // 164-173  tag
}

TEST(OurTownRouteFileTest, ReadsTheColumnsOfTheFrame) {
    ASSERT_EQ(RouteLine().size(), 174u);
    TempDir dir;
    OurTownMeter meter;
    ReadLine(meter, dir, RouteLine());
    const std::map<F, std::string> expected = {
        {F::BillingName, "JONES MARY"},
        {F::ServiceAddress, "12 ELM ST"},
        {F::MeterSerialNbr, "SER0000042"},
        {F::MaxReading, "000123456"},
        {F::MinReading, "000000100"},
        {F::PrvReading, "000654321"},
        {F::ServiceUniqueID, "1234500000ACCT1"},
        {F::SelectedRoute, "12"},
        {F::RouteSequence, "345"},
        {F::UserDef, "ACCT1"},
        {F::MeterType, "W"},
        {F::MeterTagNbr, "TAG0000777"},
        {F::Digits, "00"},
        {F::LstReadingDate, ""},
        {F::ReadType, "S"},
        {F::Message, ""},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(meter.Field(field), text) << static_cast<int>(field);
        EXPECT_TRUE(meter.HasField(field)) << static_cast<int>(field);
    }
    EXPECT_EQ(meter.RouteOfFile(), "12");
}

TEST(OurTownRouteFileTest, MeterTypeOnlyFromALineThatReachesItsColumn) {
    TempDir dir;
    OurTownMeter shortLine;
    ReadLine(shortLine, dir, RouteLine().substr(0, 140));
    EXPECT_EQ(shortLine.Field(F::MeterType), "");

    TempDir other;
    OurTownMeter electric;
    ReadLine(electric, other, RouteLine("ACCT1", "  0123456", 'E'));
    EXPECT_EQ(electric.Field(F::MeterType), "E");
}

TEST(OurTownRouteFileTest, EmptyLinesCarryNoMeter) {
    // An empty line must not give the meter before it a second time.
    TempDir dir;
    OurTownMeter meter;
    OpenRouteFile(meter, dir,
                  "\r\n" + RouteLine("ACCT1") + "\r\n\r\n\n" + RouteLine("ACCT2") + "\r\n\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::UserDef), "ACCT1");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::UserDef), "ACCT2");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

struct Written {
    std::string line;
    std::vector<std::string> log;
};

Written WriteReading(const std::string& current, const std::string& maximum = "000123456") {
    TempDir dir;
    OurTownReading reading;
    synclog::Begin({}, nullptr);
    Written written;
    written.line = WriteOneLine(reading, dir,
                                {{F::BillingName, "JONES MARY"},
                                 {F::ServiceAddress, "12 ELM ST"},
                                 {F::MeterSerialNbr, "SER0000042"},
                                 {F::MaxReading, maximum},
                                 {F::MinReading, "000000100"},
                                 {F::CurReading, current},
                                 {F::ServiceUniqueID, "1234500000ACCT1"},
                                 {F::ReadingDate, "240315"},
                                 {F::MeterTagNbr, "TAG0000777"},
                                 // Handed over but not written.
                                 {F::ReadingTime, "0930"},
                                 {F::RouteSequence, "0345"}});
    for (const synclog::Entry& entry : synclog::End()) {
        written.log.push_back(std::to_string(entry.activity) + " " + entry.text);
    }
    return written;
}

TEST(OurTownReadingsLineTest, WritesTheFrameWithTheCurrentReading) {
    const std::string expected =
        "        "                // 0-7
        "JONES MARY          "    // 8-27     name
        "12 ELM ST           "    // 28-47    address
        + std::string(19, ' ') +  // 48-66
        "SER0000042"              // 67-76    serial number
        "000123456"               // 77-85    maximum
        "000000100"               // 86-94    minimum
        "000012345"               // 95-103   current
        + std::string(16, ' ') +  // 104-119
        "1234500000ACCT1"         // 120-134  service id
        "03/15/24"                // 135-142  date
        + std::string(21, ' ') +  // 143-163
        "TAG0000777"              // 164-173  tag
        + std::string(80, ' ') +  // 174-253
        "\r\n";
    const Written written = WriteReading("000012345");
    EXPECT_EQ(written.line, expected);
    EXPECT_TRUE(written.log.empty());
}

TEST(OurTownReadingsLineTest, ValueBeyondNineColumnsIsCutAndLogged) {
    const Written reading = WriteReading("1234567890");
    EXPECT_EQ(reading.line.substr(95, 9), "123456789");
    EXPECT_EQ(reading.log,
              (std::vector<std::string>{"22 Wexal - Service 1234500000ACCT1: reading 1234567890 "
                                        "does not fit its column, written cut"}));

    const Written maximum = WriteReading("000012345", "9876543210");
    EXPECT_EQ(maximum.line.substr(77, 9), "987654321");
    EXPECT_EQ(maximum.log.size(), 1u);

    // Blanks behind a value cost no digit.
    EXPECT_TRUE(WriteReading("123456789 ").log.empty());
}

}  // namespace
}  // namespace wexal::testing
