#include "conduit/formats/RouteFileClaim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#include <system_error>
#include <utility>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/HistoryRotation.h"
#include "platform/billingfile/BillingFileLock.h"
#include "platform/files/Flush.h"
#include "platform/files/MoveWithoutReplacing.h"
#include "platform/synclog/SyncLog.h"

namespace {

constexpr std::string_view kClaimFolder = ".wexal";
constexpr std::string_view kDownloading = ".downloading";
constexpr std::string_view kDownloaded = ".downloaded";
constexpr std::string_view kRefused = ".refused";
constexpr std::string_view kIncomplete = ".incomplete";
constexpr int kSetAsideNames = 99;

void LogHandheld(const std::string& text) {
    LogAddEntry(text.c_str(), kActivityHandheld, 0);
}

std::string Message(int error) {
    return std::generic_category().message(error);
}

// A path's folder, with its separator (as the history takes it), and name.
std::pair<std::string_view, std::string_view> Split(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t name = separator == std::string_view::npos ? 0 : separator + 1;
    return {path.substr(0, name), path.substr(name)};
}

std::string ClaimedName(std::string_view routeFile, std::string_view suffix) {
    return ClaimFolder(routeFile) + "/" + std::string(Split(routeFile).second) +
           std::string(suffix);
}

// The folder that holds `path` as the system resolves it (only '/'
// separates there): "." for a path of no folder.
std::string ParentOf(std::string_view path) {
    const std::size_t separator = path.find_last_of('/');
    if (separator == std::string_view::npos) {
        return ".";
    }
    return separator == 0 ? "/" : std::string(path.substr(0, separator));
}

// Whether this sync may rename `file` in and out of `folder`: 0, or the errno
// of the refusal. A sticky folder lets only the file's owner, its own owner
// and root do so.
int MayMoveWithin(const std::string& folder, const std::string& file) {
    // Where the real ids are the effective ones, access(2) asks the same
    // without the newer system call that AT_EACCESS takes (which some
    // sandboxes refuse). Only a refusal counts.
    const bool own = ::getuid() == ::geteuid() && ::getgid() == ::getegid();
    const int checked = own ? ::access(folder.c_str(), W_OK | X_OK)
                            : ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS);
    if (checked != 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        return errno;
    }
    struct stat folderInfo {};
    struct stat fileInfo {};
    const uid_t user = ::geteuid();
    if (::stat(folder.c_str(), &folderInfo) == 0 && (folderInfo.st_mode & S_ISVTX) != 0 &&
        user != 0 && folderInfo.st_uid != user &&
        (::lstat(file.c_str(), &fileInfo) != 0 || fileInfo.st_uid != user)) {
        return EPERM;
    }
    return 0;
}

// The first of `folders` in which this sync may not move `file`, and why;
// empty when it may in each.
std::string RefusingFolder(std::initializer_list<std::string> folders, const std::string& file) {
    for (const std::string& folder : folders) {
        if (const int refusal = MayMoveWithin(folder, file); refusal != 0) {
            return folder + ": " + Message(refusal);
        }
    }
    return {};
}

// Why a move between `from` and `to` failed, naming what refused it: the
// folder that this sync may not change (the claim folder is looked at
// first), else the name moved to.
std::string WhyNotMoved(const std::string& from, const std::string& to, int error) {
    if (error == EACCES || error == EPERM || error == EROFS) {
        if (std::string folder = RefusingFolder({ParentOf(to), ParentOf(from)}, from);
            !folder.empty()) {
            return folder;
        }
    }
    return to + ": " + Message(error);
}

// Every user who may write the route folder syncs through the claim folder:
// what the conduit makes there (the folder, its lock; open as `fd`) gets the
// route folder's group and its permission `bits`, whatever the umask of the
// sync that made it. One made narrower before is opened up by its owner.
// Through the descriptor, never the name: another user of the folder may
// put a link in its place.
void ShareLikeRouteFolder(int fd, const struct stat& routeFolder, mode_t bits) {
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || info.st_uid != ::geteuid()) {
        return;
    }
    mode_t wanted = routeFolder.st_mode & bits;
    if (info.st_gid != routeFolder.st_gid && ::fchown(fd, -1, routeFolder.st_gid) != 0) {
        // Not a member of that group: ours gets only what others get.
        wanted = (wanted & ~S_IRWXG) | ((wanted & S_IRWXO) << 3);
    }
    if ((info.st_mode & 07777) != wanted) {
        ::fchmod(fd, wanted);
    }
}

// Read, write and search for each class; setgid, which keeps the group of
// what is made inside; and sticky, which keeps each user's files his own as
// in the route folder.
constexpr mode_t kSharedFolderBits = S_IRWXU | S_IRWXG | S_IRWXO | S_ISGID | S_ISVTX;
constexpr mode_t kSharedFileBits = 0666;

