#include "desktop/core/ReadingsRoll.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "desktop/core/ProgramIdentity.h"
#include "platform/billingfile/BillingFileLock.h"
#include "platform/files/MoveWithoutReplacing.h"

namespace wexal::desktop {
namespace {

// What the roll finds at the readings path.
enum class Found { kRollable, kNothingToRoll, kFailed };

Found Inspect(const std::string& readingsFile, int& error) {
    struct stat info {};
    if (::stat(readingsFile.c_str(), &info) != 0) {
        error = errno;
        return error == ENOENT || error == ENOTDIR ? Found::kNothingToRoll : Found::kFailed;
    }
    // A folder (or a device) at the path is not a readings file, and an empty
    // file stays where the next HotSync appends to it.
    return S_ISREG(info.st_mode) && info.st_size > 0 ? Found::kRollable : Found::kNothingToRoll;
}

// The conduit's journal of an upload into the file (see the conduit's upload
// journal): present under the lock only when a HotSync stopped half way.
bool UploadUnfinished(const std::string& readingsFile) {
    struct stat info {};
    return ::lstat((readingsFile + ".pending").c_str(), &info) == 0 || errno != ENOENT;
}

// The roll's answer: the text of its one message, and whether it moved.
struct Outcome {
    std::string message;
    bool moved = false;
};

Outcome NothingOrFailure(Found found, int error) {
    return {found == Found::kNothingToRoll ? std::string(kNoReadingFile)
                                           : std::string(std::strerror(error))};
}

Outcome Roll(const std::string& readingsFile, const std::string& rolled) {
    // Looked at first without the lock, so that a missing file (or folder)
    // leaves no lock file behind.
    int error = 0;
    Found found = Inspect(readingsFile, error);
    if (found != Found::kRollable) {
        return NothingOrFailure(found, error);
    }
    billingfile::BillingFileLock lock;
    if (!lock.Acquire(readingsFile)) {
        return {lock.Error()};
    }
    // Under the lock no HotSync writes the file; it may have moved or
    // changed while we waited.
    found = Inspect(readingsFile, error);
    if (found != Found::kRollable) {
        return NothingOrFailure(found, error);
    }
    // Its lines belong to a route still to be uploaded: rolled now, billing
    // would get a cut route and the retry would write the route again into
    // the new file.
    if (UploadUnfinished(readingsFile)) {
        return {std::string(kUnfinishedUpload)};
    }
    error = files::MoveWithoutReplacing(readingsFile, rolled);
    if (error != 0) {
        return NothingOrFailure(Found::kFailed, error);
    }
    return {std::string(kReadingsMovedTo) + rolled, true};
}

}  // namespace

std::string RolledFileName(std::string_view rollFolder, const LocalDateTime& when) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d%02d%02d", when.Year, when.Month,
                  when.Day, when.Hour, when.Minute, when.Second);
    return std::string(rollFolder) + "/Readings-" + stamp;
}

bool RollReadings(const std::string& readingsFile, const std::string& rollFolder,
                  const Clock& clock, Messages& messages) {
    const std::string rolled = RolledFileName(rollFolder, clock.Now());
    // The lock is let go before the message waits for the user.
    const Outcome outcome = Roll(readingsFile, rolled);
    messages.MessageBox(outcome.message, kProgramTitle, Messages::Buttons::kOk);
    return outcome.moved;
}

}  // namespace wexal::desktop
