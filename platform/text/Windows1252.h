// Windows-1252, the 8-bit code page of the handheld's texts and of the
// billing files written on the office PCs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wexal::text {

// The character of a byte. The five bytes the code page leaves unassigned
// stand for the control characters of the same number, as Windows maps
// them, so no byte is lost.
char16_t Windows1252Char(unsigned char byte);

// The byte of a character; nothing when the code page lacks it.
std::optional<unsigned char> Windows1252Byte(char32_t character);

// Each byte as its character, in UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace wexal::text
