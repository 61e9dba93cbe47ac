#include "conduit/formats/HistoryRotation.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/FileNamePart.h"
#include "platform/synclog/SyncLog.h"

namespace {

constexpr int kGenerations = 10;

std::string HistoryName(const std::string& folder, const std::string& base, int generation) {
    std::string name = folder + base;
    name += static_cast<char>('0' + generation / 10);
    name += static_cast<char>('0' + generation % 10);
    return name;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Renames without ever replacing `to`. Filesystems without RENAME_NOREPLACE
// get a hard link and an unlink; those without hard links a checked rename.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return false;
    }
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) == 0) {
            return true;
        }
        const int unlinkError = errno;
        ::unlink(to.c_str());
        errno = unlinkError;
        return false;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EXDEV) {
        return false;
    }
    if (Exists(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void LogFailure(const std::string& what) {
    const std::string text = what + ": " + std::generic_category().message(errno);
    LogAddEntry(text.c_str(), kActivityHandheld, 0);
}

}  // namespace

std::string HistoryBaseName(bool byRoute, const std::string& routeOfFile) {
    if (!byRoute) {
        return "PriorD";
    }
    return "P" + WithoutPathSeparators(routeOfFile);
}

bool IsHistoryName(std::string_view name, std::string_view base) {
    if (name.size() != base.size() + 2 || !name.starts_with(base)) {
        return false;
    }
    for (int generation = 1; generation <= kGenerations; ++generation) {
        if (name == HistoryName({}, std::string(base), generation)) {
            return true;
        }
    }
    return false;
}

std::int32_t RotateIntoHistory(const std::string& routeFilePath, const std::string& baseName) {
    const std::size_t separator = routeFilePath.find_last_of("/\\");
    const std::string folder =
        separator == std::string::npos ? std::string() : routeFilePath.substr(0, separator + 1);

    const std::string oldest = HistoryName(folder, baseName, kGenerations);
    if (::unlink(oldest.c_str()) != 0 && errno != ENOENT) {
        LogFailure("Wexal - Unable to remove the oldest used route file " + oldest);
        return -1;
    }
    for (int generation = kGenerations - 1; generation >= 1; --generation) {
        const std::string from = HistoryName(folder, baseName, generation);
        if (!Exists(from)) {
            continue;
        }
        const std::string to = HistoryName(folder, baseName, generation + 1);
        if (!RenameNoReplace(from, to)) {
            LogFailure("Wexal - Unable to move used route file " + from + " to " + to);
            return -1;
        }
    }
    const std::string newest = HistoryName(folder, baseName, 1);
    if (!RenameNoReplace(routeFilePath, newest)) {
        LogFailure("Wexal - Unable to move route file " + routeFilePath + " to " + newest);
        return -1;
    }
    return 0;
}
