#include "conduit/formats/RouteFileClaim.h"

#include <cerrno>
#include <system_error>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/HistoryRotation.h"
#include "platform/synclog/SyncLog.h"

namespace {

constexpr std::string_view kDownloading = ".downloading";
constexpr std::string_view kDownloaded = ".downloaded";

void LogHandheld(const std::string& text) {
    LogAddEntry(text.c_str(), kActivityHandheld, 0);
}

}  // namespace

std::string DownloadingName(const std::string& routeFile) {
    return routeFile + std::string(kDownloading);
}

std::string DownloadedName(const std::string& routeFile) {
    return routeFile + std::string(kDownloaded);
}

std::string ClaimedRouteFile(std::string_view path) {
    for (const std::string_view suffix : {kDownloading, kDownloaded}) {
        if (path.size() > suffix.size() && path.ends_with(suffix)) {
            path.remove_suffix(suffix.size());
            break;
        }
    }
    return std::string(path);
}

int ClaimRouteFile(const std::string& routeFile) {
    return RenameNoReplace(routeFile, DownloadingName(routeFile)) ? 0 : errno;
}

void GiveBackRouteFile(const std::string& downloading) {
    if (!RenameNoReplace(downloading, ClaimedRouteFile(downloading)) && errno != ENOENT) {
        LogHandheld(
            "Wexal - Route file not put back, another file took its name: it stays for "
            "the next HotSync as " +
            PathToUtf8(downloading));
    }
}

std::int32_t MoveDownloadedIntoHistory(const std::string& path, const std::string& baseName) {
    const std::string routeFile = ClaimedRouteFile(path);
    const bool claimed = routeFile != path;
    const std::string from = claimed ? DownloadedName(routeFile) : path;
    // The file is marked downloaded before the history is touched: should
    // this one rename fail, it is downloaded again by the next sync.
    if (from != path && !RenameNoReplace(path, from)) {
        LogHandheld("Wexal - Unable to move route file " + PathToUtf8(path) + " to " +
                    PathToUtf8(from) + ": " + std::generic_category().message(errno));
        return -1;
    }
    if (RotateIntoHistory(from, baseName) != 0) {
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
