// One whole sync: configuration, reader settings, response codes, then the
// road of the selected interface.
#include <cstdio>
#include <memory>

#include "conduit/ClaimedDownload.h"
#include "conduit/DebugConsole.h"
#include "conduit/FolderScan.h"
#include "conduit/InterfaceTable.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/WexalConduit.h"
#include "conduit/WexalConfig.h"
#include "conduit/formats/WexalIfcOdbc.h"
#include "platform/synclog/SyncLog.h"

namespace {

void Log(const std::string& text, std::int32_t activity) {
    LogAddEntry(text.c_str(), activity, 0);
}

// Upload and purge, the start of both text-file roads: false when no
// download may follow.
bool UploadAndPurge(WexalConduit& conduit, const WexalConfig& config,
                    const TextFileRoutines& routines) {
    const std::int32_t uploaded = routines.upload(conduit, config.ReadingsPath,
                                                  config.CaptureExceptions, config.ExceptionsFile);
    conduit.PurgeRoutes();
    // A download recreates the meter databases of its routes: a route whose
    // readings are still on the handheld would lose them.
    if (uploaded < 0) {
        Log("Wexal - Readings not uploaded, download left for the next HotSync", kActivityHandheld);
        return false;
    }
    return true;
}

// Upload and purge, then verification and download of the one route file.
std::int32_t RunSingleFile(WexalConduit& conduit, const WexalConfig& config,
                           const InterfaceRow& row) {
    const TextFileRoutines& routines = *row.routines;
    const std::int32_t number = row.number;
    if (!UploadAndPurge(conduit, config, routines)) {
        return 0;
    }
    if (!DownloadClaimedRouteFile(conduit, routines, number, config.RoutePath, config.RetainByRoute,
                                  /*listed=*/false)) {
        return 0;
    }
    Log(row.finishText, kActivityFinished);
    return 1;
}

// Upload and purge, then every route file of the route folder.
std::int32_t RunFolderScan(WexalConduit& conduit, const WexalConfig& config,
                           const InterfaceRow& row) {
    if (!UploadAndPurge(conduit, config, *row.routines) ||
        !DownloadRouteFolder(conduit, *row.routines, row.number, config.RoutePath,
                             config.RetainByRoute)) {
        return 0;
    }
    Log(row.finishText, kActivityFinished);
    return 1;
}

// The SQL data source does the whole exchange itself and reports its own
// failures; there is no finish line.
std::int32_t RunSqlDataSource(const WexalConfig& config) {
    {
        WexalIfc_ODBC link;
        link.SetParameter("DSN", config.Server);
        link.SetParameter("UID", config.UserName);
        link.SetParameter("PWD", config.Password);
        link.Run();
    }
    if (Debug != 0) {
        DebugConsole::WaitForEnter("");
        DebugConsole::Close();
    }
    return 1;
}

// The workbook holds one route, "01": listed first, then its readings go to
// the workbook and, unless that failed, its meters come from it.
std::int32_t RunExcel(WexalConduit& conduit, const WexalConfig& config, const InterfaceRow& row) {
    conduit.UpdateRoute("01", -1, "N");
    if (conduit.UploadExcel(config.Workbook, config.Worksheet, config) != 0) {
        Log("Excel Interface: Upload failed", kActivityConfiguration);
    } else if (conduit.DownloadExcel(config.Workbook, config.Worksheet, "01", config) != 0) {
        Log("Excel Interface: Download failed", kActivityConfiguration);
    }
    Log(row.finishText, kActivityFinished);
    return 1;
}

}  // namespace

std::int32_t WexalConduit::Synchronize() {
    auto config = std::make_unique<WexalConfig>();
    if (!config->Valid) {
        Log("Wexal Conduit Started without valid configuration", kActivityStarted);
        Log(config->ErrorText, kActivityConfiguration);
        return 0;
    }
    if (Debug != 0) {
        DebugConsole::Open();
        DebugConsole::Write("\n Starting Sync Handheld.\n");
    }

    WriteReaderDB(*config);
    Log(" Started with interface " + config->SelectedInterface, kActivityStarted);
    WriteResponseCodes(*config);
    if (Debug != 0) {
        char line[512];
        std::snprintf(line, sizeof line, "Exception Report = %d, ExceptionPath=%s",
                      static_cast<int>(config->CaptureExceptions), config->ExceptionsFile.c_str());
        DebugConsole::Write(line);
    }

    const InterfaceRow* row = FindInterface(config->InterfaceCode);
    const bool textFile = row != nullptr && (row->road == InterfaceRoad::SingleFile ||
                                             row->road == InterfaceRoad::FolderScan);
    if (row == nullptr || (textFile && row->routines == nullptr)) {
        Log("Unsupported Wexal Interface", kActivityConfiguration);
        return 0;
    }

    switch (row->road) {
        case InterfaceRoad::SingleFile:
            return RunSingleFile(*this, *config, *row);
        case InterfaceRoad::SqlStub:
            SqlInterface("WEXAL", config->UserName, config->Password);
            Log(row->finishText, kActivityFinished);
            return 1;
        case InterfaceRoad::FolderScan:
            return RunFolderScan(*this, *config, *row);
        case InterfaceRoad::SqlDataSource:
            return RunSqlDataSource(*config);
        case InterfaceRoad::Excel:
            return RunExcel(*this, *config, *row);
    }
    Log("Unsupported Wexal Interface", kActivityConfiguration);
    return 0;
}

std::int32_t WexalConduit::SqlInterface(std::string /*name*/, std::string /*userName*/,
                                        std::string /*password*/) {
    return 0;
}
