// What may stand where a reader expects a regular file: a FIFO, whose reader
// waits for a writer that never comes, and a device that reads as endless
// zeros (made like /dev/zero, inside the test's own folder).
#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <vector>

namespace wexal::testing {

struct NotRegularFile {
    const char* kind;
    // Makes it at the path; false where this machine does not allow it (a
    // device needs the right to make devices).
    bool (*make)(const std::filesystem::path&);
};

inline const std::vector<NotRegularFile>& NotRegularFiles() {
    static const std::vector<NotRegularFile> kinds = {
        {"FIFO", [](const std::filesystem::path& at) { return ::mkfifo(at.c_str(), 0600) == 0; }},
        {"zero device",
         [](const std::filesystem::path& at) {
             return ::mknod(at.c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0;
         }},
    };
    return kinds;
}

}  // namespace wexal::testing
