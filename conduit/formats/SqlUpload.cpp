// The SQL link's upload: the readings of the routes that the handheld hands
// back go to WexalReading, and the billing system applies them.
#include <map>
#include <optional>
#include <string>

#include "conduit/HHMeter.h"
#include "conduit/HHRoute.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/SqlSharedConnection.h"
#include "conduit/formats/WexalIfcOdbc.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/palm/SyncManager.h"

namespace {

// A column of WexalReading filled from a meter field, cut to `width`
// characters; HandHeldID, the first column, is the sync user's name.
struct ReadingColumn {
    const char16_t* name;
    std::string HHMeter::*field;
    std::size_t width;
};

constexpr ReadingColumn kReadingColumns[] = {
    {u"ServiceUniqueID", &HHMeter::ServiceUniqueID, 20},
    {u"MeterTagNbr", &HHMeter::MeterTagNbr, 14},
    {u"MeterSerialNbr", &HHMeter::MeterSerialNbr, 14},
    {u"MeterType", &HHMeter::MeterType, 1},
    {u"RouteSequence", &HHMeter::RouteSequence, 3},
    {u"Digits", &HHMeter::Digits, 1},
    {u"CurReading", &HHMeter::CurReading, 6},
    {u"BillingName", &HHMeter::BillingName, 60},
    {u"ServiceAddress", &HHMeter::ServiceAddress, 60},
    {u"Message", &HHMeter::Message, 60},
    {u"Status", &HHMeter::Status, 1},
    {u"ResponseCode", &HHMeter::ResponseCode, 1},
    {u"ResponseText", &HHMeter::ResponseText, 60},
    {u"PrvReading", &HHMeter::PrvReading, 6},
    {u"MaxReading", &HHMeter::MaxReading, 6},
    {u"MinReading", &HHMeter::MinReading, 6},
    {u"ReadingDate", &HHMeter::ReadingDate, 6},
    {u"ReadingTime", &HHMeter::ReadingTime, 4},
};

// The meter is not read yet: nothing to hand in.
bool IsUnread(const HHMeter& meter) {
    return meter.Status == "U";
}

std::string SyncUserName() {
    SyncUserId user{};
    user.userName[0] = '\0';
    SyncReadUserID(&user);
    user.userName[sizeof user.userName - 1] = '\0';
    return user.userName;
}

// Adds one row per read meter of the opened meter database to WexalReading,
// all in one transaction. Nothing when every row was stored; otherwise why
// not, and nothing of the route is stored.
std::optional<std::string> StoreReadings(HHMeter& meters, const std::u16string& handheldId) {
    try {
        const std::shared_ptr<wexal::ado::Connection> connection = sqllink::SharedConnection();
        if (!connection) {
            throw wexal::ado::AdoError(wexal::ado::kErrorNoObject, u"No connection");
        }
        wexal::ado::Transaction transaction(*connection);
        const auto readings = sqllink::OpenRecordset(u"Select * from WexalReading");
        const wexal::ado::Fields fields = readings->GetFields();
        for (std::uint32_t i = 0; i < meters.RecordCount(); ++i) {
            if (const std::int32_t error = meters.ReadByIndex(static_cast<std::uint16_t>(i))) {
                // Its reading would be lost, or another meter's stored twice.
                return "Error " + std::to_string(error) + " occurred reading meter table";
            }
            if (IsUnread(meters)) {
                continue;
            }
            readings->AddNew();
            fields.Item(u"HandHeldID").SetValue(handheldId);
            for (const ReadingColumn& column : kReadingColumns) {
                fields.Item(column.name)
                    .SetValue(AnsiToWide(meters.*column.field).substr(0, column.width));
            }
            readings->Update();
        }
        readings->Close();
        transaction.Commit();
        return std::nullopt;
    } catch (const wexal::ado::AdoError& error) {
        sqllink::GiveUpIfNotAnswering(error);
        return sqllink::DatabaseSays(error);
    }
}

// Has the billing system take the stored readings over, or else put them in
// its alternate table.
void ApplyReadings() {
    try {
        sqllink::ExecuteCall(u"{Call WexalApplyReadings}");
        return;
    } catch (const wexal::ado::AdoError& error) {
        sqllink::ReportFailure("Error Applying Readings", sqllink::DatabaseSays(error));
        // No constraint refused them, and the alternate table cannot be
        // reached either: the readings wait in WexalReading for the next apply.
        if (sqllink::GiveUpIfNotAnswering(error)) {
            return;
        }
        sqllink::ShowError("Database constraints prohibited applying readings!");
        sqllink::ShowError("Appending readings to alternate table");
    }
    try {
        sqllink::ExecuteCall(u"{Call WexalFailReadings}");
    } catch (const wexal::ado::AdoError& error) {
        sqllink::ReportFailure("Error Applying Readings to Alternate Table",
                               sqllink::DatabaseSays(error));
        sqllink::GiveUpIfNotAnswering(error);
    }
}

}  // namespace

std::int32_t WexalIfc_ODBC::UploadRoutes() {
    HHRoute list;
    if (list.Open() == 0) {
        return 0;
    }
    // Whether the readings of a route reached the billing system in this
    // sync, by route name: a route listed twice has one meter database,
    // whose readings go once.
    std::map<std::string, bool> uploaded;
    // A database that stopped answering ends the pass: the routes not yet
    // tried keep "U".
    for (std::uint32_t i = 0; i < list.RecordCount() && sqllink::DatabaseAnswers(); ++i) {
        const auto index = static_cast<std::uint16_t>(i);
        if (list.ReadByIndex(index) != kSyncErrNone || list.Status != "U") {
            continue;
        }
        const std::string route = list.RouteName;
        list.Close();
        const auto [known, first] = uploaded.try_emplace(route, false);
        if (first) {
            known->second = UploadRoute(route);
        }
        if (list.Open() == 0) {
            return 0;
        }
        // A route whose readings did not reach the billing system keeps "U",
        // so that the next sync hands them in again.
        if (known->second && list.ReadByIndex(index) == kSyncErrNone) {
            list.Status = "N";
            list.Write();
        }
    }
    list.Close();
    return 0;
}

bool WexalIfc_ODBC::UploadRoute(std::string route) {
    const std::u16string handheldId = AnsiToWide(SyncUserName());
    HHMeter meters;
    if (meters.Open(route) == 0) {
        // Logged by the meter database; the readings stay on the handheld.
        return false;
    }
    const std::optional<std::string> failure = StoreReadings(meters, handheldId);
    meters.Close();
    if (failure) {
        sqllink::ReportFailure("Error Uploading Route",
                               "the readings of route " + AnsiToUtf8(route) +
                                   " stay on the handheld for the next sync: " + *failure);
        sqllink::ShowError(*failure);
        return false;
    }
    ApplyReadings();
    return true;
}
