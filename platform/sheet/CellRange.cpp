#include "platform/sheet/CellRange.h"

#include "platform/sheet/SheetError.h"
#include "platform/sheet/Worksheet.h"

namespace wexal::sheet {

CellRange::CellRange(Worksheet& sheet, CellAddress first, CellAddress last)
    : sheet_(&sheet), first_(first), last_(last) {}

std::string CellRange::Address() const {
    return first_ == last_ ? FormatCellAddress(first_)
                           : FormatCellAddress(first_) + ":" + FormatCellAddress(last_);
}

CellArray CellRange::Value() const {
    return sheet_->Values(first_, last_);
}

void CellRange::SetValue(const CellValue& value) {
    if (first_ != last_) {
        throw SheetError(kErrorBadAddress, "Only one cell can take a value, not " + Address());
    }
    sheet_->Put(first_, value);
}

}  // namespace wexal::sheet
