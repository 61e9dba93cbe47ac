#include "platform/sheet/WorkbookParts.h"

#include <map>

#include "platform/sheet/XmlPart.h"

namespace wexal::sheet {

namespace {

constexpr const char* kDefaultWorkbookPart = "xl/workbook.xml";

}  // namespace

SheetError MissingPart(const std::string& partName) {
    return SheetError(kErrorDamaged, "the part " + partName + " is missing");
}

std::string ReadPartOf(const ZipPackage& package, const std::string& partName) {
    auto bytes = package.Read(partName);
    if (!bytes) {
        throw MissingPart(partName);
    }
    return std::move(*bytes);
}

WorkbookParts FindWorkbookParts(const ZipPackage& package) {
    WorkbookParts parts{kDefaultWorkbookPart, {}};
    if (const auto packageRelationships = package.Read(RelationshipsPartOf(""))) {
        for (const Relationship& relationship : ParseRelationships(*packageRelationships, "")) {
            if (HasRelationshipType(relationship, "officeDocument")) {
                parts.workbookPart = relationship.part;
            }
        }
    }
    if (!package.Has(parts.workbookPart)) {
        throw SheetError(kErrorCannotOpen,
                         "it holds no workbook; only .xlsx workbooks can be opened");
    }
    if (const auto relationships = package.Read(RelationshipsPartOf(parts.workbookPart))) {
        parts.relationships = ParseRelationships(*relationships, parts.workbookPart);
    }
    return parts;
}

std::vector<SheetEntry> ListWorksheets(const ZipPackage& package, const WorkbookParts& parts) {
    std::map<std::string, std::string> sheetParts;
    for (const Relationship& relationship : parts.relationships) {
        if (HasRelationshipType(relationship, "worksheet")) {
            sheetParts[relationship.id] = relationship.part;
        }
    }
    pugi::xml_document document;
    ParseXmlPart(document, ReadPartOf(package, parts.workbookPart), parts.workbookPart);
    const pugi::xml_node sheets =
        ChildByLocalName(ChildByLocalName(document, "workbook"), "sheets");
    std::vector<SheetEntry> entries;
    for (pugi::xml_node sheet : sheets.children()) {
        if (!HasLocalName(sheet, "sheet")) {
            continue;
        }
        // Chart sheets and dialog sheets have relationships of other kinds.
        const auto part = sheetParts.find(AttributeByLocalName(sheet, "id").value());
        if (part != sheetParts.end()) {
            entries.push_back({sheet.attribute("name").value(), part->second});
        }
    }
    return entries;
}

}  // namespace wexal::sheet
