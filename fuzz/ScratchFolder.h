// A private folder for the files a fuzz target hands to the code under test,
// which reads files by path only. Made on first use below $TMPDIR (or /tmp),
// removed when the process exits normally.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace wexal::fuzz {

const std::filesystem::path& ScratchFolder();

// Writes the bytes as `name` in the scratch folder, replacing what was
// there; gives the file's path. Aborts when the file cannot be written, since
// every later input would then test nothing.
std::filesystem::path WriteScratchFile(std::string_view name, const std::uint8_t* data,
                                       std::size_t size);

}  // namespace wexal::fuzz
