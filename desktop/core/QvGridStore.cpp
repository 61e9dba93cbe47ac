#include "desktop/core/QvGridStore.h"

#include <algorithm>
#include <utility>

#include "desktop/core/DesktopError.h"
#include "desktop/core/GridStyles.h"
#include "desktop/core/TextCompare.h"

namespace wexal::desktop {

namespace {

[[noreturn]] void Fail(std::int32_t number) {
    throw DesktopError(number, ErrorDescription(number));
}

void CheckCount(std::int32_t count) {
    if (count < 0) {
        Fail(kErrorInvalidPropertyValue);
    }
}

void CheckIndex(std::int32_t index, std::int32_t count) {
    if (index < 0 || index >= count) {
        Fail(kErrorSubscriptOutOfRange);
    }
}

}  // namespace

QvGridStore::QvGridStore(TextWidth textWidth) : textWidth_(std::move(textWidth)) {
    SetCols(2);
    SetRows(2);
}

void QvGridStore::SetCols(std::int32_t count) {
    CheckCount(count);
    cols_ = count;
    for (auto& row : cells_) {
        row.resize(static_cast<std::size_t>(count));
    }
    widths_.resize(static_cast<std::size_t>(count), -1);
    gridAlignments_.resize(static_cast<std::size_t>(count), kAlignLeft);
    col_ = std::clamp(col_, 0, std::max(count - 1, 0));
    ResizeRecords();
}

void QvGridStore::SetRows(std::int32_t count) {
    CheckCount(count);
    cells_.resize(static_cast<std::size_t>(count), std::vector<std::string>(cols_));
    row_ = std::clamp(row_, 0, std::max(count - 1, 0));
}

void QvGridStore::SetFixedCols(std::int32_t count) {
    CheckCount(count);
    fixedCols_ = count;
}

void QvGridStore::SetFixedRows(std::int32_t count) {
    CheckCount(count);
    fixedRows_ = count;
}

void QvGridStore::SetRow(std::int32_t row) {
    CheckIndex(row, Rows());
    row_ = row;
}

void QvGridStore::SetCol(std::int32_t col) {
    CheckIndex(col, cols_);
    col_ = col;
}

void QvGridStore::CheckCell(std::int32_t row, std::int32_t col) const {
    CheckIndex(row, Rows());
    CheckIndex(col, cols_);
}

const std::string& QvGridStore::TextMatrix(std::int32_t row, std::int32_t col) const {
    CheckCell(row, col);
    return cells_[row][col];
}

void QvGridStore::SetTextMatrix(std::int32_t row, std::int32_t col, std::string text) {
    CheckCell(row, col);
    cells_[row][col] = std::move(text);
}

std::int32_t QvGridStore::ColWidth(std::int32_t col) const {
    CheckIndex(col, cols_);
    return widths_[col];
}

void QvGridStore::SetColWidth(std::int32_t col, std::int32_t twips) {
    CheckIndex(col, cols_);
    widths_[col] = twips;
}

std::int16_t QvGridStore::GridAlignment(std::int32_t col) const {
    CheckIndex(col, cols_);
    return gridAlignments_[col];
}

const QvGridColumn& QvGridStore::Column(std::int32_t index) const {
    CheckIndex(index, RecordCount());
    return columns_[index];
}

QvGridColumn& QvGridStore::Record(std::int32_t index) {
    CheckIndex(index, RecordCount());
    return columns_[index];
}

void QvGridStore::ResizeRecords() {
    columns_.resize(static_cast<std::size_t>(std::max(cols_, 1)));
}

void QvGridStore::SetColumnAttributes(std::int16_t Index, std::string Heading,
                                      std::int32_t NewWidth, std::int32_t Style,
                                      std::int16_t MaxLen, std::int16_t Decimals,
                                      std::int32_t Alignment, std::optional<bool> SearchButton,
                                      std::string ValueList) {
    QvGridColumn& record = Record(Index);
    if (Alignment >= 0) {
        record.Alignment = static_cast<std::int16_t>(Alignment);
    }
    if (Decimals >= 0) {
        record.Decimals = Decimals;
    }
    if (!Heading.empty()) {
        record.Heading = Heading;
    }
    if (MaxLen > 0) {
        record.MaxLen = MaxLen;
    }
    if (SearchButton) {
        record.SearchButton = *SearchButton;
    }
    if (Style >= 0) {
        record.Style = Style;
    }
    record.ValueList = std::move(ValueList);

    if (!Heading.empty()) {
        SetTextMatrix(0, Index, std::move(Heading));
    }
    if (NewWidth >= 0) {
        SetColWidth(Index, NewWidth);
    }
    if (record.Alignment >= kAlignLeft && record.Alignment <= kAlignCentre) {
        gridAlignments_[Index] = record.Alignment;
    }
}

std::int16_t QvGridStore::AddColumn(std::string Heading, std::int32_t NewWidth, std::int32_t Style,
                                    std::int16_t MaxLen, std::int16_t Decimals,
                                    std::int32_t Alignment, bool SearchButton,
                                    std::string ValueList) {
    std::int32_t width = NewWidth;
    if (width < 0) {
        width = textWidth_("XX" + Heading);
        if (const auto sample = WidthSample(Style, MaxLen)) {
            width = std::max(width, textWidth_(*sample));
        }
    }
    const std::int32_t alignment = Alignment >= 0 ? Alignment : StyleAlignment(Style);
    SetCols(cols_ + 1);
    const auto index = static_cast<std::int16_t>(cols_ - 1);
    SetColumnAttributes(index, std::move(Heading), width, Style, MaxLen, Decimals, alignment,
                        SearchButton, std::move(ValueList));
    return index;
}

std::int16_t QvGridStore::GetColNumber(std::string_view heading) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (EqualIgnoringCase(columns_[i].Heading, heading)) {
            return static_cast<std::int16_t>(i);
        }
    }
    return -1;
}

void QvGridStore::AddRow(const std::vector<std::string>& values) {
    std::vector<std::string> row(static_cast<std::size_t>(cols_));
    std::copy_n(values.begin(), std::min(values.size(), row.size()), row.begin());
    cells_.push_back(std::move(row));
    if (fixedCols_ < cols_) {
        col_ = fixedCols_;
    }
}

}  // namespace wexal::desktop
