// A rectangle of cells of one worksheet, as an address names it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sheet/CellAddress.h"
#include "platform/sheet/CellValue.h"

namespace wexal::sheet {

class Worksheet;

class CellRange {
  public:
    CellRange(Worksheet& sheet, CellAddress first, CellAddress last);

    CellAddress First() const { return first_; }
    CellAddress Last() const { return last_; }
    std::int32_t Rows() const { return last_.row - first_.row + 1; }
    std::int32_t Columns() const { return last_.column - first_.column + 1; }
    // "A1:E20", or one cell's address.
    std::string Address() const;

    // The cells' values; position (1, 1) is the range's first cell.
    CellArray Value() const;
    // Puts a number, a text or nothing into the range's one cell. Throws
    // SheetError for a range of more than one cell and for what the sheet
    // refuses (see SheetPart::Put).
    void SetValue(const CellValue& value);

  private:
    Worksheet* sheet_;
    CellAddress first_;
    CellAddress last_;
};

}  // namespace wexal::sheet
