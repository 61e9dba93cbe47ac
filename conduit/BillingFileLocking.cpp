#include "conduit/BillingFileLocking.h"

#include "conduit/SyncLogActivity.h"
#include "platform/synclog/SyncLog.h"

namespace {

void Log(const std::string& text, std::int32_t activity) {
    LogAddEntry(text.c_str(), activity, 0);
}

}  // namespace

bool LockBillingFile(wexal::billingfile::BillingFileLock& lock, const std::string& file) {
    const bool held = lock.Acquire(file, [&file] {
        Log("Wexal - Waiting for another HotSync or program to finish with " + file,
            kActivityStarted);
    });
    if (!held) {
        Log("Wexal - Lock file " + lock.LockPath() + " cannot be used (" + lock.Error() +
                "); nothing is written to " + file,
            kActivityFileWrite);
    }
    return held;
}
