// Whether a process is blocked waiting to flock a file, as the kernel's lock
// table lists it: a test sees a waiter arrive instead of guessing how long
// it takes to get there.
#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace wexal::testing {

inline bool SomeoneWaitsToLock(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return false;
    }
    // A blocked request: "N: -> FLOCK  ADVISORY  WRITE PID MAJ:MIN:INODE 0 EOF",
    // the device numbers in hex.
    std::ifstream table("/proc/locks");
    for (std::string line; std::getline(table, line);) {
        unsigned major = 0;
        unsigned minor = 0;
        unsigned long long inode = 0;
        if (line.find(" -> FLOCK ") != std::string::npos &&
            std::sscanf(line.c_str(), "%*d: -> %*s %*s %*s %*d %x:%x:%llu", &major, &minor,
                        &inode) == 3 &&
            makedev(major, minor) == info.st_dev && inode == info.st_ino) {
            return true;
        }
    }
    return false;
}

}  // namespace wexal::testing
