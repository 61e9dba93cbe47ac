#include "platform/sheet/Worksheet.h"

#include "platform/sheet/SheetError.h"
#include "platform/sheet/Workbook.h"

namespace wexal::sheet {

Worksheet::Worksheet(Workbook& workbook, std::string name, std::string partName)
    : workbook_(&workbook), name_(std::move(name)), partName_(std::move(partName)) {}

Worksheet::~Worksheet() = default;

SheetPart& Worksheet::Part() {
    if (!part_) {
        part_ = workbook_->LoadSheetPart(partName_);
    }
    return *part_;
}

CellRange Worksheet::UsedRange() {
    SheetPart& part = Part();
    return CellRange(*this, CellAddress{1, 1}, CellAddress{part.LastRow(), part.LastColumn()});
}

CellRange Worksheet::Range(std::string_view address) {
    const auto cell = ParseCellAddress(address);
    if (!cell) {
        throw SheetError(kErrorBadAddress,
                         "\"" + std::string(address) + "\" is no cell of a sheet");
    }
    return CellRange(*this, *cell, *cell);
}

CellArray Worksheet::Values(CellAddress first, CellAddress last) {
    return Part().Values(first, last);
}

void Worksheet::Put(CellAddress address, const CellValue& value) {
    if (Part().Put(address, value)) {
        workbook_->NoteFormulaOverwritten();
    }
}

}  // namespace wexal::sheet
