// Connekt route-file lines and readings lines, written by hand column by
// column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/formats/Connekt.h"
#include "platform/synclog/SyncLog.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

const std::string kRouteLine =
    "  "                      // 0-1      record mark
    "XXXXXX"                  // 2-7
    "SMITH JOHN          "    // 8-27     name
    "12 ELM ST           "    // 28-47    address
    "0012345678"              // 48-57    tag
    "   "                     // 58-60
    "AB1wC"                   // 61-65    user field; 63 ends the service id, 64 meter type
    " "                       // 66
    "SER4567890"              // 67-76    serial
    "000123456"               // 77-85    maximum
    "   000100"               // 86-94    minimum
    "000050000"               // 95-103   previous
    "            "            // 104-115
    "R07 "                    // 116-119  route
    "SVC000000012345"         // 120-134  service id
    "03152024"                // 135-142  last reading date, MMDDCCYY
    "d"                       // 143      read type mark
    "                      "  // 144-165
    "0042"                    // 166-169  sequence
    "CALL FIRST          ";   // 170-189  message

std::string WithColumns(std::string line, std::size_t column, const std::string& text) {
    line.replace(column, text.size(), text);
    return line;
}

TEST(ConnektRouteFileTest, ReadsTheMeterColumns) {
    ASSERT_EQ(kRouteLine.size(), 190u);
    TempDir dir;
    ConnektMeter meter;
    ReadLine(meter, dir, kRouteLine);
    const std::pair<F, std::string> expected[] = {
        {F::ServiceUniqueID, "SVC0000000123451"},
        {F::BillingName, "SMITH JOHN"},
        {F::ServiceAddress, "12 ELM ST"},
        {F::Message, "CALL FIRST"},
        {F::MeterType, "W"},
        {F::MeterTagNbr, "000012345678"},
        {F::MeterSerialNbr, "SER4567890"},
        {F::MaxReading, "000123456"},
        {F::MinReading, "000000100"},
        {F::PrvReading, "000050000"},
        {F::SelectedRoute, "R07"},
        {F::RouteSequence, "0042"},
        {F::Digits, "0"},
        {F::LstReadingDate, "240315"},
        {F::ReadType, "P"},
        {F::UserDef, "AB1wC"},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(meter.Field(field), text) << "field " << static_cast<int>(field);
        EXPECT_TRUE(meter.HasField(field)) << "field " << static_cast<int>(field);
    }
}

TEST(ConnektRouteFileTest, RecordsBeginWithTwoBlanksOrZeros) {
    TempDir dir;
    ConnektMeter meter;
    OpenRouteFile(meter, dir,
                  "H CONNEKT EXPORT\r\n" + WithColumns(kRouteLine, 0, "00") + "\r\n" +
                      WithColumns(kRouteLine, 0, " X") + "\r\n" +
                      WithColumns(kRouteLine, 116, "R08 ") + "\r\nT 2\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R07");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R08");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
    EXPECT_EQ(meter.RouteOfFile(), "R07");
}

TEST(ConnektRouteFileTest, RouteFallsBackOnTheServiceColumns) {
    const std::string noRoute = WithColumns(kRouteLine, 116, "    ");
    struct Case {
        std::string line;
        std::string route;
    };
    const Case cases[] = {
        {noRoute, "SV"},                                // two columns at 120
        {WithColumns(noRoute, 120, "00R9"), "00R9"},    // "00": four columns
        {WithColumns(noRoute, 120, "  R9"), "  R9"},    // blank: four columns
        {WithColumns(noRoute, 120, "7 R9"), "7"},       // trailing blank removed
        {noRoute.substr(0, 120), "000"},                // no columns left at all
        {WithColumns(kRouteLine, 116, " R7 "), " R7"},  // leading blanks stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.route);
        TempDir dir;
        ConnektMeter meter;
        ReadLine(meter, dir, c.line);
        EXPECT_EQ(meter.Field(F::SelectedRoute), c.route);
    }
}

TEST(ConnektRouteFileTest, FallbacksForSerialPreviousReadingAndMarks) {
    std::string line = WithColumns(kRouteLine, 67, "          ");  // no serial
    line = WithColumns(line, 95, "         ");                     // no previous reading
    line = WithColumns(line, 64, "E");                             // meter type as given
    line = WithColumns(line, 143, "X");                            // no read type mark
    TempDir dir;
    ConnektMeter meter;
    ReadLine(meter, dir, line);
    EXPECT_EQ(meter.Field(F::MeterSerialNbr), "0012345678");
    EXPECT_EQ(meter.Field(F::PrvReading), "000000100");  // the minimum's digits
    EXPECT_EQ(meter.Field(F::MeterType), "E");
    EXPECT_EQ(meter.Field(F::ReadType), "S");

    // A previous reading of zeros or letters counts as none too.
    TempDir lettersDir;
    ConnektMeter letters;
    ReadLine(letters, lettersDir, WithColumns(kRouteLine, 95, "ABC      "));
    EXPECT_EQ(letters.Field(F::PrvReading), "000000100");
    TempDir upperDir;
    ConnektMeter upper;
    ReadLine(upper, upperDir, WithColumns(kRouteLine, 143, "D"));
    EXPECT_EQ(upper.Field(F::ReadType), "P");
}

