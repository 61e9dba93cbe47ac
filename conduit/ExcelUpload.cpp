// WexalConduit::UploadExcel: the readings of the routes handed back go into
// the worksheet. A route is marked uploaded only once the workbook holding
// its readings has been saved.
#include <map>
#include <string>
#include <vector>

#include "conduit/HHMeter.h"
#include "conduit/HHRoute.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/WexalConduit.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/ExcelReading.h"
#include "platform/synclog/SyncLog.h"

namespace {

constexpr const char* kHandedBack = "U";
constexpr const char* kUploaded = "N";

enum class RouteOutcome {
    Uploaded,        // the readings are in the saved workbook
    KeptOnHandheld,  // some readings could not be taken; try again next sync
    StopPass,        // the workbook cannot be used now; no route can go
};

struct RouteUpload {
    RouteOutcome outcome = RouteOutcome::StopPass;
    std::int32_t meters = 0;
};

bool IsRead(const std::string& status) {
    return status == "R" || status == "E";
}

RouteUpload UploadRouteReadings(const std::string& route, const std::string& workbook,
                                const std::string& worksheet, const WexalConfig& configuration) {
    ExcelReading writer;
    const std::int32_t opened = writer.Open(workbook, worksheet, &configuration);
    if (opened != 0) {
        // A mapping that shares a column has said so itself; it holds for
        // every route alike.
        if (opened != ExcelReading::kFieldsShareColumn) {
            LogWorkbookOpenFailure(workbook, worksheet);
        }
        return {RouteOutcome::StopPass, 0};
    }
    HHMeter meters;
    if (meters.Open(route) == 0) {
        return {RouteOutcome::KeptOnHandheld, 0};
    }
    // Every row must still hold its meter before any reading goes in: rows
    // sorted or moved since the download would give each customer another's
    // reading. The meters are read again for the writes rather than held:
    // a large route's readings would cost more memory than a second read.
    std::vector<std::uint16_t> withReadings;
    bool unreadableMeters = false;
    bool rowsHoldTheirMeters = true;
    for (std::uint32_t j = 0; j < meters.RecordCount() && rowsHoldTheirMeters; ++j) {
        const auto index = static_cast<std::uint16_t>(j);
        // A meter that cannot be read may hold a reading: the route stays.
        if (meters.ReadByIndex(index) != kSyncErrNone) {
            unreadableMeters = true;
        } else if (IsRead(meters.Status)) {
            rowsHoldTheirMeters = writer.CheckRow(route, meters) == 0;
            withReadings.push_back(index);
        }
    }
    if (!rowsHoldTheirMeters) {
        meters.Close();
        // Nothing was put, so the file stays as it was; the row check said why.
        writer.SaveAndClose();
        return {RouteOutcome::KeptOnHandheld, 0};
    }
    RouteUpload upload{RouteOutcome::Uploaded, 0};
    bool refused = false;
    for (const std::uint16_t index : withReadings) {
        if (meters.ReadByIndex(index) != kSyncErrNone) {
            unreadableMeters = true;
        } else if (writer.Write(meters.ServiceUniqueID, meters.CurReading, meters.ReadingDate,
                                meters.ReadingTime, meters.ResponseCode,
                                meters.ResponseText) == 0) {
            ++upload.meters;
        } else {
            refused = true;
        }
    }
    meters.Close();
    if (writer.SaveAndClose() != 0) {
        LogExcelLine("Excel Interface: the readings of route " + AnsiToUtf8(route) +
                     " stay on the handheld until the workbook can be saved.");
        return {RouteOutcome::StopPass, 0};
    }
    if (unreadableMeters) {
        LogExcelLine("Excel Interface: route " + AnsiToUtf8(route) +
                     " stays on the handheld: some of its meters could not be read.");
        upload.outcome = RouteOutcome::KeptOnHandheld;
    }
    if (refused) {
        LogAddEntry(("Excel Interface: route " + AnsiToUtf8(route) +
                     " stays on the handheld: the worksheet refused some of its readings.")
                        .c_str(),
                    kActivityConfiguration, 0);
        upload.outcome = RouteOutcome::KeptOnHandheld;
    }
    return upload;
}

}  // namespace

std::int32_t WexalConduit::UploadExcel(std::string workbook, std::string worksheet,
                                       const WexalConfig& configuration) {
    std::int32_t result = 0;
    long routes = 0;
    long meters = 0;
    HHRoute list;
    // Without the list the routes handed back are unknown (HHRoute logged why).
    if (list.Open() == 0) {
        return -1;
    }
    bool listOpen = true;
    // Whether the readings of a route are in the saved workbook, by route
    // name: a route listed twice has one meter database, whose readings go
    // once.
    std::map<std::string, bool> uploaded;
    // Every record is looked at once: a record that cannot be marked
    // uploaded is not taken again in the same pass.
    for (std::uint32_t i = 0; i < list.RecordCount(); ++i) {
        if (list.ReadByIndex(static_cast<std::uint16_t>(i)) != kSyncErrNone ||
            list.Status != kHandedBack) {
            continue;
        }
        const std::string route = list.RouteName;
        const auto [known, first] = uploaded.try_emplace(route, false);
        if (first) {
            list.Close();
            listOpen = false;
            const RouteUpload upload =
                UploadRouteReadings(route, workbook, worksheet, configuration);
            if (upload.outcome == RouteOutcome::StopPass) {
                result = -1;
                break;
            }
            list.Open();
            listOpen = true;
            if (upload.outcome == RouteOutcome::KeptOnHandheld) {
                result = -1;
                continue;
            }
            known->second = true;
            ++routes;
            meters += upload.meters;
        }
        if (known->second && list.ReadByIndex(static_cast<std::uint16_t>(i)) == kSyncErrNone) {
            list.Status = kUploaded;
            list.Write();
        }
    }
    if (listOpen) {
        list.Close();
    }
    LogExcelLine("Excel Interface: Uploaded Routes:" + std::to_string(routes) +
                 ", Uploaded Meters: " + std::to_string(meters));
    return result;
}
