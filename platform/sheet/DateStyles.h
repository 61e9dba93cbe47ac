// Which cell styles show numbers as dates or times: a number in such a cell
// is a date to whoever reads the sheet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wexal::sheet {

// A number format shows a date or time when, outside quoted text, escaped
// characters and bracketed colours or conditions, it uses d, m, y, h or s.
bool IsDateFormatCode(std::string_view code);

class DateStyles {
  public:
    // Without a style part no cell shows a date.
    DateStyles() = default;
    // Throws SheetError when the part is damaged.
    DateStyles(std::string_view stylesXml, const std::string& partName);

    // The style index is a cell's "s" attribute (0 when it has none).
    bool IsDate(std::uint32_t styleIndex) const;

  private:
    std::vector<bool> dateStyles_;
};

}  // namespace wexal::sheet
