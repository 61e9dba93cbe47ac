// The SQL link's download: the routes that the handheld asks for come from
// WexalSelectedRoute into the routes' meter databases.
#include "conduit/HHMeter.h"
#include "conduit/HHRoute.h"
#include "conduit/RouteNameRefusal.h"
#include "conduit/SetReaderRoute.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/SqlSharedConnection.h"
#include "conduit/formats/WexalIfcOdbc.h"
#include "platform/ado/AdoError.h"
#include "platform/palm/SyncManager.h"

namespace {

// A meter field and the column of WexalSelectedRoute of the same name.
struct MeterColumn {
    const char16_t* name;
    std::string HHMeter::*field;
};

constexpr MeterColumn kMeterColumns[] = {
    {u"ServiceUniqueID", &HHMeter::ServiceUniqueID},
    {u"MeterTagNbr", &HHMeter::MeterTagNbr},
    {u"MeterSerialNbr", &HHMeter::MeterSerialNbr},
    {u"MeterType", &HHMeter::MeterType},
    {u"RouteSequence", &HHMeter::RouteSequence},
    {u"Digits", &HHMeter::Digits},
    {u"PrvReading", &HHMeter::PrvReading},
    {u"MaxReading", &HHMeter::MaxReading},
    {u"MinReading", &HHMeter::MinReading},
    {u"CurReading", &HHMeter::CurReading},
    {u"ReadingDate", &HHMeter::ReadingDate},
    {u"ReadingTime", &HHMeter::ReadingTime},
    {u"BillingName", &HHMeter::BillingName},
    {u"ServiceAddress", &HHMeter::ServiceAddress},
    {u"Message", &HHMeter::Message},
    {u"Status", &HHMeter::Status},
    {u"ResponseCode", &HHMeter::ResponseCode},
    {u"ResponseText", &HHMeter::ResponseText},
};

// What DownloadRoute gives for a route whose meters did not all reach the
// handheld: it stays asked for.
constexpr std::int32_t kRouteNotStored = -1;

// Read type of every meter that the billing database sends.
constexpr const char* kStandardReadType = "S";

}  // namespace

std::int32_t WexalIfc_ODBC::DownloadRoutes() {
    HHRoute list;
    if (list.Open() == 0) {
        return 0;
    }
    std::int32_t downloaded = 0;
    // A database that stopped answering ends the pass: the routes not yet
    // tried stay asked for.
    for (std::uint32_t i = 0; i < list.RecordCount() && sqllink::DatabaseAnswers(); ++i) {
        const auto index = static_cast<std::uint16_t>(i);
        if (list.ReadByIndex(index) != kSyncErrNone || list.Status != "D") {
            continue;
        }
        const std::string route = list.RouteName;
        // Its meters stay in the billing database until it is renamed there.
        if (RefusedRouteName(route, "not downloaded", "it stays requested")) {
            continue;
        }
        list.Close();
        const std::int32_t count = DownloadRoute(route);
        if (++downloaded == 1) {
            SetReaderRoute(route);
        }
        if (list.Open() == 0) {
            return 0;
        }
        if (count != kRouteNotStored && list.ReadByIndex(index) == kSyncErrNone) {
            list.Word3 = 0;
            list.Text1 = HHRoute::kSpareText;
            list.LastIndex = static_cast<std::uint16_t>(static_cast<std::uint32_t>(count) - 1);
            list.Text2 = HHRoute::kSpareText;
            list.MeterCount = static_cast<std::uint16_t>(count);
            list.Word2 = 0;
            list.Status = "R";
            list.Write();
        }
    }
    list.Close();
    return 0;
}

std::int32_t WexalIfc_ODBC::DownloadRoute(std::string route) {
    HHMeter meters;
    meters.DeleteDB(route);
    // A failure is logged by the meter database; its writes then fail and
    // the route stays asked for.
    const bool opened = meters.Open(route) != 0;
    std::int32_t count = 0;
    // A route whose meters did not all arrive stays asked for, so that the
    // next sync brings it down whole instead of leaving the reader a part.
    bool incomplete = false;
    try {
        // The route name is a parameter: whatever it holds stays data.
        sqllink::ExecuteCall(u"{Call WexalSelectRoute (?)}", {AnsiToWide(route)});
        const auto selected =
            sqllink::OpenRecordset(u"Select * from WexalSelectedRoute Order by RouteSequence");
        const wexal::ado::Fields fields = selected->GetFields();
        for (; !selected->IsEOF(); selected->MoveNext()) {
            meters.Clear();
            for (const MeterColumn& column : kMeterColumns) {
                meters.*column.field =
                    WideToAnsi(fields.Item(column.name).GetValue().value_or(u""));
            }
            meters.ReadType = kStandardReadType;
            meters.UserDef.clear();
            if (const std::int32_t refused = meters.Write(); refused != kSyncErrNone) {
                LogMeterRefused(route, meters.ServiceUniqueID, refused);
                incomplete = true;
                break;
            }
            ++count;
        }
        selected->Close();
    } catch (const wexal::ado::AdoError& error) {
        sqllink::ReportFailure("Error Downloading Route", "route " + AnsiToUtf8(route) + ": " +
                                                              sqllink::DatabaseSays(error) +
                                                              "; it stays requested");
        sqllink::GiveUpIfNotAnswering(error);
        incomplete = true;
    }
    // The handheld keeps the meters only once they are saved at the close.
    if (opened && meters.Close() != kSyncErrNone) {
        LogMetersNotSaved(route);
        return kRouteNotStored;
    }
    return incomplete ? kRouteNotStored : count;
}
