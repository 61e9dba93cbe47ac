// Reading .xlsx workbooks written by other producers: every kind of cell,
// the used range, the forms of strings and rows that producers choose, and
// files that are no .xlsx workbook.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <optional>

#include "platform/sheet/SheetError.h"
#include "platform/sheet/Workbook.h"
#include "platform/sheet/ZipPackage.h"
#include "tests/platform/sheet/SheetFixture.h"
#include "tests/platform/sheet/ZipBomb.h"
#include "tests/support/NotRegularFiles.h"
#include "tests/support/Watchdog.h"

namespace wexal::testing {
namespace {

using sheet::CellKind;
using sheet::CellValue;
using sheet::SheetError;

class WorkbookReadTest : public SheetFixture {};

using Texts = std::vector<std::string>;

// How far `step` raises the resident-set high-water mark of a child process
// that runs it; infinite when the step fails.
double PeakGrowthInChild(const std::function<bool()>& step) {
    const auto peakBytes = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return static_cast<double>(usage.ru_maxrss) * 1024;
    };
    int fds[2];
    if (pipe(fds) != 0) {
        return HUGE_VAL;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const double before = peakBytes();
        const double growth = step() ? peakBytes() - before : HUGE_VAL;
        (void)!write(fds[1], &growth, sizeof growth);
        _exit(0);
    }
    close(fds[1]);
    double growth = HUGE_VAL;
    if (child < 0 || read(fds[0], &growth, sizeof growth) != sizeof growth) {
        growth = HUGE_VAL;
    }
    close(fds[0]);
    if (child > 0) {
        waitpid(child, nullptr, 0);
    }
    return growth;
}

TEST_F(WorkbookReadTest, CellsKeepTheirKindsAndDateFormatsMakeDates) {
    MakeWorkbook(Book(), R"(
ws['A1'] = 12.5
ws['B1'] = 'Main Street'
ws['C1'] = datetime.datetime(2006, 3, 15)
ws['D1'] = True
ws['E1'] = '#N/A'
ws['F1'] = '=A1*2'
ws['A2'] = 7
ws['A2'].number_format = '0.00'
ws['B2'] = datetime.time(9, 30)
ws['C2'] = 38791
ws['C2'].number_format = 'yyyy-mm-dd'
ws['D2'] = 5
ws['D2'].number_format = '"m"0;[Red]-0'
ws['H3'].font = openpyxl.styles.Font(bold=True)
)");
    const sheet::CellArray cells = UsedValues();
    // The bold but empty cell H3 belongs to the used range.
    EXPECT_EQ(cells.Rows(), 3);
    EXPECT_EQ(cells.Columns(), 8);
    EXPECT_EQ(cells.At(1, 1), CellValue::Number(12.5));
    EXPECT_EQ(cells.At(1, 2), CellValue::Text("Main Street"));
    EXPECT_EQ(cells.At(1, 3), (CellValue{CellKind::Date, 38791, {}}));
    EXPECT_EQ(cells.At(1, 4), (CellValue{CellKind::Boolean, 1, {}}));
    EXPECT_EQ(cells.At(1, 5), (CellValue{CellKind::Error, 0, "#N/A"}));
    // A formula that was never calculated has no value yet.
    EXPECT_EQ(cells.At(1, 6).kind, CellKind::Empty);
    EXPECT_EQ(cells.At(2, 1), CellValue::Number(7));
    EXPECT_EQ(cells.At(2, 2).kind, CellKind::Date);
    EXPECT_EQ(cells.At(2, 3).kind, CellKind::Date);
    // Quoted letters and colours in a format are no date codes.
    EXPECT_EQ(cells.At(2, 4), CellValue::Number(5));
    EXPECT_EQ(cells.At(3, 8).kind, CellKind::Empty);
    EXPECT_THROW(cells.At(4, 1), SheetError);
    EXPECT_THROW(cells.At(1, 9), SheetError);
    EXPECT_THROW(cells.At(0, 1), SheetError);
}

TEST_F(WorkbookReadTest, UsedRangeStartsAtA1SoPositionsAreSheetPositions) {
    MakeWorkbook(Book(), "ws['C3'] = 'USAGE'\nws['D4'] = 4");
    sheet::Application application;
    sheet::Worksheet& sheet = application.Workbooks().Open(Book()).Worksheets().Item("route");
    EXPECT_EQ(sheet.UsedRange().Address(), "A1:D4");
    const sheet::CellArray cells = sheet.UsedRange().Value();
    EXPECT_EQ(cells.At(3, 3), CellValue::Text("USAGE"));
    EXPECT_EQ(cells.At(4, 4), CellValue::Number(4));
    EXPECT_EQ(sheet.Range("$D$4").Value().At(1, 1), CellValue::Number(4));
}

TEST_F(WorkbookReadTest, EmptySheetHasOneCellUsed) {
    MakeWorkbook(Book(), "");
    const sheet::CellArray cells = UsedValues();
    EXPECT_EQ(cells.Rows(), 1);
    EXPECT_EQ(cells.Columns(), 1);
    EXPECT_EQ(cells.At(1, 1).kind, CellKind::Empty);
}

TEST_F(WorkbookReadTest, SharedStringsJoinRichRunsAndSkipPhoneticGuides) {
    MakeWorkbook(Book(), "");
    AddSharedStrings(
        "<si><t>USAGE</t></si>"
        "<si><r><t>Main </t></r><r><rPr><b/></rPr><t>Street</t></r>"
        "<rPh sb=\"0\" eb=\"1\"><t>GUIDE</t></rPh></si>"
        "<si><t> </t></si>"
        "<si><t>Line_x000D_end_x005F_x0041_</t></si>");
    WritePart(
        Book(), kSheetPart,
        SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v>"
                 "</c><c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c></row>"));
    const sheet::CellArray cells = UsedValues();
    EXPECT_EQ(cells.At(1, 1).text, "USAGE");
    EXPECT_EQ(cells.At(1, 2).text, "Main Street");
    EXPECT_EQ(cells.At(1, 3).text, " ");
    EXPECT_EQ(cells.At(1, 4).text, "Line\rend_x0041_");
}

