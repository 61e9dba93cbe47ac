// The upload loop: hands every route that the handheld returned with
// readings to the route upload and marks it uploaded.
#include <set>
#include <string>

#include "conduit/ExceptionRule.h"
#include "conduit/HHRoute.h"
#include "conduit/TextFileRoad.h"
#include "conduit/TextFileVendors.h"

namespace {

bool ReturnedWithReadings(const HHRoute& list) {
    return IsSingleChar(list.Status, 'U') || IsSingleChar(list.Status, 'M');
}

// Sets the status of record `index`, which held `route` before its upload,
// and saves the list: only a saved mark lets the route's journals go. The
// record is read back: a mark that went to another record would leave the
// route to be uploaded again.
bool MarkUploaded(HHRoute& list, std::uint32_t index, const std::string& route) {
    const auto at = static_cast<std::uint16_t>(index);
    if (list.Open() == 0 || list.ReadByIndex(at) != kSyncErrNone || list.RouteName != route) {
        return false;
    }
    list.Status.assign(1, 'N');  // a literal trips a false GCC 12 -Wrestrict warning
    const bool marked = list.Write() == kSyncErrNone && list.ReadByIndex(at) == kSyncErrNone &&
                        IsSingleChar(list.Status, 'N');
    return list.Close() == kSyncErrNone && marked;
}

}  // namespace

std::int32_t UploadTextFileRoutes(WexalConduit& conduit, const TextFileVendor& vendor,
                                  const std::string& readingsPath, std::uint32_t captureExceptions,
                                  const std::string& exceptionsFile) {
    HHRoute list;
    // Without the list the routes that hold readings are unknown: a download
    // now could replace their meter databases (HHRoute logged why).
    if (list.Open() == 0) {
        return -1;
    }
    // Routes uploaded in this sync, by name: a route listed twice has one
    // meter database, whose readings go once.
    std::set<std::string> uploaded;
    for (std::uint32_t index = 0; index < list.RecordCount(); ++index) {
        if (list.ReadByIndex(static_cast<std::uint16_t>(index)) != kSyncErrNone ||
            !ReturnedWithReadings(list)) {
            continue;
        }
        const std::string route = list.RouteName;
        RouteUploadJournals journaling;
        journaling.routeRecord = list.RecordId();
        list.Close();
        const bool first = uploaded.insert(route).second;
        if (first && UploadTextFileRoute(conduit, vendor, route, readingsPath, captureExceptions,
                                         exceptionsFile, &journaling) < 0) {
            return -1;
        }
        if (!MarkUploaded(list, index, route)) {
            LogHandheldError("Wexal - Route " + route + " was uploaded but cannot be marked so");
            return -1;
        }
        // A journal that stays names a route marked uploaded: the next
        // upload into its file keeps the lines.
        for (UploadJournal& journal : journaling.journals) {
            journal.End();
        }
        // Only now may another sync go on with the files.
        journaling.locks.clear();
        if (list.Open() == 0) {
            return -1;
        }
    }
    list.Close();
    if (uploaded.empty() && vendor.noReadingsText != nullptr) {
        LogHandheldError(vendor.noReadingsText);
    }
    return 0;
}
