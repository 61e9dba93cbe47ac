// The office PCs' 8-bit texts (the billing files, the exceptions-capture
// file) as UTF-8 for showing and printing.
#pragma once

#include <string>
#include <string_view>

namespace wexal::desktop {

// Each byte as its Windows-1252 character. The five bytes that the code page
// leaves unassigned stand for the control characters of the same number, so
// no byte is lost.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace wexal::desktop
