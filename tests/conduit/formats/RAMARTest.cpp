// RAMAR route-file lines and readings lines, written by hand column by
// column.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "conduit/formats/RAMAR.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

// One route line, 245 characters; the comments give the columns. Some
// fields of the layout overlap: the address takes the serial number's
// first column, the message the service id's last two and the tag's first
// three.
std::string RouteLine(const std::string& route = " 042") {
    return " "                         // 0
           + route +                   // 1-4      route
           std::string(27, ' ') +      // 5-31
           "JONES MARY          "      // 32-51    name
           "            "              // 52-63
           "12 ELM ST               "  // 64-87    address (and 88)
           "SER00042"                  // 88-95    serial number
           + std::string(48, ' ') +    // 96-143
           "ACCT0012345      "         // 144-160  service id
           "GATE CODE 1234 "           // 161-175  message (159-178)
           "   12345"                  // 176-183  tag
           + std::string(47, ' ') +    // 184-230
           "  4321"                    // 231-236  previous
           "20240315";                 // 237-244  last read date CCYYMMDD
}

TEST(RAMARRouteFileTest, ReadsTheColumnsAndTheConstants) {
    ASSERT_EQ(RouteLine().size(), 245u);
    TempDir dir;
    RAMARMeter meter;
    ReadLine(meter, dir, RouteLine());
    const std::map<F, std::string> expected = {
        {F::SelectedRoute, "0042"},
        {F::BillingName, "JONES MARY"},
        {F::ServiceAddress, "12 ELM ST               S"},
        {F::MeterSerialNbr, "SER00042"},
        {F::ServiceUniqueID, "ACCT0012345"},
        {F::Message, "  GATE CODE 1234"},
        {F::MeterTagNbr, "00012345"},
        {F::PrvReading, "004321"},
        {F::LstReadingDate, "240315"},
        {F::MeterType, "W"},
        {F::RouteSequence, "0000"},
        {F::Digits, "6"},
        {F::MaxReading, ""},
        {F::MinReading, ""},
        {F::ReadType, "S"},
        {F::UserDef, ""},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(meter.Field(field), text) << static_cast<int>(field);
        EXPECT_TRUE(meter.HasField(field)) << static_cast<int>(field);
    }
    EXPECT_EQ(meter.RouteOfFile(), "0042");
}

TEST(RAMARRouteFileTest, PreviousReadingStopsWhereTheDateBegins) {
    // Nine columns from 231 would end the reading in "202".
    TempDir dir;
    RAMARMeter meter;
    ReadLine(meter, dir, RouteLine());
    EXPECT_EQ(meter.Field(F::PrvReading).find("20"), std::string::npos);
}

TEST(RAMARRouteFileTest, ShortLineHasNoPreviousReadingOrDate) {
    TempDir dir;
    RAMARMeter meter;
    ReadLine(meter, dir, RouteLine().substr(0, 200));
    EXPECT_EQ(meter.Field(F::PrvReading), "");
    EXPECT_EQ(meter.Field(F::LstReadingDate), "");
    EXPECT_EQ(meter.Field(F::MeterTagNbr), "00012345");

    TempDir blankRoute;
    RAMARMeter noRoute;
    ReadLine(noRoute, blankRoute, RouteLine("    "));
    EXPECT_EQ(noRoute.Field(F::SelectedRoute), "0000");
}

struct Written {
    std::string line;
    std::vector<std::string> log;
};

Written WriteReading(const std::string& current, const std::string& date = "240315",
                     const std::string& time = "0930") {
    TempDir dir;
    RAMARReading reading;
    synclog::Begin({}, nullptr);
    Written written;
    written.line = WriteOneLine(reading, dir,
                                {{F::SelectedRoute, "0042"},
                                 {F::BillingName, "JONES MARY"},
                                 {F::ServiceAddress, "12 ELM ST"},
                                 {F::ServiceUniqueID, "ACCT0012345"},
                                 {F::MeterTagNbr, "00012345"},
                                 {F::ReadingDate, date},
                                 {F::ReadingTime, time},
                                 {F::CurReading, current},
                                 // Handed over but not written.
                                 {F::ResponseCode, "07"},
                                 {F::UserDef, "UDF"}});
    for (const synclog::Entry& entry : synclog::End()) {
        written.log.push_back(std::to_string(entry.activity) + " " + entry.text);
    }
    return written;
}

TEST(RAMARReadingsLineTest, EndsInTheStampAndTheReading) {
    const std::string expected =
        " "                          // 0
        "0042"                       // 1-4      route
        + std::string(27, ' ') +     // 5-31
        "JONES MARY          "       // 32-51    name
        "            "               // 52-63
        "12 ELM ST                "  // 64-88    address
        + std::string(55, ' ') +     // 89-143
        "ACCT0012345      "          // 144-160  service id
        + std::string(15, ' ') +     // 161-175
        "00012345"                   // 176-183  tag
        + std::string(31, ' ') +     // 184-214
        "20240315000930"             // 215-228  date and time
        "0000012345"                 // 229-238  reading
        + std::string(17, ' ') +     // 239-255
        "\r\n";
    const Written written = WriteReading("12345");
    EXPECT_EQ(written.line, expected);
    EXPECT_TRUE(written.log.empty());
}

TEST(RAMARReadingsLineTest, StampIsZeroFilled) {
    EXPECT_EQ(WriteReading("1", "", "").line.substr(215, 14), "20000000000000");
    EXPECT_EQ(WriteReading("1", "240315", "101500").line.substr(215, 14), "20240315101500");
}

TEST(RAMARReadingsLineTest, ReadingBeyondNineDigitsIsCutAndLogged) {
    const Written written = WriteReading("1234567890");
    EXPECT_EQ(written.line.substr(229, 10), "0123456789");
    EXPECT_EQ(written.log, (std::vector<std::string>{
                               "22 Wexal - Service ACCT0012345: reading 01234567890 does not "
                               "fit its column, written cut"}));
    EXPECT_TRUE(WriteReading("123456789").log.empty());
}

}  // namespace
}  // namespace wexal::testing
