#include "conduit/formats/RouteFileClaim.h"

#include <sys/stat.h>

#include <cerrno>
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

// Made when first needed and made to last (its parent flushed); anything
// else under its name, a link included, is no folder of ours. 0 or the errno.
int MakeClaimFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0777) == 0) {
        wexal::files::FlushFolder((folder + "/..").c_str());
        return 0;
    }
    struct stat info {};
    if (errno != EEXIST || ::lstat(folder.c_str(), &info) != 0) {
        return errno;
    }
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

// Moves a claimed file to the first free of `suffix` and its numbered
// variants: the name it got, or nothing when it stayed.
std::string SetAside(const std::string& downloading, const std::string& routeFile,
                     std::string_view suffix) {
    const std::string aside = ClaimedName(routeFile, suffix);
    for (int number = 1; number <= kSetAsideNames; ++number) {
        const std::string name = number == 1 ? aside : aside + std::to_string(number);
        const int error = wexal::files::MoveBetweenOwnNames(downloading, name);
        if (error == 0) {
            return name;
        }
        if (error != EEXIST) {
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
    if (const int error = MakeClaimFolder(folder); error != 0) {
        reason = folder + ": " + Message(error);
        return error;
    }
    if (!turns.Acquire(folder + "/claims")) {
        reason = turns.LockPath() + ": " + turns.Error();
        return ENOLCK;
    }
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
    const int error = wexal::files::TakeOffSharedName(routeFile, DownloadingName(routeFile));
    reason = Message(error);
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
        // The claim that follows says why it cannot be made.
        if (!turns.Held() && TakeClaimTurn(routeFile, turns, reason) != 0) {
            return;
        }
        // A move that stopped halfway left the file under both names.
        if (wexal::files::MoveBetweenOwnNames(earlier, claimed) == EEXIST) {
            wexal::files::DropNameOfStoppedMove(earlier, claimed);
        }
    }
}

void GiveBackRouteFile(const std::string& downloading, bool refused) {
    const std::string routeFile = ClaimedRouteFile(downloading);
    // The route file's name is the billing system's: this move never
    // replaces a file put there meanwhile.
    const int error = wexal::files::MoveWithoutReplacing(downloading, routeFile);
    if (error == 0 || error == ENOENT) {
        return;
    }
    const std::string why =
        error == EEXIST ? "a newer route file took its name" : "not put back: " + Message(error);
    // Still claimed, it would go first at every later sync, ahead of the
    // newer file: a refused file only to be refused again. An incomplete
    // one that no newer file keeps from its name stays claimed, to be
    // downloaded again.
    if (error == EEXIST || refused) {
        const std::string kept = SetAside(downloading, routeFile, refused ? kRefused : kIncomplete);
        if (!kept.empty()) {
            LogHandheld(
                "Wexal - Route file " +
                std::string(refused ? "refused for its sort order" : "download did not finish") +
                ", kept as " + PathToUtf8(kept) + ": " + why);
            return;
        }
    }
    LogHandheld("Wexal - Route file stays for the next HotSync as " + PathToUtf8(downloading) +
                ": " + why);
}

std::int32_t MoveDownloadedIntoHistory(const std::string& path, const std::string& baseName) {
    const std::string routeFile = ClaimedRouteFile(path);
    const bool claimed = routeFile != path;
    const std::string from = claimed ? DownloadedName(routeFile) : path;
    // The file is marked downloaded before the history is touched: should
    // this one rename fail, it is downloaded again by the next sync.
    if (from != path) {
        if (const int error = wexal::files::MoveBetweenOwnNames(path, from); error != 0) {
            LogHandheld("Wexal - Unable to move route file " + PathToUtf8(path) + " to " +
                        PathToUtf8(from) + ": " + Message(error));
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
