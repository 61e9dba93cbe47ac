// The exceptions-capture line, its file, and the rules that pick the meters.
#include <gtest/gtest.h>

#include "conduit/ExceptionLine.h"
#include "conduit/ExceptionRule.h"
#include "conduit/HHException.h"
#include "conduit/HHMeter.h"
#include "conduit/WexalConduit.h"
#include "tests/conduit/SmallDisk.h"
#include "tests/support/TempDir.h"

namespace {

using wexal::testing::ReadFile;
using wexal::testing::SmallDisk;
using wexal::testing::TempDir;

void FillEveryField(HHMeter& meter) {
    meter.ServiceUniqueID = "SVC-1";
    meter.MeterTagNbr = "TAG-2";
    meter.MeterSerialNbr = "SER-3";
    meter.MeterType = "W";
    meter.RouteSequence = "0007";
    meter.Digits = "06";
    meter.PrvReading = "100";
    meter.MaxReading = "200";
    meter.MinReading = "50";
    meter.CurReading = "123";
    meter.ReadingDate = "240315";
    meter.ReadingTime = "0930";
    meter.BillingName = "JONES MARY";
    meter.ServiceAddress = "12 ELM ST";
    meter.Message = "DOG";
    meter.Status = "E";
    meter.Intials = "AB";
    meter.ResponseCode = "01";
    meter.ResponseText = "Dog in yard";
    meter.LstReadingDate = "240215";
    meter.ReadType = "S";  // not part of the line
}

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

TEST(ExceptionLineTest, FieldsStandInTheirColumns) {
    HHMeter meter;
    FillEveryField(meter);
    // The desktop's report reads columns 1-20, 21-40, 41-50, 51, 52-55, ...
    const std::string expected =
        "SVC-1" + Blanks(15) + "TAG-2" + Blanks(15) + "SER-3" + Blanks(5) + "W" + "0007" + "06" +
        Blanks(7) + "100" + Blanks(7) + "200" + Blanks(8) + "50" + Blanks(7) + "123" + "240315" +
        "0930  " + "JONES MARY" + Blanks(50) + "12 ELM ST" + Blanks(51) + "DOG" + Blanks(57) + "E" +
        "AB" + Blanks(8) + "01" + "Dog in yard" + Blanks(49) + "240215" + "\r\n";
    EXPECT_EQ(FormatExceptionLine(meter), expected);
}

TEST(ExceptionLineTest, EmptyMeterGivesBlanks) {
    HHMeter meter;
    EXPECT_EQ(FormatExceptionLine(meter), std::string(368, ' ') + "\r\n");
}

TEST(ExceptionLineTest, LongFieldsAreCutSoLaterColumnsHold) {
    HHMeter meter;
    meter.CurReading = "12345678901";
    meter.BillingName = std::string(61, 'N');
    meter.Message = "line one\r\nline two";
    meter.LstReadingDate = "240215";
    const std::string expected = Blanks(87) + "1234567890" + Blanks(12) + std::string(60, 'N') +
                                 Blanks(60) + "line one  line two" + Blanks(42 + 73) + "240215" +
                                 "\r\n";
    EXPECT_EQ(FormatExceptionLine(meter), expected);
}

TEST(WriteExceptionTest, AppendsLinesAndKeepsEarlierOnes) {
    TempDir dir;
    const auto path = dir / "exceptions.txt";
    wexal::testing::WriteFile(path, "earlier\r\n");
    HHMeter meter;
    FillEveryField(meter);
    WexalConduit conduit;
    EXPECT_EQ(conduit.WriteException(meter, path.string()), 0);
    meter.ServiceUniqueID = "SVC-2";
    EXPECT_EQ(conduit.WriteException(meter, path.string()), 0);
    const std::string text = ReadFile(path);
    ASSERT_EQ(text.size(), 9u + 2 * 370u);
    EXPECT_EQ(text.substr(0, 9), "earlier\r\n");
    EXPECT_EQ(text.substr(9, 5), "SVC-1");
    EXPECT_EQ(text.substr(9 + 370, 5), "SVC-2");
}

TEST(WriteExceptionTest, FullDiskIsReportedAtClose) {
    SmallDisk disk;
    if (!disk.Mounted()) {
        GTEST_SKIP() << "no permission to mount a small file system";
    }
    disk.Fill();
    HHMeter meter;
    WexalConduit conduit;
    const auto path = disk.Path() / "exceptions.txt";
    EXPECT_EQ(conduit.WriteException(meter, path.string()), -1);

    HHException file;
    ASSERT_EQ(file.Open(path.string()), 0);
    EXPECT_EQ(file.Write("fits in the buffer\r\n"), 0);
    EXPECT_EQ(file.Close(), -1);
    EXPECT_EQ(file.Close(), 0);  // nothing left open
}

TEST(ExceptionRuleTest, RulesWeighStatusResponseAndRange) {
    HHMeter meter;
    meter.Status = "E ";  // not exactly "E"
    EXPECT_FALSE(MeetsExceptionRule(ExceptionRule::A, meter));
    meter.Status = "U";
    EXPECT_FALSE(MeetsExceptionRule(ExceptionRule::A, meter));
    EXPECT_TRUE(MeetsExceptionRule(ExceptionRule::B, meter));
    EXPECT_TRUE(MeetsExceptionRule(ExceptionRule::C, meter));

    meter.Status = "R";
    meter.CurReading = "150";
    meter.MaxReading = "200";
    meter.MinReading = "100";
    EXPECT_FALSE(MeetsExceptionRule(ExceptionRule::B, meter));
    EXPECT_FALSE(MeetsExceptionRule(ExceptionRule::C, meter));
    meter.ResponseText = "Gate locked";
    EXPECT_TRUE(MeetsExceptionRule(ExceptionRule::A, meter));
    meter.ResponseText.clear();
    meter.Status = "E";
    EXPECT_TRUE(MeetsExceptionRule(ExceptionRule::A, meter));
}

TEST(ExceptionRuleTest, RangeComparesLeadingWholeNumbers) {
    HHMeter meter;
    meter.Status = "R";
    meter.MinReading = "0";
    meter.MaxReading = "100";
    meter.CurReading = "0099";
    EXPECT_FALSE(MeetsExceptionRule(ExceptionRule::C, meter));
    meter.MaxReading = "12";
    meter.CurReading = "12.7";
    EXPECT_FALSE(MeetsExceptionRule(ExceptionRule::C, meter));
    meter.CurReading = "13";
    EXPECT_TRUE(MeetsExceptionRule(ExceptionRule::C, meter));
    // Empty or non-numeric bounds count as 0.
    meter.MaxReading = "N/A";
    meter.CurReading = "1";
    EXPECT_TRUE(MeetsExceptionRule(ExceptionRule::C, meter));
    // Beyond 32 bits the comparison keeps its sign.
    meter.MaxReading = "99999999999";
    meter.CurReading = "4294967296";
    EXPECT_FALSE(MeetsExceptionRule(ExceptionRule::C, meter));
    meter.MinReading = "-5";
    meter.CurReading = "-6";
    EXPECT_TRUE(MeetsExceptionRule(ExceptionRule::C, meter));
}

}  // namespace
