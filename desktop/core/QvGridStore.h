// The contents of the editable grid without any widget: cells in the grid's
// own coordinates (row 0 the heading row, column 0 the fixed column), the
// fixed row and column counts, the current cell, column widths in twips, the
// grid's own column alignment and one QvGridColumn record per column. The
// window layer shows it and edits it; this class decides nothing about
// editing.
//
// Indexes outside the rows, the columns or the column records throw
// DesktopError 9 "Subscript out of range".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/core/QvGridColumn.h"

namespace wexal::desktop {

class QvGridStore {
  public:
    // The width of a text in the grid's font, in whole twips.
    using TextWidth = std::function<std::int32_t(std::string_view)>;

    explicit QvGridStore(TextWidth textWidth);

    // Row and column counts. Changing the column count resizes the records
    // to max(count, 1), keeping those that stay; new records are all zero.
    std::int32_t Cols() const { return cols_; }
    void SetCols(std::int32_t count);
    std::int32_t Rows() const { return static_cast<std::int32_t>(cells_.size()); }
    void SetRows(std::int32_t count);
    // The fixed counts stay as set; they apply to the rows and columns there are.
    std::int32_t FixedCols() const { return fixedCols_; }
    void SetFixedCols(std::int32_t count);
    std::int32_t FixedRows() const { return fixedRows_; }
    void SetFixedRows(std::int32_t count);
    bool IsFixedCell(std::int32_t row, std::int32_t col) const {
        return row < fixedRows_ || col < fixedCols_;
    }

    // The current cell.
    std::int32_t Row() const { return row_; }
    void SetRow(std::int32_t row);
    std::int32_t Col() const { return col_; }
    void SetCol(std::int32_t col);

    const std::string& TextMatrix(std::int32_t row, std::int32_t col) const;
    void SetTextMatrix(std::int32_t row, std::int32_t col, std::string text);

    std::int32_t ColWidth(std::int32_t col) const;
    void SetColWidth(std::int32_t col, std::int32_t twips);
    // How the grid shows the column's cells (the record's Alignment is what
    // SetColumnAttributes applies).
    std::int16_t GridAlignment(std::int32_t col) const;

    // The column records.
    std::int32_t RecordCount() const { return static_cast<std::int32_t>(columns_.size()); }
    const QvGridColumn& Column(std::int32_t index) const;
    std::int32_t ColStyle(std::int32_t index) const { return Column(index).Style; }
    void SetColStyle(std::int32_t index, std::int32_t style) { Record(index).Style = style; }
    std::int16_t ColAlignment(std::int32_t index) const { return Column(index).Alignment; }
    void SetColAlignment(std::int32_t index, std::int16_t alignment) {
        Record(index).Alignment = alignment;
    }
    bool ColSearchButton(std::int32_t index) const { return Column(index).SearchButton; }
    void SetColSearchButton(std::int32_t index, bool on) { Record(index).SearchButton = on; }
    std::int16_t ColMaxLen(std::int32_t index) const { return Column(index).MaxLen; }
    void SetColMaxLen(std::int32_t index, std::int16_t maxLen) { Record(index).MaxLen = maxLen; }
    std::int16_t ColDecimals(std::int32_t index) const { return Column(index).Decimals; }
    void SetColDecimals(std::int32_t index, std::int16_t decimals) {
        Record(index).Decimals = decimals;
    }
    const std::string& ColHeading(std::int32_t index) const { return Column(index).Heading; }
    void SetColHeading(std::int32_t index, std::string heading) {
        Record(index).Heading = std::move(heading);
    }

    // Stores only the meaningful values into record `Index`: Alignment and
    // Decimals when >= 0, Heading when not empty, MaxLen when > 0,
    // SearchButton when given, Style when >= 0, ValueList always. A heading
    // is also written into the heading cell, a width >= 0 becomes the
    // column's width, and the record's alignment becomes the grid column's.
    void SetColumnAttributes(std::int16_t Index, std::string Heading = {},
                             std::int32_t NewWidth = -1, std::int32_t Style = kStyleText,
                             std::int16_t MaxLen = -1, std::int16_t Decimals = -1,
                             std::int32_t Alignment = -1,
                             std::optional<bool> SearchButton = std::nullopt,
                             std::string ValueList = {});

    // Appends a column and returns its index. Without a width the column is
    // as wide as "XX" and the heading, or as the style's sample when that is
    // wider; without an alignment the style chooses one. A negative style
    // leaves the column display only.
    std::int16_t AddColumn(std::string Heading, std::int32_t NewWidth = -1,
                           std::int32_t Style = kStyleText, std::int16_t MaxLen = 0,
                           std::int16_t Decimals = 0, std::int32_t Alignment = -1,
                           bool SearchButton = false, std::string ValueList = {});

    // The first column whose record heading equals `heading` ignoring letter
    // case; -1 when none.
    std::int16_t GetColNumber(std::string_view heading) const;

    // Appends a row holding the values from column 0, each in its own cell
    // whatever it holds (values beyond the last column are dropped); then the
    // first column after the fixed ones becomes the current column.
    void AddRow(const std::vector<std::string>& values);

  private:
    QvGridColumn& Record(std::int32_t index);
    void CheckCell(std::int32_t row, std::int32_t col) const;
    void ResizeRecords();

    TextWidth textWidth_;
    std::int32_t cols_ = 0;
    std::vector<std::vector<std::string>> cells_;  // cells_[row][col]
    std::int32_t fixedRows_ = 1;
    std::int32_t fixedCols_ = 1;
    std::int32_t row_ = 1;
    std::int32_t col_ = 1;
    std::vector<std::int32_t> widths_;
    std::vector<std::int16_t> gridAlignments_;
    std::vector<QvGridColumn> columns_;
};

}  // namespace wexal::desktop
