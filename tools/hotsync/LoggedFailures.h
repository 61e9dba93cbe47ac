// Whether a sync logged a failure: an entry whose activity is 17 (a readings
// or exceptions file cannot be written), 21 (a configuration, interface or
// workbook error) or 22 (a handheld database, route-file or sort-order
// error), leaving out the conduit's reports that share activity 22.
#pragma once

#include <vector>

#include "platform/synclog/SyncLog.h"

namespace wexal::hotsync {

bool IsFailure(const synclog::Entry& entry);
bool LogsAFailure(const std::vector<synclog::Entry>& entries);

}  // namespace wexal::hotsync
