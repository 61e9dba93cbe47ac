#include "platform/files/MoveWithoutReplacing.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace wexal::files {

namespace {

// Plain rename(2) would silently replace an existing `to`. Some file
// systems (network shares, and old kernels) do not know the flag.
int RenameNoReplace(const std::string& from, const std::string& to, bool& unknown) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    const int error = errno;
    unknown = error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
    return error;
}

int RenameIfFree(const std::string& from, const std::string& to) {
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
        return EEXIST;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

int MoveWithoutReplacing(const std::string& from, const std::string& to) {
    bool unknown = false;
    const int error = RenameNoReplace(from, to, unknown);
    return unknown ? MoveByLinking(from, to) : error;
}

int MoveByLinking(const std::string& from, const std::string& to) {
    // link(2) refuses an existing name, like the rename it stands in for.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        return error;
    }
    return 0;
}

int MoveBetweenOwnNames(const std::string& from, const std::string& to) {
    bool unknown = false;
    int error = RenameNoReplace(from, to, unknown);
    if (unknown) {
        error = MoveByLinking(from, to);
        // Hard links refused: a file system without them.
        if (error == EPERM || error == EOPNOTSUPP) {
            error = RenameIfFree(from, to);
        }
    }
    return error;
}

bool DropNameOfStoppedMove(const std::string& from, const std::string& to) {
    struct stat left {};
    struct stat moved {};
    return ::lstat(from.c_str(), &left) == 0 && ::lstat(to.c_str(), &moved) == 0 &&
           S_ISREG(left.st_mode) && left.st_dev == moved.st_dev && left.st_ino == moved.st_ino &&
           ::unlink(from.c_str()) == 0;
}

int TakeOffSharedName(const std::string& from, const std::string& to) {
    bool unknown = false;
    const int error = RenameNoReplace(from, to, unknown);
    return unknown ? RenameIfFree(from, to) : error;
}

}  // namespace wexal::files
