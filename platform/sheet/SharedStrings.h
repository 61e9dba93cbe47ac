// Texts of cells: the workbook's shared-string table and the string items
// that it and inline-string cells are made of.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace wexal::sheet {

// The text of a string item (<si> or <is>): its plain text or the runs of
// rich text joined; phonetic runs (<rPh>) are guides, not text.
std::string StringItemText(pugi::xml_node item);
// Throws SheetError when the part is damaged.
std::vector<std::string> ParseSharedStrings(std::string_view xml, const std::string& partName);

}  // namespace wexal::sheet
