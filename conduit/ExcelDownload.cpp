// WexalConduit::DownloadExcel and WexalConduit::DownloadExcelRoute: the
// worksheet's meters go into every route that the handheld asked for. A
// route whose download failed is left as it was, still asking.
#include <cstdio>
#include <string>

#include "conduit/HHMeter.h"
#include "conduit/HHReader.h"
#include "conduit/HHRoute.h"
#include "conduit/RouteNameRefusal.h"
#include "conduit/SetReaderRoute.h"
#include "conduit/WexalConduit.h"
#include "conduit/formats/ExcelMeter.h"

namespace {

constexpr const char* kAskedFor = "D";
constexpr const char* kDownloaded = "R";
constexpr std::int32_t kDownloadFailed = -1;

std::string SequenceText(std::int32_t sequence) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", static_cast<int>(sequence));
    return text;
}

void FillMeter(HHMeter& meter, const ExcelMeter& reader, std::int32_t sequence) {
    meter.Clear();
    meter.ServiceUniqueID = reader.ServiceUniqueID;
    meter.MeterTagNbr = reader.MeterTagNbr;
    meter.MeterSerialNbr = reader.MeterSerialNbr;
    meter.MeterType = reader.MeterType;
    meter.RouteSequence = SequenceText(sequence);
    meter.Digits = reader.Digits;
    meter.PrvReading = reader.PrvReading;
    meter.MaxReading = reader.MaxReading;
    meter.MinReading = reader.MinReading;
    meter.BillingName = reader.BillingName;
    meter.ServiceAddress = reader.ServiceAddress;
    meter.Message = reader.Message;
    meter.Status = "U";
    meter.ReadType = reader.ReadType;
    meter.UserDef = reader.UserDef;
}

}  // namespace

std::int32_t WexalConduit::DownloadExcel(std::string workbook, std::string worksheet,
                                         std::string route, const WexalConfig& configuration) {
    std::int32_t result = 0;
    std::int32_t done = 0;
    HHRoute list;
    // Without the list the routes asked for are unknown (HHRoute logged why).
    if (list.Open() == 0) {
        return kDownloadFailed;
    }
    for (std::uint32_t i = 0; i < list.RecordCount(); ++i) {
        if (list.ReadByIndex(static_cast<std::uint16_t>(i)) != kSyncErrNone ||
            list.Status != kAskedFor) {
            continue;
        }
        const std::string name = list.RouteName;
        list.Close();
        const std::int32_t count = DownloadExcelRoute(workbook, worksheet, name, configuration);
        list.Open();
        if (count < 0) {
            result = -1;
            continue;
        }
        if (++done == 1) {
            SetReaderRoute(route);
        }
        if (list.ReadByIndex(static_cast<std::uint16_t>(i)) != kSyncErrNone) {
            continue;
        }
        list.MeterCount = static_cast<std::uint16_t>(count);
        list.LastIndex = static_cast<std::uint16_t>(count - 1);
        list.Word2 = 0;
        list.Word3 = 0;
        list.Text1 = HHRoute::kSpareText;
        list.Text2 = HHRoute::kSpareText;
        list.Status = kDownloaded;
        list.Write();
    }
    list.Close();
    return result;
}

std::int32_t WexalConduit::DownloadExcelRoute(std::string workbook, std::string worksheet,
                                              std::string route, const WexalConfig& configuration) {
    if (RefusedRouteName(route, "not downloaded", "it stays requested")) {
        return kDownloadFailed;
    }
    HHMeter meters;
    ExcelMeter reader(route);
    if (reader.Open(workbook, worksheet, &configuration) != 0) {
        LogWorkbookOpenFailure(workbook, worksheet);
        return kDownloadFailed;
    }
    std::int32_t stored = 0;
    while (reader.Read() == 0) {
        if (stored == 0) {
            meters.DeleteDB(route);
            meters.Open(route);
        }
        FillMeter(meters, reader, stored);
        if (const std::int32_t refused = meters.Write(); refused != kSyncErrNone) {
            LogMeterRefused(route, "of row " + reader.ServiceUniqueID, refused);
            meters.Close();
            return kDownloadFailed;
        }
        ++stored;
    }
    // The handheld keeps the meters only once they are saved at the close:
    // a route listed with meters its database does not hold would pass for
    // a whole one.
    if (stored > 0 && meters.Close() != kSyncErrNone) {
        LogMetersNotSaved(route);
        return kDownloadFailed;
    }
    LogExcelLine("Wexal Excel Interface downloaded " + std::to_string(stored) +
                 " meters from Workbook = " + workbook + ", Worksheet = " + worksheet + ".");
    return stored;
}
