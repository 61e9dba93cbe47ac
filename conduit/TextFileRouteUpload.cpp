// Upload of one route: every meter of the route's database is weighed against
// the vendor's exception rule, and every read meter becomes one line of the
// readings file. A route goes in whole or not at all, so that a failed route
// can simply be uploaded again at the next sync; the upload journal does the
// same for a sync killed halfway.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "conduit/BillingFileLocking.h"
#include "conduit/ExceptionRule.h"
#include "conduit/HHMeter.h"
#include "conduit/MeterRecordFields.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/TextFileRoad.h"
#include "conduit/TextFileVendors.h"
#include "conduit/TrailingWhiteSpace.h"
#include "conduit/UploadJournal.h"
#include "conduit/UploadJournalSettling.h"
#include "conduit/WexalConduit.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/FileNamePart.h"
#include "conduit/formats/VendorReading.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/palm/SyncManager.h"
#include "platform/synclog/SyncLog.h"

using wexal::billingfile::BillingFileLock;

namespace {

constexpr const char* kReadingsWriteFailed =
    "Write to text file failed\nBad file name or disk full?";
constexpr const char* kExceptionWriteFailed =
    "Write to exception text file failed\nBad file name or disk full?";
constexpr const char* kNoticeCaption = "Wexal Conduit";

void Log(const std::string& text, std::int32_t activity) {
    LogAddEntry(text.c_str(), activity, 0);
}

void ReplaceStars(std::string& path, const std::string& by) {
    for (std::size_t at = path.find('*'); at != std::string::npos;
         at = path.find('*', at + by.size())) {
        path.replace(at, 1, by);
    }
}

void HandOver(CodecFieldMask fields, const HHMeter& meter, const std::string& route,
              VendorReading& codec) {
    for (std::size_t index = 0; index < kCodecFieldCount; ++index) {
        const auto field = static_cast<CodecField>(index);
        if (!InMask(fields, field)) {
            continue;
        }
        if (field == CodecField::SelectedRoute) {
            codec.SetField(field, route);
        } else if (const std::string* text = MeterRecordField(meter, field)) {
            codec.SetField(field, *text);
        }
    }
}

// The readings path of this route: a "*" names the route's own file for the
// vendors that keep one readings file per route. False when the first meter
// cannot be read although the route has meters (the file is then unknown),
// or when the route's text would name a folder instead of a file (logged).
bool ResolveReadingsPath(const TextFileVendor& vendor, const std::string& route, HHMeter& meters,
                         std::string& path) {
    if (!vendor.starInReadingsPath) {
        return true;
    }
    // An empty route has no first meter: the failed read is logged and the
    // route's name stands in.
    if (meters.ReadByIndex(0) != 0 && meters.RecordCount() > 0) {
        return false;
    }
    if (path.find('*') == std::string::npos) {
        return true;
    }
    // The text comes from the route file: it names a file in the readings
    // folder, never one elsewhere.
    const std::string& name = meters.UserDef.empty() ? route : meters.UserDef;
    if (NamesAFolder(name)) {
        Log("Wexal - Readings file name \"" + AnsiToUtf8(name) + "\" of route " +
                AnsiToUtf8(route) + " refused",
            kActivityHandheld);
        return false;
    }
    ReplaceStars(path, WithoutPathSeparators(name));
    return true;
}

// `refused`: the exceptions file's lock could not be taken, so nothing may
// go into the file. An exception that is not captured would be lost for good
// once its route is marked uploaded: false, and the route fails as a reading
// that cannot be written does.
bool CaptureException(WexalConduit& conduit, const TextFileVendor& vendor, const HHMeter& meter,
                      const std::string& route, const std::string& exceptionsFile, bool refused) {
    if (vendor.captureNotice != nullptr) {
        WexalMessageBox(kNoticeCaption, vendor.captureNotice);
    }
    if (refused || conduit.WriteException(meter, exceptionsFile) < 0) {
        Log(std::string(kExceptionWriteFailed) + "\nRoute " + AnsiToUtf8(route) +
                " stays on the handheld with its readings for the next HotSync",
            kActivityFileWrite);
        return false;
    }
    return true;
}

std::int32_t WriteReading(const TextFileVendor& vendor, const HHMeter& meter,
                          const std::string& route, VendorReading& codec) {
    HandOver(vendor.readingFields, meter, route, codec);
    if (vendor.adjustReading != nullptr) {
        vendor.adjustReading(meter, route, codec);
    }
    return vendor.writeReading != nullptr ? vendor.writeReading(codec, route) : codec.Write();
}

// Takes back what this call appended. When even that fails the lines stay
// and would come again with the retry: say so.
bool TakeBack(const std::string& route, VendorReading& codec) {
    codec.Close();
    if (codec.DiscardWritten() != 0) {
        Log("Readings of route " + AnsiToUtf8(route) + " could not be taken back from " +
                PathToUtf8(codec.Path()) + "; they may be written twice",
            kActivityFileWrite);
        return false;
    }
    return true;
}

// Where a file ended before a route's upload. A failed route is uploaded
// again at the next sync and captures its exceptions again, so what it
// captured this time is taken back with its readings.
RouteLinesStart LinesStart(const std::string& path, bool readings) {
    RouteLinesStart start{path, 0, readings};
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    // Nothing is ever appended to what is not a regular file: there is
    // nothing to take back either.
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        start.file.clear();
        return start;
    }
    const auto size = std::filesystem::file_size(path, error);
    start.size = error ? 0 : size;
    // A missing file begins empty; one that cannot be examined has no known
    // start to cut back to.
    start.known = !error || error == std::errc::no_such_file_or_directory;
    return start;
}

