// Download of a route file: every route of the file gets a fresh meter
// database on the handheld and its entry in the route list with status "R";
// the used file then goes into its history. A file whose meters did not all
// reach the handheld stays where it is for the next sync.
//
// What lasts a power loss, three flushes a route: a route's meter database
// is flushed with the handheld's folder at its close, before the list names
// it; the list is then saved with its folder flush left to the next route's
// database, and the last one to SyncFlushHandheld before the file goes into
// its history. Lost with the power, a list entry leaves the file in place,
// and the route comes again with the next sync.
//
// Those flushes are waited for on a thread of their own: while one route is
// stored on the handheld, saved and listed, the next route's lines are read
// and packed in memory. Only that thread touches the handheld, one route
// after the other, in the order and with the outcomes of a sync without it.
#include <cstdint>
#include <future>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "conduit/HHMeter.h"
#include "conduit/HHRoute.h"
#include "conduit/RouteNameRefusal.h"
#include "conduit/TextFileRoad.h"
#include "conduit/TextFileVendors.h"
#include "conduit/TrailingWhiteSpace.h"
#include "conduit/WexalConduit.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/LeadingNumber.h"
#include "conduit/formats/RouteFileClaim.h"
#include "conduit/formats/VendorMeter.h"
#include "platform/palm/SyncManager.h"

namespace {

void FillCommon(const VendorMeter& record, std::uint32_t /*meterNumber*/, HHMeter& meter) {
    meter.ServiceUniqueID = record.Field(CodecField::ServiceUniqueID);
    meter.MeterTagNbr = record.Field(CodecField::MeterTagNbr);
    meter.MeterSerialNbr = record.Field(CodecField::MeterSerialNbr);
    meter.MeterType = record.Field(CodecField::MeterType);
    AssignZeroPaddedInteger(meter.RouteSequence, record.Field(CodecField::RouteSequence), 4);
    AssignZeroPaddedInteger(meter.Digits, record.Field(CodecField::Digits), 2);
    meter.PrvReading = record.Field(CodecField::PrvReading);
    meter.MaxReading = record.Field(CodecField::MaxReading);
    meter.MinReading = record.Field(CodecField::MinReading);
    meter.BillingName = record.Field(CodecField::BillingName);
    meter.ServiceAddress = record.Field(CodecField::ServiceAddress);
    meter.Message = record.Field(CodecField::Message);
    meter.Status = "U";
    // Empty for the layouts without it.
    meter.LstReadingDate = record.Field(CodecField::LstReadingDate);
    meter.ReadType = record.Field(CodecField::ReadType);
    meter.UserDef = record.Field(CodecField::UserDef);
}

// Takes a route out of the route list (HHRoute logs a list it cannot open).
void UnlistRoute(const std::string& route) {
    HHRoute list;
    if (list.Open() == 0) {
        return;
    }
    std::string name = route;
    TrimTrailingWhiteSpace(name);
    for (std::uint32_t index = 0; index < list.RecordCount(); ++index) {
        if (list.ReadByIndex(static_cast<std::uint16_t>(index)) == kSyncErrNone &&
            list.RouteName == name) {
            list.DeleteRecord();
            break;
        }
    }
    list.Close();
}

// The meters of one route as read from the file, each packed as the handheld
// stores it; a meter too long for the handheld has no bytes.
struct PackedRoute {
    static constexpr std::uint32_t kTooLong = UINT32_MAX;
    std::string route;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> ends;  // where each meter ends in `bytes`, or kTooLong

    // Empty, its storage kept.
    void Clear() {
        route.clear();
        bytes.clear();
        ends.clear();
    }

    void Add(HHMeter& meter, std::vector<std::uint8_t>& scratch) {
        if (!meter.Pack(scratch)) {
            ends.push_back(kTooLong);
            return;
        }
        bytes.insert(bytes.end(), scratch.begin(), scratch.end());
        ends.push_back(static_cast<std::uint32_t>(bytes.size()));
    }
};

// One download: the route being filled and what went wrong so far.
class RouteFileDownload {
  public:
    RouteFileDownload(WexalConduit& conduit, const TextFileVendor& vendor)
        : conduit_(conduit), vendor_(vendor) {}

