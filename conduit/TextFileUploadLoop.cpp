// The upload loop: hands every route that the handheld returned with
// readings to the route upload and marks it uploaded.
//
// What lasts a power loss, three flushes a route into one readings file:
// the route's lines, then the journal's record that they are whole, then the
// route list with the mark, whose folder flush waits for the end of the loop.
// The files stay locked and their journals kept until the marks last: a
// journal found after a power loss tells the routes whose marks were lost
// (UploadJournal.h). Someone waiting for a file gets it after the route
// being uploaded, for three more flushes.
#include <algorithm>
#include <set>
#include <string>

#include "conduit/ExceptionRule.h"
#include "conduit/HHRoute.h"
#include "conduit/TextFileRoad.h"
#include "conduit/TextFileVendors.h"

using wexal::billingfile::BillingFileLock;

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
    return list.CloseFolderLater() == kSyncErrNone && marked;
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
    RouteUploadJournals journaling;
    for (std::uint32_t index = 0; index < list.RecordCount(); ++index) {
        if (list.ReadByIndex(static_cast<std::uint16_t>(index)) != kSyncErrNone ||
            !ReturnedWithReadings(list)) {
            continue;
        }
        const std::string route = list.RouteName;
        journaling.routeRecord = list.RecordId();
        list.Close();
        const bool first = uploaded.insert(route).second;
        if (first && UploadTextFileRoute(conduit, vendor, route, readingsPath, captureExceptions,
                                         exceptionsFile, &journaling) < 0) {
            ReleaseUploadJournals(journaling, true);
            return -1;
        }
        if (!MarkUploaded(list, index, route)) {
            LogHandheldError("Wexal - Route " + route + " was uploaded but cannot be marked so");
            ReleaseUploadJournals(journaling, false);
            return -1;
        }
        // Another sync or the office waiting for one of the files gets it
        // between two routes, as if every route let its files go.
        if (std::any_of(journaling.locks.begin(), journaling.locks.end(),
                        [](const BillingFileLock& lock) { return lock.Awaited(); }) &&
            !ReleaseUploadJournals(journaling, true)) {
            return -1;
        }
        if (list.Open() == 0) {
            ReleaseUploadJournals(journaling, true);
            return -1;
        }
    }
    list.Close();
    if (uploaded.empty() && vendor.noReadingsText != nullptr) {
        LogHandheldError(vendor.noReadingsText);
    }
    return ReleaseUploadJournals(journaling, true) ? 0 : -1;
}
