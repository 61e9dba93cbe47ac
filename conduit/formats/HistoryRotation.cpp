#include "conduit/formats/HistoryRotation.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/AnsiText.h"
#include "platform/files/FileNameEscape.h"
#include "platform/files/MoveWithoutReplacing.h"
#include "platform/synclog/SyncLog.h"

namespace {

constexpr int kGenerations = 10;
// The oldest file while a rotation of a full history is under way: it is
// removed only once the route file reached the newest name.
constexpr int kSetAside = kGenerations + 1;

std::string HistoryName(const std::string& folder, const std::string& base, int generation) {
    std::string name = folder + base;
    name += static_cast<char>('0' + generation / 10);
    name += static_cast<char>('0' + generation % 10);
    return name;
}

void LogFailure(const std::string& what) {
    const std::string text = what + ": " + std::generic_category().message(errno);
    LogAddEntry(text.c_str(), kActivityHandheld, 0);
}

// History names are the conduit's own: a move may fall back on a checked
// rename where the file system has neither a rename that refuses to replace
// nor hard links. False with errno set when it did not happen.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    errno = wexal::files::MoveBetweenOwnNames(from, to);
    return errno == 0;
}

}  // namespace

std::string HistoryBaseName(bool byRoute, const std::string& routeOfFile) {
    if (!byRoute) {
        return "PriorD";
    }
    return "P" + wexal::files::EscapedForFileName(routeOfFile);
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsHistoryName(std::string_view name, std::string_view base) {
    if (name.size() != base.size() + 2 || !name.starts_with(base)) {
        return false;
    }
    for (int generation = 1; generation <= kSetAside; ++generation) {
        if (name == HistoryName({}, std::string(base), generation)) {
            return true;
        }
    }
    return false;
}

std::int32_t RotateIntoHistory(const std::string& routeFilePath, const std::string& baseName,
                               const std::string& file) {
    const std::size_t separator = routeFilePath.find_last_of("/\\");
    const std::string folder =
        separator == std::string::npos ? std::string() : routeFilePath.substr(0, separator + 1);
    const auto name = [&](int generation) { return HistoryName(folder, baseName, generation); };
    const std::string& moved = file.empty() ? routeFilePath : file;
    // A name ends at a NUL: every generation would be one file, and the
    // route file, moved in as the newest, removed as the oldest.
    if (baseName.find('\0') != std::string::npos) {
        errno = EINVAL;
        LogFailure("Wexal - Unable to move route file " + PathToUtf8(moved) + " into the history");
        return -1;
    }

    // Only the files up to the first free name move: a move that fails
    // leaves a free name behind it, never a lost file.
    int free = 1;
    while (free <= kGenerations && PathExists(name(free))) {
        ++free;
    }
    const std::string aside = name(kSetAside);
    if (free > kGenerations) {
        // A file set aside before with every name taken again is the oldest
        // of a rotation that got its route file to the newest name (one that
        // stopped on the way left a name free).
        if (::unlink(aside.c_str()) != 0 && errno != ENOENT) {
            LogFailure("Wexal - Unable to remove the oldest used route file " + PathToUtf8(aside));
            return -1;
        }
        if (!RenameNoReplace(name(kGenerations), aside)) {
            LogFailure("Wexal - Unable to move used route file " + PathToUtf8(name(kGenerations)) +
                       " to " + PathToUtf8(aside));
            return -1;
        }
        free = kGenerations;
    }
    for (int generation = free - 1; generation >= 1; --generation) {
        if (!RenameNoReplace(name(generation), name(generation + 1))) {
            LogFailure("Wexal - Unable to move used route file " + PathToUtf8(name(generation)) +
                       " to " + PathToUtf8(name(generation + 1)));
            return -1;
        }
    }
    if (!RenameNoReplace(moved, name(1))) {
        LogFailure("Wexal - Unable to move route file " + PathToUtf8(moved) + " to " +
                   PathToUtf8(name(1)));
        return -1;
    }
    if (::unlink(aside.c_str()) != 0 && errno != ENOENT) {
        LogFailure("Wexal - Unable to remove the oldest used route file " + PathToUtf8(aside));
    }
    return 0;
}
