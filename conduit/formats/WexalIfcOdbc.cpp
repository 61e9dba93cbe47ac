// WexalIfc_ODBC: its parameters, the connection string and the order of the
// phases of a sync, which end when the database stops answering.
#include "conduit/formats/WexalIfcOdbc.h"

#include <cstring>
#include <set>
#include <string>

#include "conduit/HHRoute.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/SqlSharedConnection.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/ado/ObjectFactory.h"
#include "platform/palm/SyncManager.h"

namespace {

// A value as a connection string takes it: as it is, or in braces when a
// ";" or a brace in it would otherwise end it early or start another key.
std::u16string ConnectionValue(const std::u16string& value) {
    if (value.find_first_of(u";{}") == std::u16string::npos) {
        return value;
    }
    std::u16string braced = u"{";
    for (char16_t c : value) {
        braced += c;
        if (c == u'}') {
            braced += c;
        }
    }
    return braced + u"}";
}

// Empties the shared connection when Run ends, however it ends.
class SharedConnectionScope {
  public:
    explicit SharedConnectionScope(std::shared_ptr<wexal::ado::Connection> connection) {
        sqllink::SharedConnection() = std::move(connection);
    }
    ~SharedConnectionScope() { sqllink::SharedConnection().reset(); }
    SharedConnectionScope(const SharedConnectionScope&) = delete;
    SharedConnectionScope& operator=(const SharedConnectionScope&) = delete;
};

std::string CountOfRoutes(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " route" : " routes");
}

// One line for the routes that a pass given up on leaves as they are: those
// still handed back ("U") and still asked for ("D"), each route once.
void LogRoutesWaiting() {
    HHRoute list;
    if (list.Open() == 0) {
        return;
    }
    std::set<std::string> toUpload;
    std::set<std::string> toDownload;
    for (std::uint32_t i = 0; i < list.RecordCount(); ++i) {
        if (list.ReadByIndex(static_cast<std::uint16_t>(i)) != kSyncErrNone) {
            continue;
        }
        if (list.Status == "U") {
            toUpload.insert(list.RouteName);
        } else if (list.Status == "D") {
            toDownload.insert(list.RouteName);
        }
    }
    list.Close();
    sqllink::LogFailure("The database did not answer",
                        CountOfRoutes(toUpload.size()) + " to upload and " +
                            std::to_string(toDownload.size()) +
                            " to download wait for the next HotSync");
}

}  // namespace

std::int32_t WexalIfc_ODBC::SetParameter(const char* name, const std::string& value) {
    std::u16string* member = nullptr;
    if (std::strcmp(name, "DSN") == 0) {
        member = &DSN;
    } else if (std::strcmp(name, "UID") == 0) {
        member = &UID;
    } else if (std::strcmp(name, "PWD") == 0) {
        member = &PWD;
    } else {
        return -1;
    }
    // The values come from the configuration, which is UTF-8.
    *member = ConfigTextToWide(value);
    return 0;
}

std::int32_t WexalIfc_ODBC::Run() {
    ConnectString = u"DSN=" + ConnectionValue(DSN) + u";UID=" + ConnectionValue(UID) + u";PWD=" +
                    ConnectionValue(PWD) + u";";

    std::shared_ptr<wexal::ado::Connection> connection;
    if (const std::int32_t code = wexal::ado::CreateInstance(connection)) {
        sqllink::LogFailure("no connection object can be made", "code " + std::to_string(code));
        return 0;
    }
    SharedConnectionScope scope(connection);

    std::int32_t result = 0;
    try {
        connection->Open(ConnectString);
        result = DownloadRouteList();
        if (result == 0 && sqllink::DatabaseAnswers()) {
            result = UploadRoutes();
        }
        if (result == 0 && sqllink::DatabaseAnswers()) {
            result = DownloadRoutes();
        }
        if (!sqllink::DatabaseAnswers()) {
            LogRoutesWaiting();
        }
    } catch (const wexal::ado::AdoError& error) {
        sqllink::ReportFailure("Connection Open Failed", sqllink::DatabaseSays(error), "Debug");
        result = 0;
    }
    return result;
}
