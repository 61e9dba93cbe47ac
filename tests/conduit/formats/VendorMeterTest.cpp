// The route-file engine on the standard layout: digit rule, line ends,
// route of file, wrong mode and read errors.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "conduit/TrailingWhiteSpace.h"
#include "conduit/formats/AccuFund.h"
#include "conduit/formats/StandardLayouts.h"
#include "platform/msgbox/MessageBox.h"
#include "tests/conduit/formats/CodecFiles.h"

namespace wexal::testing {
namespace {

using F = CodecField;

void Put(std::string& line, std::size_t column, std::string_view text) {
    line.replace(column, text.size(), text);
}

// A standard line whose maximum reading columns hold ten known characters
// (the tenth in the column left of the field); the minimum and previous
// readings have nine, and the column left of each belongs to another field.
std::string LineWithDigits(std::string_view digits) {
    std::string line(191, ' ');
    Put(line, 142, "X123456789");  // maximum, last column 151
    Put(line, 152, "987654321");   // minimum, last column 160
    Put(line, 169, "R01");         // route
    Put(line, 182, "246813579");   // previous, last column 190
    Put(line, 180, digits);
    return line;
}

struct DigitCase {
    std::string digits;
    std::string max, min, prv;
};

TEST(VendorMeterTest, DigitRuleCutsTheReadingsThatEndAtTheirLastColumns) {
    const std::vector<DigitCase> cases = {
        {"06", "456789", "654321", "813579"},
        {" 6", "456789", "654321", "813579"},
        {"  ", "123456789", "987654321", "246813579"},
        {"00", "123456789", "987654321", "246813579"},
        {"AB", "123456789", "987654321", "246813579"},
        {"12", "X123456789", "9987654321", "2246813579"},
        {"10", "X123456789", "9987654321", "0246813579"},
        {"-1", "", "", ""},
    };
    for (const DigitCase& c : cases) {
        SCOPED_TRACE("Digits '" + c.digits + "'");
        TempDir dir;
        AccuFundMeter meter;
        ReadLine(meter, dir, LineWithDigits(c.digits));
        EXPECT_EQ(meter.Field(F::MaxReading), c.max);
        EXPECT_EQ(meter.Field(F::MinReading), c.min);
        EXPECT_EQ(meter.Field(F::PrvReading), c.prv);
    }
}

TEST(VendorMeterTest, DigitsFieldKeepsItsTextWithoutTrailingBlanks) {
    TempDir dir;
    AccuFundMeter meter;
    std::string line(191, ' ');
    Put(line, 180, "6 123456789");
    ReadLine(meter, dir, line);
    EXPECT_EQ(meter.Field(F::Digits), "6");
    EXPECT_EQ(meter.Field(F::PrvReading), "456789");
}

TEST(VendorMeterTest, LastLineWithoutLineEndKeepsItsLastCharacter) {
    TempDir dir;
    AccuFundMeter meter;
    const std::string line = LineWithDigits("09");
    OpenRouteFile(meter, dir, line + "\r\n" + line);
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::PrvReading), "246813579");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

TEST(VendorMeterTest, OverLongLineGivesOneRecordAndItsTailNone) {
    TempDir dir;
    AccuFundMeter meter;
    std::string longLine = LineWithDigits("09") + std::string(409, 'T');
    Put(longLine, 300, "R99");  // would be a route if the tail were read as a record
    std::string next(191, ' ');
    Put(next, 169, "R02");
    OpenRouteFile(meter, dir, longLine + "\n" + next + "\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R01");
    EXPECT_EQ(meter.Field(F::PrvReading), "246813579");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R02");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

TEST(VendorMeterTest, ShortLineGivesEmptyAndShorterFields) {
    TempDir dir;
    AccuFundMeter meter;
    ReadLine(meter, dir, "      12345678901SMITH");
    EXPECT_EQ(meter.Field(F::ServiceUniqueID), "      12345678901");
    EXPECT_EQ(meter.Field(F::BillingName), "SMITH");
    EXPECT_EQ(meter.Field(F::ServiceAddress), "");
    EXPECT_EQ(meter.Field(F::SelectedRoute), "");
    EXPECT_EQ(meter.Field(F::ReadType), "S");
    // Nine digits: reading columns past the end of the line give nothing.
    EXPECT_EQ(meter.Field(F::PrvReading), "");
}

TEST(VendorMeterTest, FirstRecordFixesTheRouteOfFile) {
    TempDir dir;
    AccuFundMeter meter;
    std::string first(191, ' ');
    std::string second = first;
    Put(first, 169, "B7  ");
    Put(second, 169, "A1");
    OpenRouteFile(meter, dir, first + "\n" + second + "\n");
    EXPECT_EQ(meter.RouteOfFile(), "");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.RouteOfFile(), "B7");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "A1");
    EXPECT_EQ(meter.RouteOfFile(), "B7");
}

