// Saving a workbook: only the cells put change, everything else stays as the
// producer wrote it, and the file is replaced whole or not at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/sheet/SheetError.h"
#include "tests/conduit/SmallDisk.h"
#include "tests/platform/sheet/SheetFixture.h"

namespace wexal::testing {
namespace {

using sheet::CellKind;
using sheet::CellValue;
using sheet::SheetError;
using Lines = std::vector<std::string>;

class WorkbookSaveTest : public SheetFixture {};

TEST_F(WorkbookSaveTest, NumbersAndTextsArePutAsTheirOwnKinds) {
    MakeWorkbook(Book(), "ws['A1'] = 'USAGE'\nws['B2'] = 'old'\nws['C3'] = 3");
    PutAndSave({{"B2", CellValue::Number(123)},
                {"C2", CellValue::Number(0.1)},
                {"D2", CellValue::Number(-5.25)},
                {"E2", CellValue::Number(1e21)},
                {"B3", CellValue::Text("03/15/06")},
                {"C3", CellValue::Text("  leading blanks")},
                {"D3", CellValue::Text("Caf\xC3\xA9")},
                {"A1", CellValue::Text("")}});
    EXPECT_EQ(ReadCells(Book(), "Route", {"B2", "C2", "D2", "E2", "B3", "C3", "D3", "A1"}),
              (Lines{"123", "0.1", "-5.25", "1e+21", "'03/15/06'", "'  leading blanks'", "'Café'",
                     "None"}));
    // Shortest round-trip form, not seventeen digits.
    const std::string xml = ReadPart(Book(), kSheetPart);
    EXPECT_NE(xml.find("<v>0.1</v>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<v>123</v>"), std::string::npos) << xml;
}

TEST_F(WorkbookSaveTest, EverythingElseIsKept) {
    MakeWorkbook(Book(), R"(
bold = openpyxl.styles.Font(bold=True)
ws['A1'] = 'USAGE'
ws['A1'].font = bold
ws['B1'] = 'READING'
ws['B1'].font = bold
ws['A2'] = 200
ws['A3'] = 300
ws['B2'].number_format = '0.00'
ws['C1'] = '=SUM(A2:A3)'
ws.merge_cells('D1:E1')
ws.column_dimensions['B'].width = 30
other = wb.create_sheet('Other')
other['A1'] = 'keep me'
other['B1'] = '=Route!A2*2'
wb.defined_names.append(openpyxl.workbook.defined_name.DefinedName('Usage', attr_text='Route!$A$2:$A$3'))
)");
    // A table that no cell uses: the upload saves it as it was.
    AddSharedStrings("<si><t>former &amp; old</t></si>");
    const std::filesystem::path before = Folder() / "before.xlsx";
    std::filesystem::copy_file(Book(), before);
    PutAndSave({{"B2", CellValue::Number(4567)}, {"B1", CellValue::Text("CURRENT")}});

    EXPECT_EQ(ChangedParts(before, Book()), (Lines{kSheetPart}));
    EXPECT_EQ(ReadCells(Book(), "Route", {"A1", "A2", "A3", "B1", "B2", "C1"}),
              (Lines{"'USAGE'", "200", "300", "'CURRENT'", "4567", "'=SUM(A2:A3)'"}));
    EXPECT_EQ(ReadCells(Book(), "Other", {"A1", "B1"}), (Lines{"'keep me'", "'=Route!A2*2'"}));
    // The cells put keep their own format.
    EXPECT_EQ(Inspect(Book(), "(wb['Route']['B1'].font.b, wb['Route']['B2'].number_format)"),
              "(True, '0.00')");
    EXPECT_EQ(Inspect(Book(),
                      "(str(wb['Route'].merged_cells), wb['Route'].column_dimensions['B'].width)"),
              "('D1:E1', 30.0)");
}

TEST_F(WorkbookSaveTest, OverwrittenFormulaDropsTheStaleCalculationChain) {
    MakeWorkbook(Book(), "ws['A1'] = 1\nws['B1'] = '=A1*2'\nws['C1'] = '=A1*3'\nws['A2'] = 5");
    AddCalcChain("<c r=\"B1\" i=\"1\"/><c r=\"C1\"/>");

    PutAndSave({{"A2", CellValue::Number(6)}});
    EXPECT_NE(ReadPart(Book(), "xl/calcChain.xml"), "<missing>");

    PutAndSave({{"B1", CellValue::Number(7)}});
    EXPECT_EQ(ReadPart(Book(), "xl/calcChain.xml"), "<missing>");
    EXPECT_EQ(ReadPart(Book(), "xl/_rels/workbook.xml.rels").find("calcChain"), std::string::npos);
    EXPECT_EQ(ReadPart(Book(), "[Content_Types].xml").find("calcChain"), std::string::npos);
    EXPECT_EQ(ReadCells(Book(), "Route", {"A1", "B1", "C1", "A2"}),
              (Lines{"1", "7", "'=A1*3'", "6"}));
}

TEST_F(WorkbookSaveTest, CellsArePutAmongRowsAndCellsThatHadNoNumbers) {
    MakeWorkbook(Book(), "");
    WritePart(Book(), kSheetPart,
              SheetXml("<x:row><x:c><x:v>1</x:v></x:c><x:c r=\"C1\"><x:v>3</x:v></x:c>"
                       "<x:c><x:v>4</x:v></x:c></x:row>"
                       "<x:row r=\"3\"><x:c r=\"B3\"><x:v>5</x:v></x:c></x:row>"
                       "<x:row><x:c><x:v>7</x:v></x:c></x:row>",
                       "x"));
    // Between cells numbered by position, into a new row between rows, at the
    // end.
    PutAndSave({{"B1", CellValue::Number(2)},
                {"A2", CellValue::Text("new row")},
                {"C4", CellValue::Number(9)}});
    EXPECT_EQ(ReadCells(Book(), "Route", {"A1", "B1", "C1", "D1", "A2", "B3", "A4", "C4"}),
              (Lines{"1", "2", "3", "4", "'new row'", "5", "7", "9"}));
    // New elements take the prefix of the ones around them.
    const std::string xml = ReadPart(Book(), kSheetPart);
    EXPECT_NE(xml.find("<x:c r=\"B1\"><x:v>2</x:v></x:c>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<x:row r=\"2\">"), std::string::npos) << xml;
}

TEST_F(WorkbookSaveTest, RowsOutOfOrderTakeNewRowsWhereTheWalkFindsThem) {
    MakeWorkbook(Book(), "");
    WritePart(Book(), kSheetPart,
              SheetXml("<x:row r=\"5\"><x:c r=\"A5\"><x:v>5</x:v></x:c></x:row>"
                       "<x:row r=\"2\"><x:c r=\"A2\"><x:v>2</x:v></x:c></x:row>",
                       "x"));
    // Before the first row of a higher number, into the row of that number,
    // at the end.
    PutAndSave({{"A3", CellValue::Number(3)},
                {"B2", CellValue::Number(22)},
                {"A6", CellValue::Number(6)}});
    const std::string xml = ReadPart(Book(), kSheetPart);
    std::vector<std::string> rows;
    for (std::size_t at = xml.find("<x:row r=\""); at != std::string::npos;
         at = xml.find("<x:row r=\"", at + 1)) {
        rows.push_back(xml.substr(at + 10, xml.find('"', at + 10) - at - 10));
    }
    EXPECT_EQ(rows, (Lines{"3", "5", "2", "6"})) << xml;
    EXPECT_NE(xml.find("<x:c r=\"B2\"><x:v>22</x:v></x:c>"), std::string::npos) << xml;
}

TEST_F(WorkbookSaveTest, PutsReadBackThroughTheLayerItself) {
    MakeWorkbook(Book(), "ws['A1'] = datetime.datetime(2006, 3, 15)\nws['B1'] = 'x'");
    PutAndSave({{"A1", CellValue::Number(38800)},
                {"B1", CellValue::Text("a_x0041_b\tc\rd\x01")},
                {"C1", CellValue::Text(" ")}});
    const sheet::CellArray cells = UsedValues();
    // A number in a date-formatted cell is a date.
    EXPECT_EQ(cells.At(1, 1), (CellValue{CellKind::Date, 38800, {}}));
    EXPECT_EQ(cells.At(1, 2).text, "a_x0041_b\tc\rd\x01");
    EXPECT_EQ(cells.At(1, 3).text, " ");
}

TEST_F(WorkbookSaveTest, WhatCannotBePutIsRefusedAndNothingChanges) {
    MakeWorkbook(Book(), "ws['A1'] = 1\nws['A2'] = 2\nws['A3'] = 3");
    // A shared formula whose text the cells below it use.
    WritePart(Book(), kSheetPart,
              SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><f t=\"shared\" "
                       "ref=\"B1:B2\" si=\"0\">A1*2</f><v>2</v></c></row>"
                       "<row r=\"2\"><c r=\"A2\"><v>2</v></c><c r=\"B2\"><f t=\"shared\" "
                       "si=\"0\"/><v>4</v></c></row>"));
    const std::string original = ReadFile(Book());
    sheet::Application application;
    sheet::Workbook& workbook = application.Workbooks().Open(Book());
    sheet::Worksheet& sheet = workbook.Worksheets().Item("Route");
    const auto code = [&sheet](const char* address, const CellValue& value) {
        try {
            sheet.Range(address).SetValue(value);
        } catch (const SheetError& error) {
            return static_cast<int>(error.Code());
        }
        return 0;
    };
    EXPECT_EQ(code("B1", CellValue::Number(1)), sheet::kErrorLockedCell);
    EXPECT_EQ(code("C1", CellValue::Number(std::numeric_limits<double>::infinity())),
              sheet::kErrorBadValue);
    EXPECT_EQ(code("C1", CellValue::Text("\xE9t\xE9")), sheet::kErrorBadValue);
    EXPECT_EQ(code("C1", CellValue{CellKind::Boolean, 1, {}}), sheet::kErrorBadValue);
    // Nothing was put: saving leaves the file as it was.
    workbook.Save();
    EXPECT_EQ(ReadFile(Book()), original);
    EXPECT_EQ(code("B2", CellValue::Number(8)), 0);
    workbook.Close();
    EXPECT_THROW(workbook.Save(), SheetError);
    EXPECT_THROW(sheet.UsedRange(), SheetError);
}

TEST_F(WorkbookSaveTest, SaveReplacesTheFileWholeAndKeepsItsPermissions) {
    MakeWorkbook(Book(), "ws['A1'] = 1");
    ASSERT_EQ(::chmod(Book().c_str(), 0640), 0);
    PutAndSave({{"A1", CellValue::Number(2)}});
    struct stat status {};
    ASSERT_EQ(::stat(Book().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(WorkbookSaveTest, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    SmallDisk disk("256k");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "a small file system cannot be mounted here";
    }
    const std::filesystem::path book = disk.Path() / "book.xlsx";
    MakeWorkbook(book, "ws['A1'] = 1");
    const std::string original = ReadFile(book);
    sheet::Application application;
    sheet::Workbook& workbook = application.Workbooks().Open(book);
    workbook.Worksheets().Item("Route").Range("A1").SetValue(CellValue::Number(2));
    disk.Fill();
    try {
        workbook.Save();
        FAIL() << "saved on a full disk";
    } catch (const SheetError& error) {
        EXPECT_EQ(error.Code(), sheet::kErrorCannotSave);
        EXPECT_NE(error.Description().find(book.string()), std::string::npos);
    }
    EXPECT_EQ(ReadFile(book), original);
    for (const auto& entry : std::filesystem::directory_iterator(disk.Path())) {
        EXPECT_EQ(entry.path().filename().string().find(".book.xlsx"), std::string::npos);
    }
}

}  // namespace
}  // namespace wexal::testing