    // Stores one route of the file, after finishing the route before it.
    void Store(const PackedRoute& packed) {
        if (started_) {
            FinishRoute();
        }
        if (stopped_) {
            return;
        }
        // Refused before anything is written for it: its lines go into the
        // history with the rest of the file.
        if (RefusedRouteName(packed.route, "not downloaded", "its lines stay in the route file")) {
            return;
        }
        StartRoute(packed.route);
        if (!routeOpen_) {
            return;  // its database could not be made: its meters are dropped
        }
        std::uint32_t begin = 0;
        for (const std::uint32_t end : packed.ends) {
            if (end == PackedRoute::kTooLong) {
                meters_.LogTooLong();
                ++lostMeters_;
                continue;
            }
            const std::span<const std::uint8_t> meter(packed.bytes.data() + begin, end - begin);
            begin = end;
            // Only a meter that reached the handheld counts.
            if (meters_.WritePacked(meter) == kSyncErrNone) {
                ++count_;
            } else {
                ++lostMeters_;
            }
        }
    }

    void Finish() {
        if (started_) {
            FinishRoute();
        }
    }

    // Every meter of the file is on the handheld.
    bool Complete() const { return complete_; }
    // The route list cannot be saved: no further route is taken.
    bool Stopped() const { return stopped_; }

  private:
    // Only the first route's provisional entry is saved: it shows, before
    // any former meters are replaced, that the list can be saved; a later
    // route replaces its former meters only after the previous route's
    // entry was saved.
    bool WantsProvisionalEntry() const {
        return vendor_.provisionalEntries != ProvisionalEntries::None && !started_;
    }

    void StartRoute(const std::string& route) {
        const bool provisional = WantsProvisionalEntry();
        started_ = true;
        route_ = route;
        count_ = 0;
        lostMeters_ = 0;
        // A route the list cannot take keeps its former meters and entry.
        if (provisional && conduit_.UpdateRoute(route, 0, "R", /*folderLater=*/true) != 0) {
            ListNotSaved();
            return;
        }
        meters_.DeleteDB(route);
        routeOpen_ = meters_.Open(route) != 0;
        // Meters left from before mean the old database was not deleted: new
        // meters would be mixed with old ones.
        if (routeOpen_ && meters_.RecordCount() != 0) {
            meters_.Close();
            routeOpen_ = false;
        }
        if (!routeOpen_) {
            // Any entry of this name, provisional or left from an earlier
            // download, would offer the reader a route whose meters are gone.
            meters_.Close();
            UnlistRoute(route);
            LogHandheldError("Wexal - Route " + AnsiToUtf8(route) +
                             " not downloaded: its meter database cannot be made");
            complete_ = false;
        }
    }

    void FinishRoute() {
        if (!routeOpen_) {
            return;
        }
        routeOpen_ = false;
        // The handheld keeps a database only as it was saved at its close: a
        // full handheld refuses it there.
        if (meters_.Close() != kSyncErrNone) {
            UnlistRoute(route_);
            LogMetersNotSaved(route_);
            complete_ = false;
            return;
        }
        if (conduit_.UpdateRoute(route_, static_cast<std::int32_t>(count_), "R",
                                 /*folderLater=*/true) != 0) {
            UnlistRoute(route_);
            ListNotSaved();
            return;
        }
        if (lostMeters_ != 0) {
            LogHandheldError("Wexal - " + std::to_string(lostMeters_) + " meters of route " +
                             AnsiToUtf8(route_) + " could not be stored on the handheld");
            complete_ = false;
        }
    }

    void ListNotSaved() {
        LogHandheldError("Wexal - Route " + AnsiToUtf8(route_) +
                         " not downloaded: the route list cannot be saved on the handheld");
        complete_ = false;
        stopped_ = true;
    }

    WexalConduit& conduit_;
    const TextFileVendor& vendor_;
    HHMeter meters_;
    std::string route_;
    bool started_ = false;
    bool routeOpen_ = false;
    bool complete_ = true;
    bool stopped_ = false;
    std::uint32_t count_ = 0;  // meters of the route stored on the handheld
    std::uint32_t lostMeters_ = 0;
};

}  // namespace

void LogDownloadIncomplete(const std::string& routeFile) {
    LogHandheldError("Wexal - Download incomplete, the file stays for the next HotSync: " +
                     PathToUtf8(routeFile));
}

void LogRouteFileReadError(const std::string& routeFile) {
    LogHandheldError("Wexal - Download file could not be read: " + PathToUtf8(routeFile));
}

void LogRouteFileOpenError(std::int32_t opened, const std::string& routeFile,
                           const std::string& missing) {
    LogHandheldError(opened == VendorMeter::kNotRegularFile
                         ? "Wexal - Download file is not a regular file: " + PathToUtf8(routeFile)
                         : missing);
}

