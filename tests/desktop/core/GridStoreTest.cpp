// The grid's contents and column records without a widget, and the rules
// each style brings.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/core/DesktopError.h"
#include "desktop/core/GridStyles.h"
#include "desktop/core/QvGridStore.h"
#include "desktop/core/ShortDate.h"

namespace {

using namespace wexal::desktop;

// 100 twips a character, 150 for "X" and "9": samples outgrow short headings.
std::int32_t Width(std::string_view text) {
    std::int32_t twips = 0;
    for (char c : text) {
        twips += c == 'X' || c == '9' ? 150 : 100;
    }
    return twips;
}

QvGridStore EmptyGrid() {
    QvGridStore grid(Width);
    grid.SetRows(1);
    grid.SetCols(0);
    return grid;
}

TEST(GridStoreTest, AddColumnChoosesWidthAlignmentAndRecord) {
    QvGridStore grid = EmptyGrid();
    EXPECT_EQ(grid.RecordCount(), 1);  // never fewer than one record

    EXPECT_EQ(grid.AddColumn("Code", -1, kStyleUpperText, 2), 0);
    const QvGridColumn& code = grid.Column(0);
    EXPECT_EQ(code.Style, kStyleUpperText);
    EXPECT_EQ(code.MaxLen, 2);
    EXPECT_EQ(code.Decimals, 0);
    EXPECT_EQ(code.Alignment, kAlignLeft);
    EXPECT_EQ(grid.ColWidth(0), std::max(Width("XXCode"), Width("XX")));
    EXPECT_EQ(grid.TextMatrix(0, 0), "Code");

    EXPECT_EQ(grid.AddColumn("Note", -1, -1), 1);
    EXPECT_EQ(grid.Column(1).Style, 0);  // display only
    EXPECT_EQ(grid.Column(1).Alignment, kAlignLeft);
    EXPECT_EQ(grid.ColWidth(1), Width("XXNote"));

    EXPECT_EQ(grid.AddColumn("Day", -1, kStyleDate), 2);
    EXPECT_EQ(grid.Column(2).Alignment, kAlignCentre);
    EXPECT_EQ(grid.GridAlignment(2), kAlignCentre);
    EXPECT_EQ(grid.ColWidth(2), Width("99/99/9999X"));

    EXPECT_EQ(grid.AddColumn("Amount", 1440, kStyleCurrency, 0, 2), 3);
    EXPECT_EQ(grid.ColWidth(3), 1440);
    EXPECT_EQ(grid.Column(3).Alignment, kAlignRight);
    EXPECT_EQ(grid.Column(3).Decimals, 2);

    EXPECT_EQ(grid.AddColumn("Unit Number", 1440, -1, 0, 0, kAlignCentre), 4);
    EXPECT_EQ(grid.Column(4).Style, 0);
    EXPECT_EQ(grid.GridAlignment(4), kAlignCentre);
    EXPECT_EQ(grid.Cols(), 5);
    EXPECT_EQ(grid.RecordCount(), 5);
}

TEST(GridStoreTest, ColumnRecordsFollowTheColumnCount) {
    QvGridStore grid = EmptyGrid();
    grid.AddColumn("A", -1, kStyleText, 5);
    grid.AddColumn("B");
    grid.SetCols(1);
    EXPECT_EQ(grid.RecordCount(), 1);
    EXPECT_EQ(grid.Column(0).MaxLen, 5);
    grid.SetCols(3);
    EXPECT_EQ(grid.Column(2).Style, 0);
    EXPECT_EQ(grid.Column(2).Heading, "");

    // Alignment through the record only; SetColumnAttributes applies it.
    grid.SetColAlignment(0, kAlignRight);
    EXPECT_EQ(grid.GridAlignment(0), kAlignLeft);
    grid.SetColumnAttributes(0);
    EXPECT_EQ(grid.GridAlignment(0), kAlignRight);
    // Only meaningful values are stored, but the style defaults to text and
    // an omitted value list clears it.
    grid.SetColumnAttributes(2, "", -1, -1, 0, -1, -1, std::nullopt, "a,b");
    EXPECT_EQ(grid.Column(2).ValueList, "a,b");
    grid.SetColumnAttributes(2, "C");
    EXPECT_EQ(grid.Column(2).Style, kStyleText);
    EXPECT_EQ(grid.Column(2).ValueList, "");
    EXPECT_EQ(grid.TextMatrix(0, 2), "C");

    for (auto call : std::vector<std::function<void()>>{
             [&] { grid.ColStyle(3); }, [&] { grid.SetColMaxLen(-1, 2); },
             [&] { grid.SetColumnAttributes(7); }, [&] { grid.TextMatrix(1, 0); },
             [&] { grid.SetRow(1); }}) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const DesktopError& error) {
            EXPECT_EQ(error.Number(), kErrorSubscriptOutOfRange);
        }
    }
}