TEST(VendorMeterTest, ReadInTheWrongModeShowsTheBoxAndReadsNothing) {
    std::vector<std::string> boxes;
    msgbox::SetCapture(
        [&boxes](const std::string&, const std::string& text) { boxes.push_back(text); });
    TempDir dir;
    AccuFundMeter meter;
    EXPECT_EQ(meter.Open((dir / "missing.txt").string()), -1);
    EXPECT_EQ(meter.Path(), "");
    EXPECT_EQ(meter.Read(), VendorMeter::kWrongMode);
    msgbox::SetCapture(nullptr);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Bailing because of interface mode"}));
}

TEST(VendorMeterTest, ReadAfterCloseIsTheEndOfTheFile) {
    TempDir dir;
    AccuFundMeter meter;
    OpenRouteFile(meter, dir, LineWithDigits("09") + "\n");
    meter.Close();
    meter.Close();
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

TEST(VendorMeterTest, ReadErrorKeepsThePreviousRecord) {
    TempDir dir;
    AccuFundMeter meter;
    ReadLine(meter, dir, LineWithDigits("09"));
    // Reading a process's own memory at address 0 fails with an I/O error.
    ASSERT_EQ(meter.Open("/proc/self/mem"), 0);
    EXPECT_EQ(meter.Read(), VendorMeter::kReadError);
    EXPECT_EQ(meter.Read(), VendorMeter::kReadError);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R01");
    EXPECT_EQ(meter.Field(F::MaxReading), "123456789");
}

TEST(VendorMeterTest, FieldsOutsideTheLayoutStayEmpty) {
    TempDir dir;
    AccuFundMeter meter;
    ReadLine(meter, dir, LineWithDigits("09"));
    EXPECT_TRUE(meter.HasField(F::UserDef));
    EXPECT_FALSE(meter.HasField(F::LstReadingDate));
    EXPECT_FALSE(meter.HasField(F::CurReading));
    EXPECT_EQ(meter.Field(F::LstReadingDate), "");
}

// A vendor whose files may hold "+" lines that count as the record before.
class RepeatingMeter : public VendorMeter {
  public:
    RepeatingMeter() : VendorMeter(StandardRouteLayout()) {}

  protected:
    LineUse PrepareLine(std::string& line) override {
        return line == "+" ? LineUse::SameRecord : LineUse::Record;
    }
};

TEST(VendorMeterTest, HookCanRepeatThePreviousRecord) {
    TempDir dir;
    RepeatingMeter meter;
    OpenRouteFile(meter, dir, LineWithDigits("09") + "\r\n+\r\n");
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    ASSERT_EQ(meter.Read(), VendorMeter::kRecordRead);
    EXPECT_EQ(meter.Field(F::SelectedRoute), "R01");
    EXPECT_EQ(meter.Field(F::PrvReading), "246813579");
    EXPECT_EQ(meter.Read(), VendorMeter::kEndOfFile);
}

// Trailing blanks go eight at a time where they can: whole words, a word cut
// by the text's start, and other white space before or among the blanks.
TEST(VendorMeterTest, TrimmingStopsAtTheLastCharacterKept) {
    struct Case {
        std::string_view text;
        std::size_t withoutBlanks;
        std::size_t withoutWhiteSpace;
    };
    const std::string sixteen(16, ' ');
    const Case cases[] = {
        {"", 0, 0},
        {"        ", 0, 0},
        {"         ", 0, 0},
        {sixteen, 0, 0},
        {"CUSTOMER 1                    ", 10, 10},
        {"A        B       ", 10, 10},
        {"AB\t              ", 3, 2},
        {"AB         \t      ", 12, 2},
        {"\r\n       ", 2, 0},
        {"1234567X", 8, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LengthWithoutTrailingBlanks(c.text), c.withoutBlanks) << '"' << c.text << '"';
        EXPECT_EQ(LengthWithoutTrailingWhiteSpace(c.text), c.withoutWhiteSpace)
            << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace wexal::testing
