#include "platform/files/MoveWithoutReplacing.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace wexal::files {

int MoveWithoutReplacing(const std::string& from, const std::string& to) {
    // Plain rename(2) would silently replace an existing `to`.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    const int error = errno;
    // Some file systems (and old kernels) do not know the flag.
    if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) {
        return MoveByLinking(from, to);
    }
    return error;
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

}  // namespace wexal::files