TEST_F(WorkbookReadTest, RowsAndCellsWithoutNumbersAndPrefixedElementsAreRead) {
    MakeWorkbook(Book(), "");
    WritePart(Book(), kSheetPart,
              SheetXml("<x:row><x:c t=\"inlineStr\"><x:is><x:t>USAGE</x:t></x:is></x:c>"
                       "<x:c><x:v>5</x:v></x:c></x:row>"
                       "<x:row r=\"3\"><x:c r=\"B3\" t=\"inlineStr\"><x:is><x:r><x:t>Main </x:t>"
                       "</x:r><x:r><x:rPr><x:b/></x:rPr><x:t>Street</x:t></x:r></x:is></x:c>"
                       "<x:c><x:v>7</x:v></x:c></x:row>"
                       "<x:row><x:c><x:v>1</x:v></x:c><x:c t=\"str\"><x:f>A4</x:f><x:v>x</x:v>"
                       "</x:c></x:row>",
                       "x"));
    const sheet::CellArray cells = UsedValues();
    EXPECT_EQ(cells.Rows(), 4);
    EXPECT_EQ(cells.Columns(), 3);
    EXPECT_EQ(cells.At(1, 1).text, "USAGE");
    EXPECT_EQ(cells.At(1, 2), CellValue::Number(5));
    EXPECT_EQ(cells.At(3, 2).text, "Main Street");
    EXPECT_EQ(cells.At(3, 3), CellValue::Number(7));
    EXPECT_EQ(cells.At(4, 1), CellValue::Number(1));
    EXPECT_EQ(cells.At(4, 2).text, "x");
}

