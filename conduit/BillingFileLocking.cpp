#include "conduit/BillingFileLocking.h"

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/AnsiText.h"
#include "platform/synclog/SyncLog.h"

namespace {

void Log(const std::string& text, std::int32_t activity) {
    LogAddEntry(text.c_str(), activity, 0);
}

}  // namespace

bool LockBillingFile(wexal::billingfile::BillingFileLock& lock, const std::string& file) {
    const bool held = lock.Acquire(file, [&file] {
        Log("Wexal - Waiting for another HotSync or program to finish with " + PathToUtf8(file),
            kActivityStarted);
    });
    if (!held) {
        Log("Wexal - Lock file " + PathToUtf8(lock.LockPath()) + " cannot be used (" +
                lock.Error() + "); nothing is written to " + PathToUtf8(file),
            kActivityFileWrite);
    }
    return held;
}
