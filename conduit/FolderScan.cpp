#include "conduit/FolderScan.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "conduit/ClaimedDownload.h"
#include "conduit/FileSearch.h"
#include "conduit/HHDatabase.h"
#include "conduit/InterfaceTable.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/TextFileVendors.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/FileNamePart.h"
#include "conduit/formats/HistoryRotation.h"
#include "conduit/formats/RouteFileClaim.h"
#include "conduit/formats/VendorMeter.h"
#include "platform/synclog/SyncLog.h"

namespace {

void Log(const std::string& text) {
    LogAddEntry(text.c_str(), kActivityFinished, 0);
}

// The route files of the folder that `pattern` matches whose files a sync
// left under their claimed names (RouteFileClaim.h).
std::vector<std::string> FindClaimedRouteFiles(const std::string& folder,
                                               std::string_view pattern) {
    const std::string listed = ClaimFolder(folder) + "/";
    std::vector<std::string> routeFiles;
    std::vector<std::string> notRegular;
    std::vector<std::string> names =
        FindMatchingFiles(listed, "*", notRegular).value_or(std::vector<std::string>{});
    // What is no regular file under a claimed name holds its route file
    // back: its turn says so.
    names.insert(names.end(), notRegular.begin(), notRegular.end());
    for (const std::string& name : names) {
        const std::string routeFile = ClaimedRouteFile(listed + name);
        if (routeFile != listed + name) {
            std::string routeName = routeFile.substr(folder.size());
            if (MatchesFilePattern(pattern, routeName)) {
                routeFiles.push_back(std::move(routeName));
            }
        }
    }
    return routeFiles;
}

}  // namespace

bool IsRouteFileHistory(const TextFileVendor& vendor, const std::string& folder,
                        const std::string& name) {
    if (IsHistoryName(name, HistoryBaseName(false, {}))) {
        return true;
    }
    // Only a name the per-route history could give is worth opening the file.
    if (name.size() < 3 || name.front() != 'P') {
        return false;
    }
    const std::string base = name.substr(0, name.size() - 2);
    if (!IsHistoryName(name, base)) {
        return false;
    }
    const std::optional<std::string> route = RouteOfFile(vendor, folder + name);
    // Earlier histories wrote the route as it is, a separator as '_'.
    return route &&
           (HistoryBaseName(true, *route) == base || "P" + WithoutPathSeparators(*route) == base);
}

bool DownloadRouteFolder(WexalConduit& conduit, const TextFileRoutines& routines,
                         std::int32_t number, const std::string& routePath,
                         std::uint32_t retainByRoute) {
    const std::size_t separator = routePath.find_last_of("/\\");
    if (separator == std::string::npos) {
        Log("Invalid RoutePath Specified");
        return false;
    }
    const std::string folder = routePath.substr(0, separator + 1);
    const std::string pattern = routePath.substr(separator + 1);

    // The folder is read where it lies rather than made the current folder:
    // the conduit runs inside the sync manager, and a relative folder would
    // name another place once current.
    std::vector<std::string> notRegular;
    std::optional<std::vector<std::string>> files = FindMatchingFiles(folder, pattern, notRegular);
    if (!files) {
        Log("Could not change to dir: " + routePath);
        return false;
    }
    // Passed over, as a FIFO would hold the sync and a device never end.
    for (const std::string& name : notRegular) {
        LogHandheldError("Wexal - Download file is not a regular file: " +
                         PathToUtf8(folder + name));
    }
    // Listed once, before the first download moves files into the history
    // beside them; a history file is no new route file. Each one passed over
    // is said, so that a route file mistaken for one would not go unnoticed.
    if (const TextFileVendor* vendor = text_file_vendors::ForNumber(number)) {
        std::erase_if(*files, [&](const std::string& name) {
            if (!IsRouteFileHistory(*vendor, folder, name)) {
                return false;
            }
            Log("Wexal - Used route file not downloaded again: " + PathToUtf8(folder + name));
            return true;
        });
    }
    // A file that a sync claimed counts as its route file: such a file left
    // by a sync that stopped is settled in that route file's turn.
    for (std::string& routeFile : FindClaimedRouteFiles(folder, pattern)) {
        if (std::ranges::find(*files, routeFile) == files->end()) {
            files->push_back(std::move(routeFile));
        }
    }
    SortAsListed(*files);
    if (files->empty()) {
        Log("Could find any files matching: " + pattern + "\n");
        return false;
    }

    // Each file is checked for its sort order, the first one too: a route
    // that came back later in a file would lose its first meters.
    for (const std::string& name : *files) {
        if (!DownloadClaimedRouteFile(conduit, routines, number, folder + name, retainByRoute,
                                      /*listed=*/true)) {
            return false;
        }
    }
    return true;
}
