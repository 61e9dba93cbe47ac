// Typed cell contents and the two-dimensional array that a range's value is.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace wexal::sheet {

enum class CellKind { Empty, Number, Text, Date, Boolean, Error };

struct CellValue {
    CellKind kind = CellKind::Empty;
    // Number; the serial day number of a Date; 1 or 0 for a Boolean.
    double number = 0;
    // Text; the code of an Error ("#N/A"); an ISO date kept as written.
    std::string text;

    static CellValue Number(double value) { return {CellKind::Number, value, {}}; }
    static CellValue Text(std::string value) { return {CellKind::Text, 0, std::move(value)}; }

    bool operator==(const CellValue&) const = default;
};

// Rows and columns count from 1, as on the sheet. Only the cells that hold
// something are stored, so a range reaching far down costs nothing.
class CellArray {
  public:
    CellArray() = default;
    CellArray(std::int32_t rows, std::int32_t columns);

    // Upper bounds of the two dimensions (0 for an empty array).
    std::int32_t Rows() const { return rows_; }
    std::int32_t Columns() const { return columns_; }
    bool Contains(std::int64_t row, std::int64_t column) const;
    // Throws SheetError for a position outside the array.
    const CellValue& At(std::int64_t row, std::int64_t column) const;
    void Set(std::int32_t row, std::int32_t column, CellValue value);

  private:
    std::int32_t rows_ = 0;
    std::int32_t columns_ = 0;
    std::map<std::pair<std::int32_t, std::int32_t>, CellValue> cells_;
};

}  // namespace wexal::sheet
