// Workbook packages built from a plain-text list of parts, so that the fuzzer
// mutates the parts' XML itself rather than compressed bytes behind
// checksums that the zip reader verifies:
//
//   === xl/workbook.xml
//   <workbook ...>...</workbook>
//   === xl/_rels/workbook.xml.rels
//   ...
//
// A line beginning with "=== " starts a part and names it; the part is the
// lines up to the next such line. Text before the first one is ignored.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wexal::fuzz {

inline constexpr std::string_view kPartMarker = "=== ";

using Part = std::pair<std::string, std::string>;  // name, bytes

std::vector<Part> SplitParts(std::string_view text);

// The zip container holding the parts, stored uncompressed; empty when
// libzip refuses a part (an empty or repeated name, for one).
std::string ZipParts(const std::vector<Part>& parts);

}  // namespace wexal::fuzz
