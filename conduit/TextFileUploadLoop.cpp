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
// marked. The route is marked as soon as its record lasts, from between the
// next route's meters: any flush waits for the lines written before it, so
// the mark's flush is cheapest then. Only this thread touches the handheld,
// and routes are marked in the order of the list.
#include <algorithm>
#include <chrono>
#include <future>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "conduit/ExceptionRule.h"
#include "conduit/HHRoute.h"
#include "conduit/TextFileRoad.h"
#include "conduit/TextFileVendors.h"
#include "conduit/UploadJournalSettling.h"
#include "conduit/formats/AnsiText.h"

using wexal::billingfile::BillingFileLock;

namespace {

bool ReturnedWithReadings(const HHRoute& list) {
    return IsSingleChar(list.Status, 'U') || IsSingleChar(list.Status, 'M');
}

// Sets the status of record `index`, which held `route` before its upload,
// and saves the list: only a saved mark lets the route's journals go. The
// record is read back: a mark that went to another record would leave the
// route to be uploaded again. A mark that fails is logged.
bool MarkUploaded(HHRoute& list, std::uint32_t index, const std::string& route) {
    const auto at = static_cast<std::uint16_t>(index);
    bool marked =
        list.Open() != 0 && list.ReadByIndex(at) == kSyncErrNone && list.RouteName == route;
    if (marked) {
        list.Status.assign(1, 'N');  // a literal trips a false GCC 12 -Wrestrict warning
        marked = list.Write() == kSyncErrNone && list.ReadByIndex(at) == kSyncErrNone &&
                 IsSingleChar(list.Status, 'N');
        marked = list.CloseFolderLater() == kSyncErrNone && marked;
    }
    if (!marked) {
        LogHandheldError("Wexal - Route " + AnsiToUtf8(route) +
                         " was uploaded but cannot be marked so");
    }
    return marked;
}

enum class Finished {
    Marked,    // or nothing was committing
    Failed,    // its lines did not last: taken back, or their journals kept
    Unmarked,  // its lines last but its mark could not be saved
};

// The route whose lines are being made to last while the next route's lines
// are made, and how the last one to finish ended.
class CommittingRoute {
  public:
    CommittingRoute(RouteUploadJournals& journaling, HHRoute& list)
        : journaling_(journaling), list_(list) {}
    ~CommittingRoute() {
        if (lasting_.valid()) {
            lasting_.wait();  // the thread reads commit_ in place
        }
    }
    CommittingRoute(const CommittingRoute&) = delete;
    CommittingRoute& operator=(const CommittingRoute&) = delete;

    void Start(RouteCommit commit, std::uint32_t index) {
        commit_ = std::move(commit);
        index_ = index;
        lasting_ = std::async(std::launch::async, RunRouteCommit, std::cref(commit_));
    }

    // Marks the route once its lines last; with `wait` it waits for them,
    // else a route still committing is left to a later call. False once a
    // route could not be marked (logged): the upload stops.
    bool Finish(bool wait) {
        if (outcome_ != Finished::Marked) {
            return false;
        }
        if (!lasting_.valid() ||
            (!wait && lasting_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)) {
            return true;
        }
        if (!lasting_.get()) {
            outcome_ = Finished::Failed;  // its lines are taken back at Stop
        } else if (!MarkUploaded(list_, index_, commit_.route)) {
            outcome_ = Finished::Unmarked;
        }
        return outcome_ == Finished::Marked;
    }

    // Ends the upload after a failure, with the marks saved last. The lines
    // of `after`, a route appended after the committing one and not marked
    // either, go; the journals end unless a route's lines last without its
    // mark.
    std::int32_t Stop(const std::optional<RouteCommit>& after = std::nullopt) {
        Finish(true);
        // Cut back after the route being appended took back its own lines:
        // cut first, the file would seem changed behind that route's back.
        // Lines that stay are cut back by the next upload into the file:
        // their journals stay.
        if ((outcome_ == Finished::Failed && !TakeBackRouteCommit(commit_)) ||
            (outcome_ != Finished::Marked && after && !TakeBackRouteLines(*after))) {
            journaling_.journals.clear();
        }
        ReleaseUploadJournals(journaling_, outcome_ != Finished::Unmarked);
        return -1;
    }

  private:
    RouteUploadJournals& journaling_;
    HHRoute& list_;
    RouteCommit commit_;
    std::uint32_t index_ = 0;  // its record in the route list
    std::future<bool> lasting_;
    Finished outcome_ = Finished::Marked;
};

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
    CommittingRoute committing(journaling, list);
    journaling.markRouteBefore = [&committing](bool wait) { return committing.Finish(wait); };
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
        if ((!first || !oneReadingsFile) && !committing.Finish(true)) {
            return committing.Stop();
        }
        if (first && UploadTextFileRoute(conduit, vendor, route, readingsPath, captureExceptions,
                                         exceptionsFile, &journaling) < 0) {
            return committing.Stop();
        }
        // This route's lines are all appended: the route before it is
        // marked once its own last. When it cannot be, this route's lines
        // go, as a failed route's do.
        if (!committing.Finish(true)) {
            return committing.Stop(journaling.commit);
        }
        if (first && journaling.commit) {
            committing.Start(std::move(*journaling.commit), index);
            journaling.commit.reset();
        } else if (!MarkUploaded(list, index, route)) {
            ReleaseUploadJournals(journaling, false);
            return -1;
        }
        // Another sync or the office waiting for one of the files gets it
        // between two routes, as if every route let its files go.
        if (std::any_of(journaling.locks.begin(), journaling.locks.end(),
                        [](const BillingFileLock& lock) { return lock.Awaited(); })) {
            if (!committing.Finish(true)) {
                return committing.Stop();
            }
            if (!ReleaseUploadJournals(journaling, true)) {
                return -1;
            }
        }
        if (list.Open() == 0) {
            return committing.Stop();
        }
    }
    list.Close();
    if (!committing.Finish(true)) {
        return committing.Stop();
    }
    if (uploaded.empty() && vendor.noReadingsText != nullptr) {
        LogHandheldError(vendor.noReadingsText);
    }
    if (!ReleaseUploadJournals(journaling, true)) {
        return -1;
    }
    // Every route of this handheld is marked and its marks last: a journal
    // that a killed sync left after its marks can be settled now, even when
    // no route went into its file.
    SettleJournalsLeftBehind(
        BillingFilesWithJournals(readingsPath, vendor.starInReadingsPath, exceptionsFile));
    return 0;
}
