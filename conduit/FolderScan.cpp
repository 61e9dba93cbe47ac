#include "conduit/FolderScan.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "conduit/FileSearch.h"
#include "conduit/InterfaceTable.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/TextFileVendors.h"
#include "conduit/formats/HistoryRotation.h"
#include "conduit/formats/VendorMeter.h"
#include "platform/synclog/SyncLog.h"

namespace {

void Log(const std::string& text) {
    LogAddEntry(text.c_str(), kActivityFinished, 0);
}

// The route that the download takes a file's history names from: that of
// the first record that gives one, as the vendor's codec reads the file.
// Nothing when the file cannot be opened.
std::optional<std::string> RouteOfFile(const TextFileVendor& vendor, const std::string& path) {
    const std::unique_ptr<VendorMeter> codec = vendor.makeMeter();
    if (codec->Open(path) != 0) {
        return std::nullopt;
    }
    while (codec->RouteOfFile().empty() && codec->Read() == VendorMeter::kRecordRead) {
    }
    return codec->RouteOfFile();
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
    return route && HistoryBaseName(true, *route) == base;
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
    std::optional<std::vector<std::string>> files = FindMatchingFiles(folder, pattern);
    if (!files) {
        Log("Could not change to dir: " + routePath);
        return false;
    }
    // Listed once, before the first download moves files into the history
    // beside them; a history file is no new route file. Each one passed over
    // is said, so that a route file mistaken for one would not go unnoticed.
    if (const TextFileVendor* vendor = text_file_vendors::ForNumber(number)) {
        std::erase_if(*files, [&](const std::string& name) {
            if (!IsRouteFileHistory(*vendor, folder, name)) {
                return false;
            }
            Log("Wexal - Used route file not downloaded again: " + folder + name);
            return true;
        });
    }
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
