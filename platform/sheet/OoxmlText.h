// Text as the workbook's XML parts hold it: UTF-8, with characters that XML
// cannot carry written as _xHHHH_.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/Utf8.h"

namespace wexal::sheet {

using text::AppendUtf8;
using text::IsValidUtf8;

// Replaces each _xHHHH_ by its character (_x005F_ gives the underscore).
std::string DecodeEscapes(std::string_view text);
// The same for the text from `from` on, without a copy of it.
void DecodeEscapesInPlace(std::string& text, std::size_t from);
// Writes control characters (but tab and line feed) as _xHHHH_ and guards a literal "_xHHHH_" by
// escaping its underscore, so that DecodeEscapes gives the text back.
std::string EncodeEscapes(std::string_view text);

}  // namespace wexal::sheet
