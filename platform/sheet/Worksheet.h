// One worksheet of an open workbook. Its part is read when first used.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/sheet/CellRange.h"
#include "platform/sheet/SheetPart.h"

namespace wexal::sheet {

class Workbook;

class Worksheet {
  public:
    Worksheet(Workbook& workbook, std::string name, std::string partName);
    ~Worksheet();
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    const std::string& Name() const { return name_; }
    // From A1 to the last row and column that hold a cell. A1 is taken as
    // its start even when the first rows or columns are empty, so that the
    // positions of its value array are the sheet's own row and column
    // numbers.
    CellRange UsedRange();
    // One cell, "AB12"; throws SheetError for anything else.
    CellRange Range(std::string_view address);

    // Used by CellRange.
    CellArray Values(CellAddress first, CellAddress last);
    void Put(CellAddress address, const CellValue& value);

    // Used by Workbook: the part once loaded, or null.
    SheetPart* LoadedPart() { return part_.get(); }
    const std::string& PartName() const { return partName_; }
    void Unload() { part_.reset(); }

  private:
    SheetPart& Part();

    Workbook* workbook_;
    std::string name_;
    std::string partName_;
    std::unique_ptr<SheetPart> part_;
};

}  // namespace wexal::sheet