std::int32_t DownloadTextFile(WexalConduit& conduit, const TextFileVendor& vendor,
                              const std::string& file, std::uint32_t retainByRoute) {
    // Named to the office as its route file, even while a sync holds it.
    const std::string routeFile = ClaimedRouteFile(file);
    // A claimed file is given back or set aside after the download, which
    // then says where it stays (DownloadClaimedRouteFile).
    const bool claimed = routeFile != file;
    std::unique_ptr<VendorMeter> codec = vendor.makeMeter();
    if (const std::int32_t opened = codec->Open(file); opened != 0) {
        LogRouteFileOpenError(opened, routeFile, "Wexal - No file found to download");
        return -1;
    }
    // Routes stored without a route list to enter them in would never be
    // offered to the reader (HHRoute logs why the list cannot be opened).
    if (!HHRoute::CanBeOpened()) {
        if (!claimed) {
            LogDownloadIncomplete(routeFile);
        }
        return -1;
    }
    std::int32_t result = VendorMeter::kRecordRead;
    std::string header;
    if (vendor.headerIsFirstRecord) {
        result = codec->Read();
        if (result == VendorMeter::kReadError) {
            LogRouteFileReadError(routeFile);
            return -1;
        }
        // Without even a header the file is still rotated away below: left
        // in a route folder it would come back at every sync.
        header = codec->Field(CodecField::ServiceAddress);
        TrimTrailingWhiteSpace(header);
    }

    RouteFileDownload download(conduit, vendor);
    // The route being stored, its storage reused by the route after next.
    PackedRoute inFlight;
    // Declared after what it uses: it is waited for first.
    std::future<void> storing;
    // Hands a whole route to the storing thread once the one before it is
    // stored: false when the download stopped there.
    auto handOver = [&](PackedRoute& route) {
        if (storing.valid()) {
            storing.get();
        }
        if (download.Stopped()) {
            return false;
        }
        std::swap(inFlight, route);
        route.Clear();
        storing =
            std::async(std::launch::async, [&download, &inFlight] { download.Store(inFlight); });
        return true;
    };
    HHMeter packer;
    std::vector<std::uint8_t> scratch;
    PackedRoute route;
    std::uint32_t read = 0;  // records of the route read from the file
    bool stored = false;
    bool stopped = false;
    while (!stopped && (result = codec->Read()) == VendorMeter::kRecordRead) {
        const std::string& name = codec->Field(vendor.routeField);
        if (!stored || name != route.route) {
            if (stored && !handOver(route)) {
                stopped = true;
                break;
            }
            route.route = name;
            read = 0;
        }
        stored = true;
        // A meter the handheld refuses keeps its place: the next one is not
        // numbered as if it were the refused one.
        ++read;
        packer.Clear();
        (vendor.fillMeter != nullptr ? vendor.fillMeter : FillCommon)(*codec, read, packer);
        if (vendor.headerIsFirstRecord) {
            packer.UserDef = header;
        }
        route.Add(packer, scratch);
    }
    if (storing.valid()) {
        storing.get();
    }
    // Stopped by a route before the last, the download read no further than
    // the next route's first line: what came after it is not its concern.
    if (!stopped && !download.Stopped() && stored) {
        download.Store(route);
    }
    if (stopped || download.Stopped()) {
        result = VendorMeter::kRecordRead;
    }
    download.Finish();
    // Files that come with a header are not expected to be empty.
    if (!stored && vendor.comesWithHeader && result != VendorMeter::kReadError) {
        LogHandheldError("Wexal - Download file holds no meters: " + PathToUtf8(routeFile));
    }
    // The rest of a cut line is passed over, and with it any meter there (of
    // lines run into one where the line ends change after the file's start).
    if (const std::size_t cut = codec->FirstCutLine(); cut != 0) {
        LogHandheldError(
            "Wexal - Download file has a line longer than " + std::to_string(codec->LineLimit()) +
            " characters, cut there: " + PathToUtf8(routeFile) + " line " + std::to_string(cut));
    }

    bool complete = download.Complete();
    // The route list's last save lasts before the file leaves its place.
    if (stored && SyncFlushHandheld() != kSyncErrNone) {
        LogHandheldError("Wexal - The downloaded routes cannot be flushed to the handheld's disk");
        complete = false;
    }
    // A read error is no end of file: the meters after it are missing.
    if (result == VendorMeter::kReadError) {
        LogRouteFileReadError(routeFile);
        complete = false;
    }
    if (!complete) {
        if (!claimed) {
            LogDownloadIncomplete(routeFile);
        }
        return -1;
    }
    codec->CloseAndRoll(retainByRoute);
    return 0;
}