TEST_F(WorkbookReadTest, FilesThatAreNoXlsxWorkbookFailWithAClearDescription) {
    const auto openFailure = [](const std::filesystem::path& path) {
        try {
            sheet::Application application;
            application.Workbooks().Open(path);
        } catch (const SheetError& error) {
            EXPECT_EQ(error.Code(), sheet::kErrorCannotOpen);
            return error.Description();
        }
        return std::string("opened");
    };
    const std::filesystem::path old = Folder() / "old.xls";
    WriteFile(old, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
    EXPECT_NE(openFailure(old).find("old binary workbook (.xls)"), std::string::npos);
    EXPECT_NE(openFailure(old).find(old.string()), std::string::npos);

    const std::filesystem::path text = Folder() / "routes.csv";
    WriteFile(text, "HOUSE,STREET\n12,Main\n");
    EXPECT_NE(openFailure(text).find("not an .xlsx workbook"), std::string::npos);

    const std::filesystem::path other = Folder() / "other.zip";
    RunPython("import sys, zipfile\nzipfile.ZipFile(sys.argv[1], 'w').writestr('a.txt', 'x')\n",
              {other.string()});
    EXPECT_NE(openFailure(other).find("holds no workbook"), std::string::npos);

    EXPECT_NE(openFailure(Folder() / "missing.xlsx").find("No such file"), std::string::npos);

    // A sync or the worksheet list must not wait on a FIFO or read a device
    // without end.
    for (const auto& kind : NotRegularFiles()) {
        const std::filesystem::path odd = Folder() / (std::string(kind.kind) + ".xlsx");
        if (!kind.make(odd)) {
            continue;
        }
        const Watchdog watchdog(std::string("opening a workbook that is a ") + kind.kind);
        EXPECT_EQ(openFailure(odd),
                  "Cannot open the workbook " + odd.string() + ": not a regular file");
    }
}

TEST_F(WorkbookReadTest, MissingSheetAndDamagedSheetAreErrors) {
    MakeWorkbook(Book(), "ws['A1'] = 1");
    sheet::Application application;
    sheet::Workbook& workbook = application.Workbooks().Open(Book());
    try {
        workbook.Worksheets().Item("Readings");
        FAIL() << "a missing sheet was found";
    } catch (const SheetError& error) {
        EXPECT_EQ(error.Code(), sheet::kErrorNoSuchSheet);
    }
    WritePart(Book(), kSheetPart, SheetXml("<row r=\"x\"><c><v>1</v></c></row>"));
    sheet::Worksheet& damaged = application.Workbooks().Open(Book()).Worksheets().Item("Route");
    EXPECT_THROW(damaged.UsedRange(), SheetError);
    EXPECT_THROW(damaged.Range("A0"), SheetError);
    EXPECT_THROW(damaged.Range("XFE1"), SheetError);
}

// A few MB of zip whose sheet inflated to gigabytes took a minute and 6 GB:
// a part above the cap is refused, by its declared size before inflating
// and by the bytes counted while inflating when the zip lies about it.
TEST_F(WorkbookReadTest, PartsThatInflateBeyondTheCapAreRefused) {
    constexpr std::uint64_t kCap = 1 << 20;
    const struct {
        const char* what;
        std::uint64_t size;
        std::optional<std::uint32_t> declared;
        bool refused;
    } cases[] = {
        {"at the cap", kCap, std::nullopt, false},
        {"one byte above the cap", kCap + 1, std::nullopt, true},
        {"far above, said to be small", 8 * kCap, 1000, true},
        {"one byte above, said to be at the cap", kCap + 1, kCap, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MakeWorkbook(Book(), "ws['A1'] = 1");
        PutZeroPart(Book(), kSheetPart, c.size, c.declared);
        const sheet::ZipPackage package(ReadFile(Book()), kCap);
        try {
            const auto part = package.Read(kSheetPart);
            EXPECT_FALSE(c.refused);
            ASSERT_TRUE(part.has_value());
            EXPECT_EQ(part->size(), c.size);
        } catch (const SheetError& error) {
            EXPECT_TRUE(c.refused) << error.Description();
            EXPECT_EQ(error.Code(), sheet::kErrorPartTooLarge);
            EXPECT_EQ(error.Description(), std::string("The part ") + kSheetPart +
                                               " inflates to more than 1 MiB, more than any "
                                               "workbook part holds");
        }
    }
}

TEST_F(WorkbookReadTest, AWorkbookWhoseSheetInflatesBeyond512MiBIsRefused) {
    MakeWorkbook(Book(), "ws['A1'] = 1");
    PutZeroPart(Book(), kSheetPart, sheet::ZipPackage::kMaxPartBytes + 1);
    EXPECT_LT(std::filesystem::file_size(Book()), 2u << 20);
    try {
        UsedValues();
        FAIL() << "the sheet was read";
    } catch (const SheetError& error) {
        EXPECT_EQ(error.Code(), sheet::kErrorPartTooLarge);
        EXPECT_NE(error.Description().find("inflates to more than 512 MiB"), std::string::npos)
            << error.Description();
    }
}

// A 0.6 MB workbook whose table of one-letter texts inflated to 255 MB made
// the download and the worksheet list peak at 2.9 GB: the table was held as
// a parsed document. Now the open holds its texts, less than the part, and
// the list reads none of it.
TEST_F(WorkbookReadTest, ALargeSharedStringTableCostsLessThanItsPart) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own memory hides the reader's";
#endif
    constexpr std::uint64_t kItems = 2'000'000;
    const std::string item = "<si><t>X</t></si>";
    MakeWorkbook(Book(), "");
    AddSharedStrings("");
    PutRepeatedPart(Book(), "xl/sharedStrings.xml",
                    "<sst xmlns=\"" + std::string(kMainNamespace) + "\"><si><t>USAGE</t></si>",
                    item, kItems, "</sst>");
    WritePart(Book(), kSheetPart,
              SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>" +
                       std::to_string(kItems) + "</v></c></row>"));
    const double partBytes = static_cast<double>(item.size() * kItems);
    EXPECT_LT(PeakGrowthInChild([&] {
                  const sheet::CellArray cells = UsedValues();
                  return cells.At(1, 1).text == "USAGE" && cells.At(1, 2).text == "X";
              }),
              partBytes);
    EXPECT_LT(PeakGrowthInChild(
                  [&] { return sheet::Workbook::WorksheetNames(Book()) == Texts{"Route"}; }),
              partBytes / 10);
}

TEST(CellAddressTest, LettersAndAddressesBothWays) {
    EXPECT_EQ(sheet::ColumnLetters(1), "A");
    EXPECT_EQ(sheet::ColumnLetters(52), "AZ");
    EXPECT_EQ(sheet::ColumnLetters(16384), "XFD");
    EXPECT_EQ(sheet::ColumnLetters(0), "");
    EXPECT_EQ(sheet::ParseCellAddress("ab12"), (sheet::CellAddress{12, 28}));
    EXPECT_EQ(sheet::ParseCellAddress("XFD1048576"), (sheet::CellAddress{1048576, 16384}));
    for (const char* bad : {"", "A", "12", "A0", "XFE1", "A1048577", "A1B", "A-1"}) {
        EXPECT_FALSE(sheet::ParseCellAddress(bad)) << bad;
    }
}

}  // namespace
}  // namespace wexal::testing
