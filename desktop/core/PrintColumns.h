// The report's column printer: lines printed downward from a point, in a
// style given as tokens separated by "|":
//   BOLD, ITALIC            the font's weight and slant
//   1 to 99 (as texts)      the font's size in points, e.g. "8" or "12"
//   RIGHT, CENTER           the lines end at X, or are centred on it
//   BOX, LINE, CIRCLE, PICTURE   nothing
//   anything else           the font's name
// Tokens are compared in upper case; a font name is taken as written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "desktop/core/ReportSurface.h"

namespace wexal::desktop {

// Prints `Lines` from (X, Y) and returns the vertical position below the last
// line (0 without lines). The surface's current position and font are as
// they were afterwards.
float PrintColumns(ReportSurface& surface, float X, float Y, std::string_view Style,
                   const std::vector<std::string>& Lines);

}  // namespace wexal::desktop
