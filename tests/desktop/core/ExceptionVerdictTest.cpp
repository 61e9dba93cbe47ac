// Which captured meters the report includes, why, and how they fill pages.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "desktop/core/ExceptionPages.h"
#include "desktop/core/ExceptionVerdict.h"
#include "desktop/core/TextFileLines.h"
#include "tests/desktop/core/CaptureLines.h"
#include "tests/support/TempDir.h"

namespace {

using namespace wexal::desktop;
using wexal::testing::CaptureFields;
using wexal::testing::CaptureLine;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;

CaptureFields Meter(std::string service, std::string hi, std::string lo, std::string current,
                    std::string code = "", std::string text = "") {
    CaptureFields f;
    f.service = std::move(service);
    f.hi = std::move(hi);
    f.lo = std::move(lo);
    f.current = std::move(current);
    f.code = std::move(code);
    f.text = std::move(text);
    return f;
}

TEST(ExceptionVerdictTest, InclusionAndReasonFollowTheChosenKinds) {
    ReadingsKeys readings;
    readings.Add("             1001 read and billed");
    readings.Add("ACCT-LOWER-CASE-X read in another letter case");

    const ExceptionKinds all;
    const ExceptionKinds missedOnly{true, false, false};
    const ExceptionKinds messagesOnly{false, true, false};
    const ExceptionKinds rangeOnly{false, false, true};
    struct Case {
        const char* name;
        CaptureFields meter;
        ExceptionKinds kinds;
        bool included;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"unread, no readings line", Meter("1002", "", "", ""), all, true, "Missed"},
        {"unread, readings line", Meter("             1001", "", "", ""), all, false, ""},
        {"unread, key in another case", Meter("acct-lower-case-x", "", "", ""), all, false, ""},
        {"unread, missed not chosen", Meter("1002", "", "", ""), messagesOnly, false, ""},
        {"read is never missed", Meter("1002", "100", "50", "75"), missedOnly, false, ""},
        {"missed with a response text", Meter("1002", "", "", "", "03", "Gate locked"), all, true,
         "Gate locked"},
        {"code without text", Meter("1001", "100", "50", "75", "07"), all, true, "07"},
        {"text only", Meter("1001", "100", "50", "75", "", "Dog"), messagesOnly, true, "Dog"},
        {"message not chosen", Meter("1001", "100", "50", "75", "07"), rangeOnly, false, ""},
        {"high", Meter("1001", "100", "50", "120"), rangeOnly, true, "High"},
        {"low", Meter("1001", "100", "50", "30"), rangeOnly, true, "Low"},
        {"inside", Meter("1001", "100", "50", "75"), rangeOnly, false, ""},
        {"on the bound", Meter("1001", "100", "50", "100"), rangeOnly, false, ""},
        {"bounds reversed, high", Meter("1001", "50", "100", "120"), rangeOnly, true, "High"},
        {"bounds reversed, low", Meter("1001", "50", "100", "30"), rangeOnly, true, "Low"},
        {"bounds reversed, inside", Meter("1001", "50", "100", "75"), rangeOnly, false, ""},
        {"equal bounds give no range", Meter("1001", "80", "80", "99999"), rangeOnly, false, ""},
        {"inside keeps the message", Meter("1001", "100", "50", "75", "02", "Dog"), all, true,
         "Dog"},
        {"range replaces the message", Meter("1001", "100", "50", "130", "02", "Dog"), all, true,
         "High"},
        {"range not chosen", Meter("1001", "100", "50", "130"), missedOnly, false, ""},
        // 100.5 to even is 100: inside; 101.5 is 102: above.
        {"half to even, down", Meter("1001", "100", "50", "100.5"), rangeOnly, false, ""},
        {"half to even, up", Meter("1001", "100", "50", "101.5"), rangeOnly, true, "High"},
        {"ten digits", Meter("1001", "9999999998", "5000000000", "9999999999"), rangeOnly, true,
         "High"},
        {"no number is 0", Meter("1001", "100", "50", "N/A"), rangeOnly, true, "Low"},
    };
    for (const Case& c : cases) {
        const std::string line = CaptureLine(c.meter);
        const ExceptionRecord record = ReadExceptionRecord(WithoutLineEnd(line));
        const ExceptionVerdict verdict = JudgeException(record, c.kinds, readings);
        EXPECT_EQ(verdict.Included, c.included) << c.name;
        EXPECT_EQ(verdict.Reason, c.reason) << c.name;
    }
}