// Made when first needed and made to last (its parent flushed); anything
// else under its name, a link included, is no folder of ours. 0 or the errno.
int MakeClaimFolder(const std::string& folder, const struct stat& routeFolder) {
    const bool made = ::mkdir(folder.c_str(), S_IRWXU) == 0;
    if (!made && errno != EEXIST) {
        return errno;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    // One this sync may not read is another user's to share: what the claim
    // needs of it is said where it fails.
    if (fd < 0 && errno == EACCES && !made) {
        return 0;
    }
    if (fd < 0) {
        return errno == ELOOP ? ENOTDIR : errno;
    }
    ShareLikeRouteFolder(fd, routeFolder, kSharedFolderBits);
    ::close(fd);
    if (made) {
        wexal::files::FlushFolder((folder + "/..").c_str());
    }
    return 0;
}

// Moves a claimed file to the first free of `suffix` and its numbered
// variants: the name it got, or nothing when it stayed, with `refusal`
// saying why.
std::string SetAside(const std::string& downloading, const std::string& routeFile,
                     std::string_view suffix, std::string& refusal) {
    const std::string aside = ClaimedName(routeFile, suffix);
    for (int number = 1; number <= kSetAsideNames; ++number) {
        const std::string name = number == 1 ? aside : aside + std::to_string(number);
        const int error = wexal::files::MoveBetweenOwnNames(downloading, name);
        if (error == 0) {
            return name;
        }
        if (error != EEXIST || number == kSetAsideNames) {
            refusal = "not set aside: " + WhyNotMoved(downloading, name, error);
            break;
        }
    }
    return {};
}

// Makes the folder of claimed names when it is missing and takes the turn
// that every claiming sync takes: 0, or the errno with `reason` saying what
// failed.
int TakeClaimTurn(const std::string& routeFile, wexal::billingfile::BillingFileLock& turns,
                  std::string& reason) {
    const std::string folder = ClaimFolder(routeFile);
    const std::string routeFolder = ParentOf(folder);
    struct stat routeFolderInfo {};
    if (::stat(routeFolder.c_str(), &routeFolderInfo) != 0) {
        const int error = errno;
        reason = routeFolder + ": " + Message(error);
        return error;
    }
    if (const int error = MakeClaimFolder(folder, routeFolderInfo); error != 0) {
        reason = folder + ": " + Message(error);
        return error;
    }
    if (!turns.Acquire(folder + "/claims")) {
        reason = turns.LockPath() + ": " + turns.Error();
        return ENOLCK;
    }
    ShareLikeRouteFolder(turns.Descriptor(), routeFolderInfo, kSharedFileBits);
    return 0;
}

}  // namespace

std::string ClaimFolder(std::string_view routeFile) {
    return std::string(Split(routeFile).first) + std::string(kClaimFolder);
}

std::string DownloadingName(const std::string& routeFile) {
    return ClaimedName(routeFile, kDownloading);
}

std::string DownloadedName(const std::string& routeFile) {
    return ClaimedName(routeFile, kDownloaded);
}

std::string ClaimedRouteFile(std::string_view path) {
    for (const std::string_view suffix : {kDownloading, kDownloaded}) {
        if (!path.ends_with(suffix)) {
            continue;
        }
        const auto [claims, name] = Split(path.substr(0, path.size() - suffix.size()));
        if (name.empty() || !claims.ends_with("/")) {
            break;
        }
        const auto [folder, own] = Split(claims.substr(0, claims.size() - 1));
        if (own == kClaimFolder) {
            return std::string(folder) + std::string(name);
        }
    }
    return std::string(path);
}

int ClaimRouteFile(const std::string& routeFile, std::string& reason) {
    // Where the file system cannot rename without replacing, the claim
    // renames once its name is seen free: claiming syncs take turns at that.
    wexal::billingfile::BillingFileLock turns;
    if (const int error = TakeClaimTurn(routeFile, turns, reason); error != 0) {
        return error;
    }
    const std::string claimed = DownloadingName(routeFile);
    const int error = wexal::files::TakeOffSharedName(routeFile, claimed);
    reason = WhyNotMoved(routeFile, claimed, error);
    return error;
}

