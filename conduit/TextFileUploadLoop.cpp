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
//
// The first two flushes of a route are waited for on a thread of their own
// while the next route's lines are made and appended: the journal's record
// says that whatever follows a route's lines is a later route's, not yet
// whole, so a crash at any point still cuts back exactly the routes not
// marked. Only this thread touches the handheld, and a route is marked only
// once its record lasts, in the order of the list.
#include <algorithm>
#include <future>
#include <optional>
#include <set>
#include <string>
#include <utility>

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

// A route whose lines are being made to last while the next route is made.
struct CommittingRoute {
    RouteCommit commit;
    std::future<bool> lasting;
    std::uint32_t index = 0;  // its record in the route list
};

enum class Finished {
    Marked,    // or nothing was committing
    Failed,    // its lines did not last: taken back, or their journals kept
    Unmarked,  // its lines last but its mark could not be saved
};

// Waits for the committing route's lines to last and marks it uploaded.
Finished FinishCommitting(std::optional<CommittingRoute>& committing,
                          RouteUploadJournals& journaling, HHRoute& list) {
    if (!committing) {
        return Finished::Marked;
    }
    // Waited for before anything moves: the thread reads the commit in place.
    const bool lasting = committing->lasting.get();
    CommittingRoute route = std::move(*committing);
    committing.reset();
    if (!lasting) {
        // Lines that stay are cut back by the next upload into the file:
        // their journals stay.
        if (!TakeBackRouteCommit(route.commit)) {
            journaling.journals.clear();
        }
        return Finished::Failed;
    }
    if (!MarkUploaded(list, route.index, route.commit.route)) {
        LogHandheldError("Wexal - Route " + route.commit.route +
                         " was uploaded but cannot be marked so");
        return Finished::Unmarked;
    }
    return Finished::Marked;
}

// FinishCommitting, and when the route could not be marked: the lines of
// `after` (a route appended since, not marked either) are taken back too and
// the files let go, ending the journals unless a route's lines last without
// its mark. False then.
bool FinishOrLetGo(std::optional<CommittingRoute>& committing, RouteUploadJournals& journaling,
                   HHRoute& list, const std::optional<RouteCommit>& after = std::nullopt) {
    const Finished finished = FinishCommitting(committing, journaling, list);
    if (finished == Finished::Marked) {
        return true;
    }
    if (after && !TakeBackRouteLines(*after)) {
        journaling.journals.clear();
    }
    ReleaseUploadJournals(journaling, finished != Finished::Unmarked);
    return false;
}

// Ends the upload after a failure, with the marks saved last.
std::int32_t Stop(std::optional<CommittingRoute>& committing, RouteUploadJournals& journaling,
                  HHRoute& list) {
    if (FinishOrLetGo(committing, journaling, list)) {
        ReleaseUploadJournals(journaling, true);
    }
    return -1;
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
    // A route into another readings file first lets the files of the route
    // before it go, which needs that route marked: its lines are then made
    // to last before the next route begins.
    const bool oneReadingsFile =
        !vendor.starInReadingsPath || readingsPath.find('*') == std::string::npos;
    // Routes uploaded in this sync, by name: a route listed twice has one
    // meter database, whose readings go once.
    std::set<std::string> uploaded;
    RouteUploadJournals journaling;
    std::optional<CommittingRoute> committing;
    for (std::uint32_t index = 0; index < list.RecordCount(); ++index) {
        if (list.ReadByIndex(static_cast<std::uint16_t>(index)) != kSyncErrNone ||
            !ReturnedWithReadings(list)) {
            continue;
        }
        const std::string route = list.RouteName;
        journaling.routeRecord = list.RecordId();
        list.Close();
        const bool first = uploaded.insert(route).second;
        // Marks are saved in the order of the list.
        if ((!first || !oneReadingsFile) && !FinishOrLetGo(committing, journaling, list)) {
            return -1;
        }
        if (first && UploadTextFileRoute(conduit, vendor, route, readingsPath, captureExceptions,
                                         exceptionsFile, &journaling) < 0) {
            return Stop(committing, journaling, list);
        }
        // This route's lines are all appended: the route before it may now
        // be marked, once its own last. When it cannot be, this route's lines
        // go, as a failed route's do.
        if (!FinishOrLetGo(committing, journaling, list, journaling.commit)) {
            return -1;
        }
        if (first && journaling.commit) {
            committing.emplace();
            committing->commit = std::move(*journaling.commit);
            journaling.commit.reset();
            committing->index = index;
            committing->lasting =
                std::async(std::launch::async, RunRouteCommit, std::cref(committing->commit));
        } else if (!MarkUploaded(list, index, route)) {
            LogHandheldError("Wexal - Route " + route + " was uploaded but cannot be marked so");
            ReleaseUploadJournals(journaling, false);
            return -1;
        }
        // Another sync or the office waiting for one of the files gets it
        // between two routes, as if every route let its files go.
        if (std::any_of(journaling.locks.begin(), journaling.locks.end(),
                        [](const BillingFileLock& lock) { return lock.Awaited(); }) &&
            (!FinishOrLetGo(committing, journaling, list) ||
             !ReleaseUploadJournals(journaling, true))) {
            return -1;
        }
        if (list.Open() == 0) {
            return Stop(committing, journaling, list);
        }
    }
    list.Close();
    if (!FinishOrLetGo(committing, journaling, list)) {
        return -1;
    }
    if (uploaded.empty() && vendor.noReadingsText != nullptr) {
        LogHandheldError(vendor.noReadingsText);
    }
    return ReleaseUploadJournals(journaling, true) ? 0 : -1;
}
