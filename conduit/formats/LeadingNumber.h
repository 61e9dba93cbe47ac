// Numbers taken from the start of a text, the way billing files are read:
// leading white space skipped, an optional sign, then decimal digits up to
// the first other character; no digits give 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Values beyond the 64-bit range stop at its ends instead of overflowing.
std::int64_t LeadingInteger(std::string_view text);

// Sets `out` to the leading integer of `text` in decimal, zero-filled to at
// least `digits` characters (0 to 31) with the minus sign first ("%0*ld":
// "7A" in 4 gives 0007, "-3" gives -003). `text` may be `out` itself; `out`
// keeps its storage.
void AssignZeroPaddedInteger(std::string& out, std::string_view text, int digits);

// A decimal number the same way, with a fraction and an exponent ("12.5",
// "-.5e3"), whatever the process's locale. Values beyond the range of a
// double give an infinity, as atof does.
double LeadingDecimal(std::string_view text);
