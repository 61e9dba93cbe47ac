// Texts cross between the workbook, which holds Unicode (UTF-8), and the
// handheld, whose records hold the 8-bit Windows-1252 character set.
#pragma once

#include <string>
#include <string_view>

// A character that the 8-bit set lacks becomes "?".
std::string SheetTextToHandheld(std::string_view utf8);
std::string HandheldTextToSheet(std::string_view windows1252);
