#include "conduit/FolderScan.h"

#include <optional>
#include <string>
#include <vector>

#include "conduit/FileSearch.h"
#include "conduit/HHDatabase.h"
#include "conduit/InterfaceTable.h"
#include "conduit/SyncLogActivity.h"
#include "platform/synclog/SyncLog.h"

namespace {

void Log(const std::string& text) {
    LogAddEntry(text.c_str(), kActivityFinished, 0);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool IsRouteFileHistory(std::string_view name) {
    if (name.size() < 3 || name.front() != 'P') {
        return false;
    }
    const char tens = name[name.size() - 2];
    const char ones = name.back();
    if (!IsDigit(tens) || !IsDigit(ones)) {
        return false;
    }
    const int generation = (tens - '0') * 10 + (ones - '0');
    return generation >= 1 && generation <= 10;
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
        LogHandheldError("Wexal - Download file is not a regular file: " + folder + name);
    }
    // Listed once, before the first download moves files into the history
    // beside them; a history file is no new route file.
    std::erase_if(*files, [](const std::string& name) { return IsRouteFileHistory(name); });
    if (files->empty()) {
        Log("Could find any files matching: " + pattern + "\n");
        return false;
    }

    // The first file goes down unverified; each later one must be sorted.
    bool first = true;
    for (const std::string& name : *files) {
        const std::string path = folder + name;
        if (!first && routines.verifySortOrder(conduit, path, number) != 0) {
            return false;
        }
        routines.download(conduit, path, retainByRoute, number);
        first = false;
    }
    return true;
}
