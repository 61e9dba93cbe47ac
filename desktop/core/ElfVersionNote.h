// The version note that this project's build puts into its programs and
// libraries (cmake/WexalVersionNote.cmake): an ELF note in the section
// ".note.wexal.version", owner "Wexal", type 1, whose descriptor is two 32-bit
// words in the file's byte order, the most significant (major << 16 | minor)
// and the least significant (third part << 16 | fourth part).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

struct VersionWords {
    std::uint32_t ms = 0;
    std::uint32_t ls = 0;
};

// Reads `size` bytes at `offset` of the file into `out`; false when it cannot.
// Called only for ranges that lie within the file's size.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t size, void* out)>;

// The version words of a file of `fileSize` bytes, read from its ELF header,
// section headers and the note section only. Nothing when the file is not an
// ELF file of 32 or 64 bits, has no such note, or has any offset, size or
// count on the way that does not fit the file.
std::optional<VersionWords> ReadVersionNote(std::uint64_t fileSize, const ReadAt& readAt);
