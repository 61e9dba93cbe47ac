// Texts that become file names keep every byte: a byte that a file name on
// some file system cannot hold, or should not (a separator, a NUL, a
// character a network share refuses, a leading '.' that hides the file), is
// written as '%' and two hexadecimal digits, '%' itself included, so that
// two texts never give one name.
#pragma once

#include <string>
#include <string_view>

namespace wexal::files {

// `text` with every byte but letters, digits, blank, '_', '-' and a '.'
// that does not lead written as "%XX" (upper-case digits).
std::string EscapedForFileName(std::string_view text);

}  // namespace wexal::files