// Cuts the file back to where the route's lines began. A file now shorter
// was changed by someone else, and a missing one was moved away: they are
// left alone.
bool TakeBackLines(const RouteLinesStart& start, const std::string& route) {
    if (start.file.empty()) {
        return true;
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(start.file, error);
    if (error == std::errc::no_such_file_or_directory || (!error && size <= start.size)) {
        return true;
    }
    if (start.known && !error) {
        std::filesystem::resize_file(start.file, start.size, error);
    }
    if (!start.known || error) {
        const std::string notTakenBack =
            AnsiToUtf8(route) + " could not be taken back from " + PathToUtf8(start.file);
        Log(start.readings ? "Readings of route " + notTakenBack + "; they may be written twice"
                           : "Exceptions of route " + notTakenBack + "; they may be captured twice",
            kActivityFileWrite);
        return false;
    }
    return true;
}

// The journal that an earlier route of this upload keeps for `file`, or null.
UploadJournal* HeldJournal(RouteUploadJournals* journaling, const std::string& file) {
    if (journaling != nullptr) {
        for (UploadJournal& journal : journaling->journals) {
            if (journal.File() == file) {
                return &journal;
            }
        }
    }
    return nullptr;
}

// The lock of `file` that an earlier route of this upload holds, or null:
// taken again, it would wait for ourselves.
const BillingFileLock* HeldLock(const RouteUploadJournals* journaling, const std::string& file) {
    if (journaling != nullptr) {
        for (const BillingFileLock& lock : journaling->locks) {
            if (lock.Covers(file)) {
                return &lock;
            }
        }
    }
    return nullptr;
}

// The route's journal for a file: the one an earlier route of this upload
// keeps, continued, or else `fresh` (when there is one), begun. Null when
// neither can be written.
UploadJournal* StartJournal(UploadJournal* held, UploadJournal* fresh, const std::string& route,
                            std::uint32_t routeRecord, std::uint32_t handheld) {
    if (held != nullptr) {
        return held->Continue(route, routeRecord) ? held : nullptr;
    }
    return fresh != nullptr && fresh->Begin(route, routeRecord, handheld) ? fresh : nullptr;
}

}  // namespace

bool RunRouteCommit(const RouteCommit& commit) {
    for (const JournalCommit& step : commit.steps) {
        if (!step.Run()) {
            return false;
        }
    }
    return true;
}

bool TakeBackRouteCommit(const RouteCommit& commit) {
    Log(kReadingsWriteFailed, kActivityFileWrite);
    return TakeBackRouteLines(commit);
}

bool TakeBackRouteLines(const RouteCommit& commit) {
    bool takenBack = true;
    for (const RouteLinesStart& start : commit.starts) {
        takenBack = TakeBackLines(start, commit.route) && takenBack;
    }
    return takenBack;
}

bool ReleaseUploadJournals(RouteUploadJournals& journaling, bool end) {
    const bool lasting = SyncFlushHandheld() == kSyncErrNone;
    if (!lasting) {
        Log("Wexal - The routes marked uploaded cannot be flushed to the handheld's disk",
            kActivityHandheld);
    }
    if (lasting && end) {
        // A journal that stays names routes marked uploaded: the next
        // upload into its file keeps their lines.
        for (UploadJournal& journal : journaling.journals) {
            journal.End();
        }
    }
    journaling.journals.clear();
    journaling.locks.clear();
    return lasting;
}

