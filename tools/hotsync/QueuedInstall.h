// Installing the files queued for the user (InstallQueue.h) on the handheld,
// before the conduits run.
#pragma once

#include "tools/hotsync/SyncRun.h"

namespace wexal::hotsync {

// Stores every queued file on the session's handheld and takes it off the
// queue, with one sync log line for each (activity 19). A file that is not a
// Palm database, or that cannot be stored, stays queued for the next sync and
// is logged (activity 22). Returns false when something stayed queued that
// way. Never throws: the conduits run whatever happens here.
bool InstallQueuedFiles(const SyncSession& session);

}  // namespace wexal::hotsync