TEST(GridStoreTest, HeadingsAreFoundIgnoringCase) {
    QvGridStore grid = EmptyGrid();
    grid.AddColumn("Code");
    grid.AddColumn("Text");
    grid.AddColumn("TEXT");
    EXPECT_EQ(grid.GetColNumber("text"), 1);
    EXPECT_EQ(grid.GetColNumber("CODE"), 0);
    EXPECT_EQ(grid.GetColNumber("Service"), -1);
}

TEST(GridStoreTest, RowsKeepEachValueInItsOwnCell) {
    QvGridStore grid = EmptyGrid();
    for (const char* heading : {"Sequence", "Code", "Text", "No Read"}) {
        grid.AddColumn(heading);
    }
    grid.AddRow({"01"});
    grid.AddRow({"", "A"});
    grid.AddRow({"3", "07", "\tMeter blocked", "X", "beyond the last column"});
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(1, 0), "01");
    EXPECT_EQ(grid.TextMatrix(1, 1), "");
    EXPECT_EQ(grid.TextMatrix(2, 0), "");
    EXPECT_EQ(grid.TextMatrix(2, 1), "A");
    // A tab inside a value shifts nothing.
    EXPECT_EQ(grid.TextMatrix(3, 2), "\tMeter blocked");
    EXPECT_EQ(grid.TextMatrix(3, 3), "X");
    EXPECT_EQ(grid.Col(), grid.FixedCols());

    grid.SetRow(3);
    grid.SetRows(2);
    EXPECT_EQ(grid.Row(), 1);
}

TEST(GridStylesTest, EditLengthsAndAlignments) {
    struct StyleCase {
        std::int32_t style;
        std::int32_t editLength;
        std::int16_t alignment;
        std::optional<std::int16_t> editor;
    };
    const std::vector<StyleCase> cases = {
        {kStyleShortInteger, 4, kAlignRight, kAlignRight},
        {kStyleLongInteger, 9, kAlignRight, kAlignRight},
        {kStyleSingle, 5, kAlignRight, kAlignRight},
        {kStyleDouble, 14, kAlignRight, kAlignRight},
        {kStyleCurrency, 14, kAlignRight, kAlignRight},
        {kStyleDate, 10, kAlignCentre, kAlignCentre},
        {kStyleText, 0, kAlignLeft, kAlignLeft},
        {kStyleYesNo, 3, kAlignCentre, kAlignCentre},
        {kStyleDecimal, 0, kAlignRight, std::nullopt},
        {kStyleUpperText, 0, kAlignLeft, kAlignLeft},
        {kStyleValueList, 0, kAlignLeft, std::nullopt},
        {kStyleCheckMark, 0, kAlignCentre, kAlignCentre},
        {kStyleCustom, 0, kAlignLeft, std::nullopt},
        {0, 0, kAlignLeft, std::nullopt},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(c.style);
        QvGridColumn column;
        column.Style = c.style;
        EXPECT_EQ(DefaultEditLength(column), c.editLength);
        column.MaxLen = 2;
        EXPECT_EQ(DefaultEditLength(column), 2);
        EXPECT_EQ(StyleAlignment(c.style), c.alignment);
        EXPECT_EQ(EditorAlignment(c.style), c.editor);
    }
    EXPECT_EQ(ValueListEntries("A;Apple,Banana,;Cherry"),
              (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
    EXPECT_TRUE(ValueListEntries("").empty());
}

TEST(ShortDateTest, ReadsAndWritesMonthDayYear) {
    EXPECT_EQ(FormatShortDate({1999, 12, 31}), "12/31/1999");
    EXPECT_EQ(FormatShortDate({2024, 1, 5}), "1/5/2024");
    EXPECT_EQ(ReadShortDate("1/5/2024"), (CalendarDate{2024, 1, 5}));
    EXPECT_EQ(ReadShortDate(" 01-05-24 "), (CalendarDate{2024, 1, 5}));
    EXPECT_EQ(ReadShortDate("1/5/29"), (CalendarDate{2029, 1, 5}));
    EXPECT_EQ(ReadShortDate("1/5/30"), (CalendarDate{1930, 1, 5}));
    EXPECT_EQ(ReadShortDate("2/29/2024"), (CalendarDate{2024, 2, 29}));
    for (const char* bad : {"2/29/2023", "13/1/2020", "0/1/2020", "1/32/2020", "1/5", "1/5/202",
                            "1/5-2020", "a/b/c", ""}) {
        EXPECT_FALSE(ReadShortDate(bad)) << bad;
    }
}

}  // namespace
