// Zip bombs made inside a test: a workbook part of zeros streamed through
// libzip and deflated, so a part of gigabytes costs a few megabytes on disk
// and no memory.
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

}  // namespace wexal::testing
