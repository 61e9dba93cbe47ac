// The ways the desktop turns text into numbers.
#pragma once

#include <cstdint>
#include <string_view>

namespace wexal::desktop {

// The strict rule for the 16-bit numbers of the configuration file: the whole
// text, blanks and tabs around it aside, must be a decimal number (optional
// sign, digits with at most one ".", optional exponent E or D with digits).
// It is taken to the nearest whole number, a half going to the even
// neighbour. Throws DesktopError 13 "Type mismatch" for any other text (the
// empty text included) and 6 "Overflow" outside -32768..32767; `key` and
// `file` go into the error.
std::int16_t ToInteger16(std::string_view text, std::string_view key = {},
                         std::string_view file = {});

// `value` taken to the nearest whole number (halves to even) as a 16-bit
// number; DesktopError 6 "Overflow" outside -32768..32767, with `key`, `text`
// and `file` for the error.
std::int16_t RoundToInteger16(double value, std::string_view key = {}, std::string_view text = {},
                              std::string_view file = {});

// The number that the text begins with. Blanks, tabs and line feeds anywhere
// are ignored; the number is an optional sign, digits with at most one "." and
// an optional exponent (E or D, optional sign, digits); "&H" or "&O" reads a
// hexadecimal or octal whole number instead. Reading stops at the first
// character that cannot continue the number; no number at all gives 0. A
// number beyond the range of a double throws DesktopError 6 "Overflow".
double NumericValue(std::string_view text);

// The stricter rule for numbers that programs wrote: the decimal number that
// the text begins with (optional sign, digits with at most one ".", optional
// exponent E with digits), nothing skipped before or inside it: "12 34" gives
// 12, "&H10" 0 and "1d2" 1. No number gives 0; a number beyond the range of a
// double throws DesktopError 6 "Overflow".
double LeadingDecimalValue(std::string_view text);

}  // namespace wexal::desktop
