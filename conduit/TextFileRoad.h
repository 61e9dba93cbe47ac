// The text-file road, written once for every vendor: the upload of one
// route, the upload loop over the route list, the sort-order check and the
// download of a route file. The per-vendor members of WexalConduit call these
// with their vendor's row.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "conduit/UploadJournal.h"
#include "platform/billingfile/BillingFileLock.h"

class WexalConduit;
struct TextFileVendor;

// Where a route's lines began in a file that it appends to.
struct RouteLinesStart {
    std::string file;  // empty: none
    std::uintmax_t size = 0;
    bool readings = true;  // the readings file, else the exceptions file
    bool known = true;     // false when the file could not be examined
};

// What makes one route's lines last (UploadJournal::PrepareCommit), and
// where they began in each file.
struct RouteCommit {
    std::string route;
    std::vector<JournalCommit> steps;
    std::vector<RouteLinesStart> starts;
};

// The journaling of an upload's routes (UploadJournal.h): the record in the
// route list of the route being uploaded, the journals of the files the
// routes' lines went into, which the caller ends once the routes marked
// uploaded last on the handheld, and the locks of those files, held until
// then: a journal that another sync finds under the lock is one of an upload
// that ended without settling it. A later route into one of the files goes
// on with its journal.
//
// A journaled route does not make its lines last itself: it leaves `commit`,
// which the caller runs (on a thread of its own, while the next route's lines
// are made) before it marks the route uploaded.
struct RouteUploadJournals {
    std::uint32_t routeRecord = 0;  // unique id of the route's record
    std::vector<wexal::billingfile::BillingFileLock> locks;
    std::vector<UploadJournal> journals;
    std::optional<RouteCommit> commit;  // the last route's, still to be run
    // Marks the route before this one once its lines last (with `wait`,
    // waiting for them): called now and then between a route's meters, so
    // that the mark comes soon, and before the files of the routes before
    // are let go. False when the upload is to stop (logged): the route fails.
    std::function<bool(bool wait)> markRouteBefore;
};

// Forces a route's lines to disk and journals them, on any thread: it touches
// only the files named. False when a step failed.
bool RunRouteCommit(const RouteCommit& commit);

// Cuts every file back to where the route's lines began, which also takes
// back whatever a later route appended since. False, logged, when a file
// cannot be cut back: the journals must then stay for the next upload to
// settle.
bool TakeBackRouteLines(const RouteCommit& commit);

// After RunRouteCommit failed: logs the failed write and takes the route's
// lines back (TakeBackRouteLines).
bool TakeBackRouteCommit(const RouteCommit& commit);

// Once the routes marked uploaded last on the handheld, ends the journals
// (with `end`: a route that could not be marked needs its journal to have its
// lines cut back) and lets the files go. False, logged, when the marks cannot
// be made to last: the journals then stay for the next upload to settle.
bool ReleaseUploadJournals(RouteUploadJournals& journaling, bool end);

// Appends the readings of one route to the readings file and captures its
// exceptions. The number of meter records walked, or -1 when the route's
// readings did not all reach the file: then nothing of this call stays in the
// readings file and the route is to be uploaded again. The files' locks are
// taken first (the readings file's, then the exceptions file's), then
// journals left by an upload that did not finish are settled; with
// `journaling` the route's own lines are journaled and the locks handed over
// with the journals.
std::int32_t UploadTextFileRoute(WexalConduit& conduit, const TextFileVendor& vendor,
                                 const std::string& route, std::string readingsPath,
                                 std::uint32_t captureExceptions, const std::string& exceptionsFile,
                                 RouteUploadJournals* journaling = nullptr);

// Uploads every route of the route list with status "U" or "M" and marks it
// "N", then settles what journals it can of the files that no route took
// (UploadJournalSettling.h). 0, or -1 when a route could not be uploaded (it
// and the routes after it keep their status).
std::int32_t UploadTextFileRoutes(WexalConduit& conduit, const TextFileVendor& vendor,
                                  const std::string& readingsPath, std::uint32_t captureExceptions,
                                  const std::string& exceptionsFile);

// Both take the route file or its claimed name (formats/RouteFileClaim.h);
// their log lines name the route file.

// 0 when the routes of the file never decrease from one record to the next;
// -1 when they do, or the file cannot be opened or read to its end.
std::int32_t VerifyTextFileSortOrder(const TextFileVendor& vendor, const std::string& file);

// Stores the route file's meters on the handheld, one meter database per
// route, and rotates the file into its history once every meter is stored.
// 0 when the file opened; -1 when it did not. A file that should start with
// a header but holds no meter is logged, and rotated like any other.
std::int32_t DownloadTextFile(WexalConduit& conduit, const TextFileVendor& vendor,
                              const std::string& file, std::uint32_t retainByRoute);

// Logs that a route file could not be read to its end (activity 22).
void LogRouteFileReadError(const std::string& routeFile);

// Logs that a download did not finish and its route file stays where it
// is for the next sync (activity 22).
void LogDownloadIncomplete(const std::string& routeFile);

// Logs that a route file could not be opened (activity 22): `missing`, or
// that it is no regular file when the codec's open said so (`opened`).
void LogRouteFileOpenError(std::int32_t opened, const std::string& routeFile,
                           const std::string& missing);
