#include "desktop/core/ExceptionsClearing.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "desktop/core/TextFileLines.h"
#include "platform/billingfile/BillingFileLock.h"
#include "platform/files/AtomicFile.h"

namespace wexal::desktop {

void ClearPrintedExceptions(const std::string& captureFile, const PrintedLines& printed,
                            const std::function<void()>& beforeWaiting) {
    billingfile::BillingFileLock lock;
    if (!lock.Acquire(captureFile, beforeWaiting)) {
        throw std::runtime_error("Cannot lock " + lock.LockPath() + ": " + lock.Error());
    }
    // Under the lock a journal is no live sync's: one that died midway, whose
    // next sync still has to settle the file's end.
    std::error_code error;
    if (std::filesystem::exists(captureFile + ".pending", error) || error) {
        throw std::runtime_error(std::string(kClearRefusedWhileSyncing));
    }

    std::string kept;
    bool removedAny = false;
    TextFileLines lines(captureFile);
    std::string line;
    for (std::uint64_t index = 0; lines.Next(line); ++index) {
        const auto found = printed.find(index);
        if (found != printed.end() && found->second == line) {
            removedAny = true;
        } else {
            kept += line;
        }
    }
    if (!removedAny) {
        return;
    }
    // A link stays and the file it names is emptied, as a replacement would
    // keep it.
    if (kept.empty() && !std::filesystem::is_symlink(captureFile, error)) {
        if (!std::filesystem::remove(captureFile, error) && error) {
            throw std::system_error(error, "Cannot delete " + captureFile);
        }
        return;
    }
    files::ReplaceFileAtomically(captureFile, kept);
}

}  // namespace wexal::desktop