// The meter of kRouteLine as the handheld hands it back, read.
void HandOver(ConnektReading& reading) {
    const std::pair<F, std::string> fields[] = {
        {F::ServiceUniqueID, "SVC0000000123451"},
        {F::BillingName, "SMITH JOHN"},
        {F::ServiceAddress, "12 ELM ST"},
        {F::MeterTagNbr, "000012345678"},
        {F::UserDef, "AB1wC"},
        {F::MeterSerialNbr, "SER4567890"},
        {F::MaxReading, "000123456"},
        {F::MinReading, "000000100"},
        {F::CurReading, "54321"},
        {F::ReadingTime, "093015"},
        {F::ReadingDate, "240315"},
        {F::RouteSequence, "0042"},
        {F::SelectedRoute, "IGNORED"},
    };
    for (const auto& [field, text] : fields) {
        reading.SetField(field, text);
    }
}

const std::string kReadingsLine =
    "        "                // 0-7
    "SMITH JOHN          "    // 8-27     name
    "12 ELM ST           "    // 28-47    address
    "0012345678"              // 48-57    tag without the reader's zeros
    "   "                     // 58-60
    "AB1wC"                   // 61-65    user field
    " "                       // 66
    "SER456789"               // 67-75    serial
    " "                       // 76
    "000123456"               // 77-85    maximum
    "000000100"               // 86-94    minimum
    "000054321"               // 95-103   reading
    "093015"                  // 104-109  time
    "      "                  // 110-115
    "R07 "                    // 116-119  route of the write
    "SVC000000012345"         // 120-134  service id
    "03/15/24"                // 135-142  date
    "                   "     // 143-161
    "00000042"                // 162-169  sequence
    + std::string(84, ' ') +  // 170-253
    "\r\n";

TEST(ConnektReadingsFileTest, HeaderThenOneLinePerReading) {
    ASSERT_EQ(kReadingsLine.size(), 256u);
    TempDir dir;
    const auto path = dir / "readings.txt";
    WriteFile(path, "earlier\r\n");
    {
        ConnektReading reading;
        ASSERT_EQ(reading.Open(path.string(), 1), 0);
        HandOver(reading);
        EXPECT_EQ(reading.Write("R07"), 0);
        EXPECT_EQ(reading.Close(), 0);
    }
    EXPECT_EQ(ReadFile(path), "earlier\r\nH\r\n" + kReadingsLine);

    // Each open starts with its own header, written or not.
    {
        ConnektReading reading;
        ASSERT_EQ(reading.Open(path.string(), 1), 0);
    }
    EXPECT_EQ(ReadFile(path), "earlier\r\nH\r\n" + kReadingsLine + "H\r\n");
}

TEST(ConnektReadingsFileTest, EmptyValuesLeaveTheirColumnsBlank) {
    TempDir dir;
    const auto path = dir / "readings.txt";
    ConnektReading reading;
    ASSERT_EQ(reading.Open(path.string(), 1), 0);
    HandOver(reading);
    reading.SetField(F::CurReading, "   ");
    reading.SetField(F::ReadingTime, "000000");
    reading.SetField(F::ReadingDate, "");
    reading.SetField(F::MaxReading, "-12");
    reading.SetField(F::RouteSequence, "123456");
    ASSERT_EQ(reading.Write("ROUTE9"), 0);
    ASSERT_EQ(reading.Close(), 0);
    const std::string line = ReadFile(path).substr(3);
    EXPECT_EQ(line.substr(77, 9), "-00000012");
    EXPECT_EQ(line.substr(95, 15), std::string(15, ' '));  // reading and time
    EXPECT_EQ(line.substr(116, 4), "ROUT");
    EXPECT_EQ(line.substr(135, 8), std::string(8, ' '));
    EXPECT_EQ(line.substr(162, 8), "00003456");
    EXPECT_EQ(line.size(), 256u);
}

TEST(ConnektReadingsFileTest, ReadingTooLongForItsColumnsIsLogged) {
    TempDir dir;
    const auto path = dir / "readings.txt";
    ConnektReading reading;
    ASSERT_EQ(reading.Open(path.string(), 1), 0);
    HandOver(reading);
    reading.SetField(F::CurReading, "1234567890");
    synclog::Begin({}, nullptr);
    EXPECT_EQ(reading.Write("R07"), 0);
    const std::vector<synclog::Entry> log = synclog::End();
    ASSERT_EQ(reading.Close(), 0);
    EXPECT_EQ(ReadFile(path).substr(3 + 95, 9), "123456789");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].activity, 22);
    EXPECT_NE(log[0].text.find("SVC0000000123451"), std::string::npos) << log[0].text;
    EXPECT_NE(log[0].text.find("1234567890"), std::string::npos) << log[0].text;
}

}  // namespace
}  // namespace wexal::testing
