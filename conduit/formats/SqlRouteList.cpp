// The SQL link's route list: the billing system's routes listed on the
// handheld.
#include <cstdio>
#include <ctime>

#include "conduit/HHRoute.h"
#include "conduit/RouteNameRefusal.h"
#include "conduit/TrailingWhiteSpace.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/SqlSharedConnection.h"
#include "conduit/formats/WexalIfcOdbc.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Command.h"
#include "platform/ado/ObjectFactory.h"
#include "platform/palm/SyncManager.h"

std::int32_t WexalIfc_ODBC::DownloadRouteList() {
    // Without the route list no route can be listed, handed in or asked
    // for (HHRoute logged why).
    if (!HHRoute::CanBeOpened()) {
        return 1;
    }
    std::unique_ptr<wexal::ado::Command> command;
    if (const std::int32_t code = wexal::ado::CreateInstance(command)) {
        char text[96];
        std::snprintf(
            text, sizeof text, "Received failure on CreateInstance(Command) return=%ld (0x%lx) ",
            static_cast<long>(code), static_cast<unsigned long>(static_cast<std::uint32_t>(code)));
        sqllink::ReportFailure(text);
        return 1;
    }
    try {
        command->SetActiveConnection(sqllink::SharedConnection());
        command->SetCommandText(u"{Call Build_WexalRouteList}");
        command->Execute();
    } catch (const wexal::ado::AdoError& error) {
        sqllink::ReportFailure("Error downloading routelist", sqllink::DatabaseSays(error));
        sqllink::GiveUpIfNotAnswering(error);
        return 0;
    }

    std::unique_ptr<wexal::ado::Recordset> routes;
    if (wexal::ado::CreateInstance(routes) != 0) {
        sqllink::ReportFailure("Received failure on Recordset CreateInstance");
        return 1;
    }
    try {
        routes->Open(u"Select RouteBook from WexalRouteList", sqllink::SharedConnection());
        const wexal::ado::Field routeBook = routes->GetFields().Item(u"RouteBook");
        for (; !routes->IsEOF(); routes->MoveNext()) {
            // A route without a name cannot be asked for or stored.
            const wexal::ado::Value value = routeBook.GetValue();
            std::string name = WideToAnsi(value.value_or(u""));
            TrimTrailingWhiteSpace(name);
            // Listed, it would be asked for and never arrive; a NUL byte
            // would even list it under another route's name.
            if (!name.empty() && !RefusedRouteName(name, "not listed")) {
                UpdateRoute(name, -1, "N");
            }
        }
        routes->Close();
    } catch (const wexal::ado::AdoError& error) {
        sqllink::ReportFailure("Error downloading routelist", sqllink::DatabaseSays(error));
        sqllink::GiveUpIfNotAnswering(error);
    }
    return 0;
}

std::int32_t WexalIfc_ODBC::UpdateRoute(std::string route, std::int32_t count, const char* status) {
    TrimTrailingWhiteSpace(route);
    const std::time_t now = std::time(nullptr);

    HHRoute list;
    if (list.Open() == 0) {
        return 0;
    }
    bool found = false;
    for (std::uint32_t i = 0; i < list.RecordCount() && !found; ++i) {
        found = list.ReadByIndex(static_cast<std::uint16_t>(i)) == kSyncErrNone &&
                list.RouteName == route;
    }
    if (!found) {
        list.Clear();
        list.Status = status;
        list.Word2 = 0;
        list.LastIndex = 0;
    }
    list.RouteName = route;
    list.Word3 = 0;
    list.Text1 = HHRoute::kSpareText;
    list.Text2 = HHRoute::kSpareText;
    if (count != 0) {
        list.LastIndex = static_cast<std::uint16_t>(static_cast<std::uint32_t>(count) - 1);
    }
    if (count > -1) {
        list.MeterCount = static_cast<std::uint16_t>(count);
    }
    list.DownloadStamp = HHRoute::DownloadStampAt(now);
    if (status[0] == 'R') {
        list.Status = status;
    }
    list.Write();
    list.Close();
    return 0;
}
