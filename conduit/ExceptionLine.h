// The exceptions-capture line: the first 20 fields of a meter record in fixed
// columns, read back by column by the desktop's exceptions report.
#pragma once

#include <cstddef>
#include <string>

class HHMeter;

// Characters of a line before its CR LF.
inline constexpr std::size_t kExceptionLineWidth = 368;

// The line of `meter`, CR LF included. Every field is cut to its width and
// line breaks inside a field become blanks, so that the columns hold
// whatever the handheld stored.
std::string FormatExceptionLine(const HHMeter& meter);
