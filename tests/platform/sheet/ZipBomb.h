// Zip bombs made inside a test: a workbook part of zeros, or of one piece
// over and over, streamed through libzip and deflated, so a part of
// gigabytes costs a few megabytes on disk and no memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace wexal::testing {

// Puts `part` (replaced or added) into the package at `path`: `size` zero
// bytes, deflated. With `declaredSize` the package then says that the part
// inflates to that many bytes, in its local and its central header, as a
// zip that lies about its sizes would.
void PutZeroPart(const std::filesystem::path& path, const std::string& part, std::uint64_t size,
                 std::optional<std::uint32_t> declaredSize = std::nullopt);
// Puts `part` into the package: `head`, `unit` `count` times, then `tail`,
// deflated as it is made, so that a large part costs no memory here.
void PutRepeatedPart(const std::filesystem::path& path, const std::string& part,
                     const std::string& head, const std::string& unit, std::uint64_t count,
                     const std::string& tail);

}  // namespace wexal::testing
