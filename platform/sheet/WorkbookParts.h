// Where a workbook package keeps its workbook part, the parts that the
// workbook relates to, and its worksheets: all that naming the sheets takes.
#pragma once

#include <string>
#include <vector>

#include "platform/sheet/PackageParts.h"
#include "platform/sheet/SheetError.h"
#include "platform/sheet/ZipPackage.h"

namespace wexal::sheet {

struct WorkbookParts {
    std::string workbookPart;
    // The workbook part's relationships, in their order.
    std::vector<Relationship> relationships;
};

struct SheetEntry {
    std::string name;
    std::string part;
};

SheetError MissingPart(const std::string& partName);
// Throws SheetError (kErrorDamaged) when the part is missing or damaged.
std::string ReadPartOf(const ZipPackage& package, const std::string& partName);

// Throws SheetError: kErrorCannotOpen when the package holds no workbook,
// kErrorDamaged when a relationship part is damaged.
WorkbookParts FindWorkbookParts(const ZipPackage& package);
// The worksheets in the workbook's order; chart sheets and dialog sheets
// are left out. Throws SheetError when the workbook part is damaged.
std::vector<SheetEntry> ListWorksheets(const ZipPackage& package, const WorkbookParts& parts);

}  // namespace wexal::sheet
