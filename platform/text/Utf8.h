// UTF-8, the encoding of every text file this system writes on Linux.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wexal::text {

// Appends the character `code` (at most 0x10FFFF) as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t code);

// The character whose UTF-8 sequence starts at `at` (< bytes.size()): its
// length in bytes, with the character in `code`; 0 when no well-formed
// sequence starts there (`code` is then left alone).
std::size_t DecodeUtf8(std::string_view bytes, std::size_t at, std::uint32_t& code);

// Whether `bytes` are well-formed UTF-8: no stray or cut sequence, no
// overlong form, no surrogate, nothing beyond 0x10FFFF.
bool IsValidUtf8(std::string_view bytes);

// `bytes` without the UTF-8 byte-order mark that several editors put at the
// start of a file: it is no part of the text.
std::string_view WithoutByteOrderMark(std::string_view bytes);

}  // namespace wexal::text
