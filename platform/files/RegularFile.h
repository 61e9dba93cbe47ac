// Opening a file that a reader expects to be a plain file on disk. A FIFO
// would hold the reader until some writer comes (for ever, in a sync that
// holds the handheld), and a device such as /dev/zero never ends: anything
// but a regular file is refused without waiting.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace wexal::files {

// The error of a path that names a FIFO, device or socket; a folder gives
// EISDIR, and every other error is an errno value too.
inline constexpr int kNotRegularFile = -1;

// A read-only descriptor of the regular file at `path` (symbolic links
// followed), closed on exec; or -1 with the reason in `error`.
int OpenRegularFile(const std::filesystem::path& path, int& error);

// The same for writing: `flags` as open(2) takes them (O_WRONLY, O_APPEND,
// O_CREAT, ...), a file it creates getting `mode`. A FIFO that no one reads
// gives ENXIO.
int OpenRegularFile(const std::filesystem::path& path, int flags, mode_t mode, int& error);

// The whole of the regular file at `path`, opened as above; false with the
// reason in `error` when it cannot be opened or read.
bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes, int& error);

// "not a regular file", or the system's text of an errno value.
std::string ErrorText(int error);

}  // namespace wexal::files
