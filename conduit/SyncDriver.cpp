// One whole sync: configuration, reader settings, response codes, then the
// road of the selected interface.
#include <cstdio>
#include <memory>

#include "conduit/DebugConsole.h"
#include "conduit/InterfaceTable.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/WexalConduit.h"
#include "conduit/WexalConfig.h"
#include "platform/synclog/SyncLog.h"

namespace {

void Log(const std::string& text, std::int32_t activity) {
    LogAddEntry(text.c_str(), activity, 0);
}

// Upload and purge, then verification and download of the one route file.
std::int32_t RunSingleFile(WexalConduit& conduit, const WexalConfig& config,
                           const InterfaceRow& row) {
    const TextFileRoutines& routines = *row.routines;
    const std::int32_t number = row.number;
    const std::int32_t uploaded = routines.upload(conduit, config.ReadingsPath,
                                                  config.CaptureExceptions, config.ExceptionsFile);
    conduit.PurgeRoutes();
    // A download recreates the meter databases of its routes: a route whose
    // readings are still on the handheld would lose them.
    if (uploaded < 0) {
        Log("Wexal - Readings not uploaded, download left for the next HotSync", kActivityHandheld);
        return 0;
    }
    if (routines.verifySortOrder(conduit, config.RoutePath, number) != 0) {
        return 0;
    }
    routines.download(conduit, config.RoutePath, config.RetainByRoute, number);
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
        case InterfaceRoad::SqlDataSource:
        case InterfaceRoad::Excel:
            break;
    }
    Log("Unsupported Wexal Interface", kActivityConfiguration);
    return 0;
}

std::int32_t WexalConduit::SqlInterface(std::string /*name*/, std::string /*userName*/,
                                        std::string /*password*/) {
    return 0;
}
