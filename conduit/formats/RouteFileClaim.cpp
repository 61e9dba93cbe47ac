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
constexpr int kRefusedNames = 99;

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

// A file its sort order refused goes to the first free refused name.
bool SetAsideRefused(const std::string& downloading, const std::string& routeFile,
                     int giveBackError) {
    const std::string refused = ClaimedName(routeFile, kRefused);
    for (int number = 1; number <= kRefusedNames; ++number) {
        const std::string name = number == 1 ? refused : refused + std::to_string(number);
        const int error = wexal::files::MoveBetweenOwnNames(downloading, name);
        if (error == 0) {
            LogHandheld("Wexal - Route file refused for its sort order, kept as " +
                        PathToUtf8(name) + ": " +
                        (giveBackError == EEXIST ? std::string("a newer route file took its name")
                                                 : Message(giveBackError)));
            return true;
        }
        if (error != EEXIST) {
            return false;
        }
    }
    return false;
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
    const std::string folder = ClaimFolder(routeFile);
    if (const int error = MakeClaimFolder(folder); error != 0) {
        reason = folder + ": " + Message(error);
        return error;
    }
    // Where the file system cannot rename without replacing, the claim
    // renames once its name is seen free: claiming syncs take turns at that.
    wexal::billingfile::BillingFileLock turns;
    if (!turns.Acquire(folder + "/claims")) {
        reason = turns.LockPath() + ": " + turns.Error();
        return ENOLCK;
    }
    const int error = wexal::files::TakeOffSharedName(routeFile, DownloadingName(routeFile));
    reason = Message(error);
    return error;
}

void GiveBackRouteFile(const std::string& downloading, bool refused) {
    const std::string routeFile = ClaimedRouteFile(downloading);
    // The route file's name is the billing system's: this move never
    // replaces a file put there meanwhile.
    const int error = wexal::files::MoveWithoutReplacing(downloading, routeFile);
    if (error == 0 || error == ENOENT ||
        (refused && SetAsideRefused(downloading, routeFile, error))) {
        return;
    }
    LogHandheld(
        "Wexal - Route file not put back, another file took its name: it stays for "
        "the next HotSync as " +
        PathToUtf8(downloading));
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
