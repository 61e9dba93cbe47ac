// What the conduit can take of a value of WexalDT.cfg. It reads each line in
// pieces of 127 bytes, so a value longer than 127 bytes less its "Key=" reaches
// it cut; a line break cannot be kept in the file at all.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wexal::desktop {

inline constexpr std::size_t kConduitLinePiece = 127;

// The most bytes (UTF-8) of a value under `key` that the conduit reads whole:
// RoutePath, ReadingsPath, ExceptionsFile, Workbook0..4, Worksheet0..4,
// Server, UserName, Password, Database. None for the keys it never reads this
// way (ReadingsRollPath among them).
std::optional<std::size_t> ConduitValueLimit(std::string_view key);

// Why `value` cannot be stored under `key` as it is, in words for the user;
// empty when it can. The value is measured as the file keeps it, without the
// blanks around it.
std::string ConduitValueRefusal(std::string_view key, std::string_view value);

}  // namespace wexal::desktop
