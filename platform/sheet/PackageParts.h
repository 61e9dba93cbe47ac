// How the parts of a workbook package point at each other: relationship
// parts ("_rels/*.rels") and the content-type list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wexal::sheet {

inline constexpr const char* kContentTypesPart = "[Content_Types].xml";

struct Relationship {
    std::string id;
    std::string type;
    // The target as a part name ("xl/worksheets/sheet1.xml"); empty for an
    // external target.
    std::string part;
};

// "xl/workbook.xml" gives "xl/_rels/workbook.xml.rels"; the package itself
// (empty name) gives "_rels/.rels".
std::string RelationshipsPartOf(const std::string& partName);
// Relationship types differ between the transitional and the strict form of
// the format only in their start, so they are told apart by their last word.
bool HasRelationshipType(const Relationship& relationship, std::string_view lastWord);
// Throws SheetError when the part is damaged.
std::vector<Relationship> ParseRelationships(std::string_view xml, const std::string& sourcePart);
// The relationship part without the relationships of that type.
std::string RemoveRelationships(std::string_view xml, const std::string& sourcePart,
                                std::string_view lastWord);
// The content-type list without the entry of the part.
std::string RemoveContentTypeOverride(std::string_view xml, const std::string& partName);

}  // namespace wexal::sheet