TEST(ExceptionVerdictTest, ReadingValuesRoundHalfToEvenIn64Bits) {
    struct Case {
        const char* field;
        std::int64_t value;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"0012", 12},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"12.51", 13},
        {"17 kWh", 17},
        // Only a plain decimal number counts: no blanks inside, no "&H", no
        // "D" exponent.
        {"12 34", 12},
        {"&H10", 0},
        {"1d2", 1},
        {"1E2", 100},
        {"9999999999", 9999999999},
        {"1E400", std::numeric_limits<std::int64_t>::max()},
        {"-99999999999999999999", std::numeric_limits<std::int64_t>::min()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadingValue(c.field), c.value) << c.field;
    }
}

TEST(ExceptionPagesTest, NineToAPageInFileOrder) {
    TempDir dir;
    std::string file;
    for (int i = 1; i <= 12; ++i) {
        // Every third meter was read inside its range: not included.
        file += CaptureLine(i % 3 == 0 ? Meter(std::to_string(i), "100", "50", "75")
                                       : Meter(std::to_string(i), "", "", ""));
    }
    WriteFile(dir / "Exceptions.txt", file);
    const ReadingsKeys readings;
    ExceptionSelection selection;
    selection.CaptureFile = (dir / "Exceptions.txt").string();
    selection.Readings = &readings;

    const std::int64_t n = CountIncludedExceptions(selection);
    EXPECT_EQ(n, 8);
    EXPECT_EQ(PageCount(n), 1);
    EXPECT_EQ(PageCount(9), 1);
    EXPECT_EQ(PageCount(10), 2);

    selection.Kinds = {true, true, true};
    file.clear();
    for (int i = 1; i <= 10; ++i) {
        file += CaptureLine(Meter(std::to_string(i), "", "", ""));
    }
    WriteFile(dir / "Exceptions.txt", file);
    const std::vector<PageEntry> first = EntriesOfPage(selection, 1, 10);
    ASSERT_EQ(first.size(), 9U);
    EXPECT_EQ(first.front().Slot, 1);
    EXPECT_EQ(first.back().Slot, 9);
    EXPECT_EQ(first.back().Record.Service, "9");
    const std::vector<PageEntry> second = EntriesOfPage(selection, 2, 10);
    ASSERT_EQ(second.size(), 1U);
    EXPECT_EQ(second[0].Slot, 1);
    EXPECT_EQ(second[0].Record.Service, "10");
    EXPECT_EQ(second[0].LineIndex, 9U);
    EXPECT_EQ(second[0].Line, CaptureLine(Meter("10", "", "", "")));

    // A line appended after counting is read but not shown: n stays.
    WriteFile(dir / "Exceptions.txt", file + CaptureLine(Meter("11", "", "", "")));
    EXPECT_EQ(EntriesOfPage(selection, 2, 10).size(), 1U);
}

TEST(ExceptionPagesTest, CountsBeyond16BitsAndBlankLinesAsMissed) {
    TempDir dir;
    // 40,000 blank lines: each has a blank reading and an empty key.
    WriteFile(dir / "Exceptions.txt", std::string(40000, '\n'));
    const ReadingsKeys readings;
    ExceptionSelection selection;
    selection.CaptureFile = (dir / "Exceptions.txt").string();
    selection.Readings = &readings;
    EXPECT_EQ(CountIncludedExceptions(selection), 40000);
    EXPECT_EQ(PageCount(40000), 4445);
    const std::vector<PageEntry> last = EntriesOfPage(selection, 4445, 40000);
    ASSERT_EQ(last.size(), 4U);
    EXPECT_EQ(last[0].Reason, "Missed");
    EXPECT_EQ(last[3].LineIndex, 39999U);

    selection.Kinds.MissedReadings = false;
    EXPECT_EQ(CountIncludedExceptions(selection), 0);
}

}  // namespace
