// Texts that become file names keep every byte: a byte that a name cannot
// hold, or should not, is written as '%' and two hexadecimal digits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wexal::files {

// `text` with each byte for which `kept(byte, index)` is false written as
// "%XX" (upper-case digits). Injective only when '%' itself is not kept.
std::string EscapedForFileName(std::string_view text,
                               bool (*kept)(unsigned char byte, std::size_t index));

}  // namespace wexal::files
