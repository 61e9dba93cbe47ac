// LogHH route-file lines and readings lines, written by hand column by
// column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/formats/LogHH.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

const std::string kHeaderLine = "CITY OF SPRINGFIELD   \t  LOGHH EXPORT 240315";

const std::string kRouteLine =
    "14 OAK AVE               "  // 0-24     address
    "  "                         // 25-26
    "SVC0001234"                 // 27-36    service id
    + std::string(40, ' ') +     // 37-76
    "R07"                        // 77-79    route
    "-0"                         // 80-81
    "0042"                       // 82-85    sequence
    " "                          // 86
    "W"                          // 87       meter type
    "12 45678"                   // 88-95    tag and serial
    "          "                 // 96-105
    "  1500"                     // 106-111  previous
    "009000"                     // 112-117  maximum
    "000100"                     // 118-123  minimum
    + std::string(35, ' ') +     // 124-158
    "GATE CODE 1234      "       // 159-178  message
    "SMITH JOHN          ";      // 179-198  name

TEST(LogHHRouteFileTest, ReadsTheMeterColumns) {
    ASSERT_EQ(kRouteLine.size(), 199u);
    TempDir dir;
    LogHHMeter meter;
    ReadLine(meter, dir, kRouteLine);
    const std::pair<F, std::string> expected[] = {
        {F::ServiceUniqueID, "SVC0001234"},
        {F::BillingName, "SMITH JOHN"},
        {F::ServiceAddress, "14 OAK AVE"},
        {F::Message, "GATE CODE 1234"},
        {F::MeterType, "W"},
        {F::MeterTagNbr, "12045678"},     // blanks become zeros in the tag
        {F::MeterSerialNbr, "12 45678"},  // and stay in the serial
        {F::MaxReading, "009000"},
        {F::MinReading, "000100"},
        {F::PrvReading, "001500"},
        {F::SelectedRoute, "R07"},
        {F::RouteSequence, "0042"},
        {F::Digits, "6"},
        {F::LstReadingDate, "      "},
        {F::ReadType, "S"},
        {F::UserDef, ""},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(meter.Field(field), text) << "field " << static_cast<int>(field);
        EXPECT_TRUE(meter.HasField(field)) << "field " << static_cast<int>(field);
    }
}

TEST(LogHHRouteFileTest, HeaderIsReadLikeAnyLineAndNamesTheFile) {
    TempDir dir;
    LogHHMeter meter;
    OpenRouteFile(meter, dir, kHeaderLine + "\r\n" + kRouteLine + "\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    // Only blanks are trimmed by the reader; the download trims the rest.
    EXPECT_EQ(meter.Field(F::ServiceAddress), "CITY OF SPRINGFIELD   \t");
    EXPECT_EQ(meter.Field(F::PrvReading), "");  // a short line
    EXPECT_EQ(meter.RouteOfFile(), "");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R07");
    EXPECT_EQ(meter.RouteOfFile(), "R07");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

void HandOver(LogHHReading& reading, const std::string& current) {
    const std::pair<F, std::string> fields[] = {
        {F::ServiceAddress, "14 OAK AVE"},
        {F::ServiceUniqueID, "SVC0001234"},
        {F::SelectedRoute, "R07"},
        {F::RouteSequence, "0042"},
        {F::MeterType, "W"},
        {F::MeterTagNbr, "12045678"},
        {F::CurReading, current},
        {F::PrvReading, "001500"},
        {F::MaxReading, "009000"},
        {F::MinReading, "000100"},
        {F::ReadingDate, "240315"},
        {F::ReadingTime, "0930"},
        {F::ResponseText, "GATE LOCKED"},
        {F::BillingName, "SMITH JOHN"},
        {F::ResponseCode, "07"},
        {F::Intials, "JD"},
        {F::UserDef, "CITY OF SPRINGFIELD"},
    };
    for (const auto& [field, text] : fields) {
        reading.SetField(field, text);
    }
}

const std::string kReadingsLine =
    "14 OAK AVE               "  // 0-24     address
    "  "                         // 25-26
    "SVC0001234"                 // 27-36    service id
    + std::string(40, ' ') +     // 37-76
    "R07"                        // 77-79    route
    "-0"                         // 80-81
    "0042"                       // 82-85    sequence
    " "                          // 86
    "W"                          // 87       meter type
    "12045678    "               // 88-99    tag
    "002345"                     // 100-105  reading
    "001500"                     // 106-111  previous
    "009000"                     // 112-117  maximum
    "000100"                     // 118-123  minimum
    " "                          // 124
    "031524"                     // 125-130  date
    "000930"                     // 131-136  time
    + std::string(22, ' ') +     // 137-158
    "GATE LOCKED         "       // 159-178  response text
    "SMITH JOHN          "       // 179-198  name
    + std::string(40, ' ') +     // 199-238
    "X"                          // 239
    "\r\n";

TEST(LogHHReadingsFileTest, WritesTheMeterBlockBack) {
    ASSERT_EQ(kReadingsLine.size(), 242u);
    TempDir dir;
    const auto path = dir / "readings.txt";
    LogHHReading reading;
    ASSERT_EQ(reading.Open(path.string(), 1), 0);
    HandOver(reading, "2345");  // four digits get two zeros in front
    ASSERT_EQ(reading.Write(), 0);
    ASSERT_EQ(reading.Close(), 0);
    EXPECT_EQ(ReadFile(path), kReadingsLine);
}

TEST(LogHHReadingsFileTest, ReadingLongerThanSixColumnsIsCutAndLogged) {
    TempDir dir;
    const auto path = dir / "readings.txt";
    LogHHReading reading;
    ASSERT_EQ(reading.Open(path.string(), 1), 0);
    HandOver(reading, "12345678");
    synclog::Begin({}, nullptr);
    EXPECT_EQ(reading.Write(), 0);
    HandOver(reading, "123456");  // fits exactly: nothing to report
    EXPECT_EQ(reading.Write(), 0);
    const std::vector<synclog::Entry> log = synclog::End();
    ASSERT_EQ(reading.Close(), 0);

    const std::string file = ReadFile(path);
    ASSERT_EQ(file.size(), 2 * 242u);
    EXPECT_EQ(file.substr(100, 12), "123456001500");  // the rest of the line stays put
    EXPECT_EQ(file.substr(242 + 100, 6), "123456");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].activity, 22);
    EXPECT_NE(log[0].text.find("SVC0001234"), std::string::npos) << log[0].text;
    EXPECT_NE(log[0].text.find("12345678"), std::string::npos) << log[0].text;
}

}  // namespace
}  // namespace wexal::testing