void MoveInEarlierClaims(const std::string& routeFile) {
    wexal::billingfile::BillingFileLock turns;
    for (const std::string_view suffix : {kDownloading, kDownloaded}) {
        const std::string earlier = routeFile + std::string(suffix);
        const std::string claimed = ClaimedName(routeFile, suffix);
        struct stat info {};
        if (::lstat(earlier.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        std::string reason;
        const auto stays = [&earlier](const std::string& why) {
            LogHandheld("Wexal - Route file claimed by an earlier version stays as " +
                        PathToUtf8(earlier) + ": " + PathToUtf8(why));
        };
        if (!turns.Held() && TakeClaimTurn(routeFile, turns, reason) != 0) {
            stays(reason);
            return;
        }
        // A move that stopped halfway left the file under both names.
        if (const int error = wexal::files::MoveBetweenOwnNames(earlier, claimed);
            error == EEXIST) {
            wexal::files::DropNameOfStoppedMove(earlier, claimed);
        } else if (error != 0) {
            stays(WhyNotMoved(earlier, claimed, error));
        }
    }
}

bool GiveBackRouteFile(const std::string& downloading, bool refused) {
    const std::string routeFile = ClaimedRouteFile(downloading);
    // The route file's name is the billing system's: this move never
    // replaces a file put there meanwhile.
    const int error = wexal::files::MoveWithoutReplacing(downloading, routeFile);
    if (error == 0 || error == ENOENT) {
        return error == 0;
    }
    const std::string why = error == EEXIST
                                ? "a newer route file took its name"
                                : "not put back: " + WhyNotMoved(downloading, routeFile, error);
    // Still claimed, it would go first at every later sync, ahead of the
    // newer file: a refused file only to be refused again. An incomplete
    // one that no newer file keeps from its name stays claimed, to be
    // downloaded again.
    std::string refusal;
    if (error == EEXIST || refused) {
        const std::string kept =
            SetAside(downloading, routeFile, refused ? kRefused : kIncomplete, refusal);
        if (!kept.empty() && refused) {
            LogHandheld("Wexal - Route file refused for its sort order, kept as " +
                        PathToUtf8(kept) + ": " + why);
            return false;
        }
        // Its download did not finish, or it could not be marked downloaded
        // (logged before): either way it is no longer the route file.
        if (!kept.empty()) {
            LogHandheld("Wexal - Route file kept as " + PathToUtf8(kept) + ": " + why +
                        " and comes down with the next HotSync");
            return false;
        }
    }
    LogHandheld(
        std::string(refused ? "Wexal - Route file" : "Wexal - Download incomplete, the file") +
        " stays for the next HotSync as " + PathToUtf8(downloading) + ": " + why +
        (refusal.empty() ? "" : "; " + refusal));
    return false;
}

bool SettleClaimedLink(const std::string& claimed) {
    const std::string routeFile = ClaimedRouteFile(claimed);
    const auto stays = [&claimed](const std::string& why) {
        LogHandheld("Wexal - Route file claimed as a link by an earlier version stays as " +
                    PathToUtf8(claimed) + ": " + PathToUtf8(why));
    };
    wexal::billingfile::BillingFileLock turns;
    std::string reason;
    if (TakeClaimTurn(routeFile, turns, reason) != 0) {
        stays(reason);
        return false;
    }
    struct stat info {};
    if (::lstat(claimed.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return false;
    }
    // A sync of that version downloading through it holds the file it names
    // locked.
    if (const int fd = ::open(claimed.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        fd >= 0) {
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(fd);
        if (held) {
            return true;
        }
    }
    const int error = wexal::files::MoveWithoutReplacing(claimed, routeFile);
    if (error == 0) {
        return false;
    }
    std::string refusal;
    const std::string kept =
        error == EEXIST ? SetAside(claimed, routeFile, kRefused, refusal) : std::string();
    if (!kept.empty()) {
        LogHandheld(
            "Wexal - Route file that is a symbolic link, claimed by an earlier version, "
            "kept as " +
            PathToUtf8(kept) + ": a newer route file took its name");
    } else {
        stays(refusal.empty() ? WhyNotMoved(claimed, routeFile, error) : refusal);
    }
    return false;
}

std::string WhyClaimedFileIsStuck(const std::string& claimed) {
    const std::string claims = ParentOf(claimed);
    return RefusingFolder({claims, ParentOf(claims)}, claimed);
}

std::int32_t MoveDownloadedIntoHistory(const std::string& path, const std::string& baseName) {
    const std::string routeFile = ClaimedRouteFile(path);
    const bool claimed = routeFile != path;
    const std::string from = claimed ? DownloadedName(routeFile) : path;
    // The file is marked downloaded before the history is touched: should
    // this one rename fail, it is downloaded again by the next sync.
    if (from != path) {
        if (const int error = wexal::files::MoveBetweenOwnNames(path, from); error != 0) {
            LogHandheld("Wexal - Unable to move route file " + PathToUtf8(path) + ": " +
                        PathToUtf8(WhyNotMoved(path, from, error)));
            return -1;
        }
    }
    // The history stays beside the route file.
    if (RotateIntoHistory(routeFile, baseName, from) != 0) {
        if (claimed) {
            LogHandheld(
                "Wexal - Route file downloaded but not moved into the history, it is "
                "not downloaded again: " +
                PathToUtf8(from));
        }
        return -1;
    }
    return 0;
}
