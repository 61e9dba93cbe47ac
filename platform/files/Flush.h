#pragma once

#include <cstdint>

namespace wexal::files {

// Every flush to disk of a user's or a handheld's file goes through here, so
// that the number of flushes a sync makes can be counted (they are most of
// its time on a real disk).
int FlushFile(int fd);

// Opens the folder, flushes it (a rename lasts only once its folder is on
// disk) and closes it. False when any step fails; EINVAL (a file system that
// cannot flush folders) counts as done.
bool FlushFolder(const char* folder);

// Flushes made by this process since it started.
std::uint64_t FlushCount();

}  // namespace wexal::files
