// Texts of cells: the workbook's shared-string table and the string items
// that it and inline-string cells are made of.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wexal::sheet {

class ZipPackage;

// The texts of the table, end to end in one string: a table of millions of
// short texts costs their bytes and an offset each, not a string object each.
class SharedStrings {
  public:
    std::size_t Count() const { return ends_.size(); }
    std::string_view operator[](std::size_t index) const {
        const std::size_t start = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(texts_).substr(start, ends_[index] - start);
    }

    // Room for that many bytes of texts, taken up only as they come.
    void Reserve(std::size_t bytes) { texts_.reserve(bytes); }
    // The texts of the items (<si>) among the children of `table`: the
    // table's element, or a document of some of its items. Throws SheetError
    // (kErrorPartTooLarge) beyond 4 GiB of texts, which no part within the
    // cap holds.
    void AppendItems(pugi::xml_node table);

  private:
    std::string texts_;
    std::vector<std::uint32_t> ends_;
};

// The text of a string item (<si> or <is>): its plain text or the runs of
// rich text joined; phonetic runs (<rPh>) are guides, not text.
std::string StringItemText(pugi::xml_node item);
// Both throw SheetError when the part is damaged. Reading takes the part from
// the package a piece at a time; nothing when the package has no such part.
SharedStrings ParseSharedStrings(std::string_view xml, const std::string& partName);
std::optional<SharedStrings> ReadSharedStrings(const ZipPackage& package,
                                               const std::string& partName);

}  // namespace wexal::sheet
