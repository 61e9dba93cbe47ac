// The upload loop: hands every route that the handheld returned with
// readings to the route upload and marks it uploaded.
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
// and saves the list: only a saved mark lets the route's journals go.
bool MarkUploaded(HHRoute& list, std::uint32_t index, const std::string& route) {
    if (list.Open() == 0 || list.ReadByIndex(static_cast<std::uint16_t>(index)) != kSyncErrNone ||
        list.RouteName != route) {
        return false;
    }
    list.Status.assign(1, 'N');  // a literal trips a false GCC 12 -Wrestrict warning
    const bool written = list.Write() == kSyncErrNone;
    return list.Close() == kSyncErrNone && written;
}

}  // namespace

std::int32_t UploadTextFileRoutes(WexalConduit& conduit, const TextFileVendor& vendor,
                                  const std::string& readingsPath, std::uint32_t captureExceptions,
                                  const std::string& exceptionsFile) {
    HHRoute list;
    bool uploadedAny = false;
    // A list that cannot be opened is one without routes (HHRoute logged it).
    if (list.Open() != 0) {
        std::uint32_t index = 0;
        while (index < list.RecordCount()) {
            if (list.ReadByIndex(static_cast<std::uint16_t>(index)) != kSyncErrNone ||
                !ReturnedWithReadings(list)) {
                ++index;
                continue;
            }
            const std::string route = list.RouteName;
            RouteUploadJournals journaling;
            journaling.routeRecord = list.RecordId();
            list.Close();
            if (UploadTextFileRoute(conduit, vendor, route, readingsPath, captureExceptions,
                                    exceptionsFile, &journaling) < 0) {
                return -1;
            }
            uploadedAny = true;
            // The record is read again next time round and passed over as
            // "N". Were it left "U", the loop would upload it without end.
            if (!MarkUploaded(list, index, route)) {
                LogHandheldError("Wexal - Route " + route +
                                 " was uploaded but cannot be marked so");
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
    }
    if (!uploadedAny && vendor.noReadingsText != nullptr) {
        LogHandheldError(vendor.noReadingsText);
    }
    return 0;
}
