// One sync of one conduit, run in a child process so that a conduit that
// crashes cannot take the sync manager with it. The handheld store stays
// consistent because every database is written back whole or not at all.
#pragma once

#include <filesystem>
#include <string>

#include "tools/hotsync/ConduitLibrary.h"

namespace wexal::hotsync {

struct SyncSession {
    std::filesystem::path handheldFolder;
    std::string userName;
    std::filesystem::path userFolder;
    std::filesystem::path logFile;
    bool interactive = false;
};

struct SyncOutcome {
    bool ok = false;
    std::string problem;          // why not ok
    bool failuresLogged = false;  // the conduit ran to its end but logged a failure
};

SyncOutcome RunConduit(const ConduitLibrary& conduit, const SyncSession& session);

}  // namespace wexal::hotsync
