#include "platform/sheet/CellValue.h"

#include "platform/sheet/SheetError.h"

namespace wexal::sheet {

namespace {

const CellValue kEmptyCell{};

}  // namespace

CellArray::CellArray(std::int32_t rows, std::int32_t columns) : rows_(rows), columns_(columns) {}

bool CellArray::Contains(std::int64_t row, std::int64_t column) const {
    return row >= 1 && row <= rows_ && column >= 1 && column <= columns_;
}

const CellValue& CellArray::At(std::int64_t row, std::int64_t column) const {
    if (!Contains(row, column)) {
        throw SheetError(kErrorBadAddress,
                         "Cell (" + std::to_string(row) + ", " + std::to_string(column) +
                             ") lies outside the range of " + std::to_string(rows_) + " rows and " +
                             std::to_string(columns_) + " columns");
    }
    const auto found =
        cells_.find({static_cast<std::int32_t>(row), static_cast<std::int32_t>(column)});
    return found == cells_.end() ? kEmptyCell : found->second;
}

void CellArray::Set(std::int32_t row, std::int32_t column, CellValue value) {
    if (!Contains(row, column)) {
        throw SheetError(kErrorBadAddress, "Cell (" + std::to_string(row) + ", " +
                                               std::to_string(column) + ") lies outside the range");
    }
    if (value.kind == CellKind::Empty) {
        cells_.erase({row, column});
    } else {
        cells_[{row, column}] = std::move(value);
    }
}

}  // namespace wexal::sheet
