// Upper case of every letter, the same on every machine: Unicode's simple
// mapping (one character for one, so a text keeps its length in
// characters), whatever locale the program runs in.
#pragma once

#include <string>
#include <string_view>

namespace wexal::desktop {

// `text` (UTF-8) with every letter upper-cased ("café" gives "CAFÉ"); bytes
// that are not part of a well-formed UTF-8 character stay as they are.
std::string UpperCaseUtf8(std::string_view text);

}  // namespace wexal::desktop
