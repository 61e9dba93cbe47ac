// Numbers taken from the start of a text, the way billing files are read:
// leading white space skipped, an optional sign, then decimal digits up to
// the first other character; no digits give 0.
#pragma once

#include <cstdint>
#include <string_view>

// Values beyond the 64-bit range stop at its ends instead of overflowing.
std::int64_t LeadingInteger(std::string_view text);