std::int32_t UploadTextFileRoute(WexalConduit& conduit, const TextFileVendor& vendor,
                                 const std::string& route, std::string readingsPath,
                                 std::uint32_t captureExceptions, const std::string& exceptionsFile,
                                 RouteUploadJournals* journaling) {
    HHMeter meters;
    // An unopened database would look like an empty route and be marked
    // uploaded: its readings would never leave the handheld.
    if (meters.Open(route) == 0) {
        return -1;
    }
    if (!ResolveReadingsPath(vendor, route, meters, readingsPath)) {
        return -1;
    }
    const bool capture = (captureExceptions & 0xFFFFU) != 0;
    // Each file's length is read, and its journal settled, begun and ended,
    // under the file's lock: two syncs into one file take turns, and a
    // journal found under the lock is no live upload's. The readings file's
    // lock always comes first, so that two syncs never wait on each other.
    // A file that an earlier route of this upload wrote into is still locked
    // and journaled by it: the route goes on with that journal, which was
    // settled when the file was first taken. The locks of one readings file
    // at a time are held: a route into another one lets the earlier files go
    // first, so that two syncs never hold one each and wait for the other's,
    // once the route before is marked: its journal must outlast its mark.
    if (journaling != nullptr && !journaling->locks.empty() &&
        HeldLock(journaling, readingsPath) == nullptr &&
        ((journaling->markRouteBefore && !journaling->markRouteBefore(true)) ||
         !ReleaseUploadJournals(*journaling, true))) {
        return -1;
    }
    UploadJournal* const heldReadings = HeldJournal(journaling, readingsPath);
    const BillingFileLock* const heldReadingsLock = HeldLock(journaling, readingsPath);
    BillingFileLock readingsLock;
    if (heldReadingsLock == nullptr && !LockBillingFile(readingsLock, readingsPath)) {
        Log(kReadingsWriteFailed, kActivityFileWrite);
        return -1;
    }
    const std::uint32_t handheld = SyncedHandheldId();
    UploadJournal readingsJournal(readingsPath);
    UploadJournal* heldExceptions = nullptr;
    std::optional<UploadJournal> exceptionsJournal;
    BillingFileLock exceptionsLock;
    bool exceptionsRefused = false;
    // The exceptions file may be the readings file under another name: its
    // lock is then held already, and taking it again would wait for ourselves.
    if (!exceptionsFile.empty() &&
        !(heldReadingsLock != nullptr ? *heldReadingsLock : readingsLock).Covers(exceptionsFile)) {
        UploadJournal journal(exceptionsFile);
        heldExceptions = HeldJournal(journaling, exceptionsFile);
        // Without captures the file is not touched, but for a journal left in it.
        std::error_code error;
        if (heldExceptions == nullptr &&
            (capture || std::filesystem::exists(journal.Path(), error))) {
            exceptionsRefused = HeldLock(journaling, exceptionsFile) == nullptr &&
                                !LockBillingFile(exceptionsLock, exceptionsFile);
            if (!exceptionsRefused) {
                exceptionsJournal.emplace(std::move(journal));
            }
        }
    }
    // Settled before the files are opened: the takeback below cuts back to
    // where they ended at open.
    if ((heldReadings == nullptr && !SettleUploadJournal(readingsJournal, handheld)) ||
        (exceptionsJournal && !SettleUploadJournal(*exceptionsJournal, handheld))) {
        return -1;
    }
    const bool journaled = journaling != nullptr;
    const std::uint32_t routeRecord = journaled ? journaling->routeRecord : 0;
    UploadJournal* const readingsJournaling =
        journaled ? StartJournal(heldReadings, &readingsJournal, route, routeRecord, handheld)
                  : nullptr;
    if (journaled && readingsJournaling == nullptr) {
        Log(kReadingsWriteFailed, kActivityFileWrite);
        return -1;
    }
    // A journal of the captures that cannot be written leaves them
    // unjournaled; a capture that fails holds the route back on its own.
    UploadJournal* const exceptionsJournaling =
        journaled && capture
            ? StartJournal(heldExceptions, exceptionsJournal ? &*exceptionsJournal : nullptr, route,
                           routeRecord, handheld)
            : nullptr;
    const bool exceptionsJournaled = exceptionsJournaling != nullptr;
    // Journals kept from an earlier route are ended by the upload loop, once
    // every route marked uploaded lasts on the handheld.
    const auto endJournals = [&] {
        if (journaled && heldReadings == nullptr) {
            readingsJournal.End();
        }
        if (exceptionsJournaled && heldExceptions == nullptr) {
            exceptionsJournal->End();
        }
    };

    const RouteLinesStart readingsBefore = LinesStart(readingsPath, true);
    std::unique_ptr<VendorReading> codec = vendor.makeReading();
    if (codec->Open(readingsPath, 1) != 0) {
        Log(kReadingsWriteFailed, kActivityFileWrite);
        endJournals();
        return -1;
    }

    const bool captureInto = capture && !exceptionsRefused;
    const RouteLinesStart exceptionsBefore = LinesStart(captureInto ? exceptionsFile : "", false);
    std::int32_t handled = 0;
    bool failed = false;
    for (std::uint32_t index = 0; index < meters.RecordCount(); ++index) {
        // An unreadable meter (logged by HHMeter) would leave the previous
        // meter's fields in hand; the route waits for the next sync instead.
        if (meters.ReadByIndex(static_cast<std::uint16_t>(index)) != 0) {
            failed = true;
            break;
        }
        if (index == 0 && vendor.writeRouteHeader != nullptr &&
            vendor.writeRouteHeader(*codec, route) != 0) {
            Log(kReadingsWriteFailed, kActivityFileWrite);
            failed = true;
            break;
        }
        TrimTrailingWhiteSpace(meters.ResponseText);
        if (capture && MeetsExceptionRule(vendor.rule, meters) &&
            !CaptureException(conduit, vendor, meters, route, exceptionsFile, exceptionsRefused)) {
            failed = true;
            break;
        }
        if ((IsSingleChar(meters.Status, 'R') || IsSingleChar(meters.Status, 'E')) &&
            WriteReading(vendor, meters, route, *codec) != 0) {
            Log(kReadingsWriteFailed, kActivityFileWrite);
            failed = true;
            break;
        }
        ++handled;
        // Often enough that the route before is marked soon after its lines
        // last; seldom enough to cost nothing.
        constexpr std::uint32_t kMetersBetweenLooks = 64;
        if (journaled && index % kMetersBetweenLooks == kMetersBetweenLooks - 1 &&
            journaling->markRouteBefore && !journaling->markRouteBefore(false)) {
            failed = true;
            break;
        }
    }
    meters.Close();

    // A full disk often shows only when the buffered lines are flushed.
    if (!failed && codec->Close() != 0) {
        Log(kReadingsWriteFailed, kActivityFileWrite);
        failed = true;
    }
    // The lines last before the route can be marked uploaded: the caller
    // makes them so, while the next route is being made.
    RouteCommit commit;
    if (!failed && journaled) {
        commit.route = route;
        commit.starts = {readingsBefore, exceptionsBefore};
        for (UploadJournal* journal : {readingsJournaling, exceptionsJournaling}) {
            std::optional<JournalCommit> step =
                journal != nullptr ? journal->PrepareCommit() : std::nullopt;
            if (journal != nullptr && !step) {
                Log(kReadingsWriteFailed, kActivityFileWrite);
                failed = true;
                break;
            }
            if (step) {
                commit.steps.push_back(std::move(*step));
            }
        }
    }
    if (failed) {
        bool takenBack = TakeBack(route, *codec);
        if (captureInto) {
            takenBack = TakeBackLines(exceptionsBefore, route) && takenBack;
        }
        // Lines that stay are cut back by the next upload into the file: their
        // journals stay, kept or not.
        if (takenBack) {
            endJournals();
        } else if (journaled) {
            std::erase_if(journaling->journals, [&](const UploadJournal& journal) {
                return &journal == heldReadings || &journal == heldExceptions;
            });
        }
        return -1;
    }
    if (journaled) {
        if (heldReadings == nullptr) {
            journaling->journals.push_back(std::move(readingsJournal));
        }
        if (exceptionsJournaled && heldExceptions == nullptr) {
            journaling->journals.push_back(std::move(*exceptionsJournal));
        }
        if (readingsLock.Held()) {
            journaling->locks.push_back(std::move(readingsLock));
        }
        if (exceptionsLock.Held()) {
            journaling->locks.push_back(std::move(exceptionsLock));
        }
        journaling->commit = std::move(commit);
    }
    return handled;
}
