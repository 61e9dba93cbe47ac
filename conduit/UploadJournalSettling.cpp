#include "conduit/UploadJournalSettling.h"

#include <glob.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "conduit/BillingFileLocking.h"
#include "conduit/ExceptionRule.h"
#include "conduit/HHRoute.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/formats/AnsiText.h"
#include "platform/palm/SyncManager.h"
#include "platform/synclog/SyncLog.h"

namespace {

void Log(const std::string& text, std::int32_t activity) {
    LogAddEntry(text.c_str(), activity, 0);
}

bool RouteAwaitsUpload(const std::string& route, std::uint32_t routeRecord) {
    HHRoute list;
    if (list.Open() == 0) {
        return false;  // unknown: its lines are kept rather than risked
    }
    for (std::uint32_t index = 0; index < list.RecordCount(); ++index) {
        if (list.ReadByIndex(static_cast<std::uint16_t>(index)) == kSyncErrNone &&
            list.RouteName == route && list.RecordId() == routeRecord) {
            return IsSingleChar(list.Status, 'U') || IsSingleChar(list.Status, 'M');
        }
    }
    return false;
}

// A journal that cannot be looked at may be there too.
bool HasJournal(const std::string& file) {
    struct stat info {};
    return ::lstat(UploadJournal(file).Path().c_str(), &info) == 0 ||
           (errno != ENOENT && errno != ENOTDIR);
}

// The journals of the files that a readings path with a "*" names: the "*"
// stands for a route's name, which holds no "/"; everything else is taken
// literally.
std::vector<std::string> FilesWithJournalsMatching(const std::string& readingsPath) {
    std::string pattern;
    for (const char c : readingsPath) {
        if (c == '\\' || c == '?' || c == '[') {
            pattern += '\\';
        }
        pattern += c;
    }
    pattern += UploadJournal::kSuffix;
    std::vector<std::string> files;
    glob_t found{};
    // GLOB_PERIOD: a route's name may begin with a dot.
    if (::glob(pattern.c_str(), GLOB_PERIOD, nullptr, &found) == 0) {
        for (std::size_t index = 0; index < found.gl_pathc; ++index) {
            const std::string journal = found.gl_pathv[index];
            files.push_back(journal.substr(0, journal.size() - UploadJournal::kSuffix.size()));
        }
    }
    ::globfree(&found);
    return files;
}

}  // namespace

std::uint32_t SyncedHandheldId() {
    SyncUserId user{};
    return SyncReadUserID(&user) == kSyncErrNone ? user.userId : 0;
}

bool SettleUploadJournal(UploadJournal& journal, std::uint32_t handheld,
                         UploadJournal::Purpose purpose) {
    switch (journal.Settle(handheld, RouteAwaitsUpload, purpose)) {
        case UploadJournal::Settled::Nothing:
        case UploadJournal::Settled::Kept:
            return true;
        case UploadJournal::Settled::CutBack:
            Log("Wexal - Lines of an unfinished upload of route " +
                    AnsiToUtf8(journal.SettledRoute()) + " taken back from " +
                    PathToUtf8(journal.File()),
                kActivityFileWrite);
            return true;
        case UploadJournal::Settled::Doubtful:
            Log("Wexal - Lines of an unfinished upload of route " +
                    AnsiToUtf8(journal.SettledRoute()) + " stay in " + PathToUtf8(journal.File()) +
                    "; they may be written twice",
                kActivityFileWrite);
            return true;
        case UploadJournal::Settled::Undecided:
            // A notice, not a failure of this sync: its own readings went in.
            Log("Wexal - Unfinished upload journal " + PathToUtf8(journal.Path()) +
                    " stays for the next HotSync of the handheld that wrote it",
                kActivityStarted);
            return false;
        case UploadJournal::Settled::Failed:
            break;
    }
    Log("Wexal - Unfinished upload journal " + PathToUtf8(journal.Path()) + " cannot be settled",
        kActivityFileWrite);
    return false;
}

std::vector<std::string> BillingFilesWithJournals(const std::string& readingsPath,
                                                  bool starNamesRoute,
                                                  const std::string& exceptionsFile) {
    std::vector<std::string> files;
    if (starNamesRoute && readingsPath.find('*') != std::string::npos) {
        files = FilesWithJournalsMatching(readingsPath);
    } else if (!readingsPath.empty() && HasJournal(readingsPath)) {
        files.push_back(readingsPath);
    }
    if (!exceptionsFile.empty() && HasJournal(exceptionsFile) &&
        std::find(files.begin(), files.end(), exceptionsFile) == files.end()) {
        files.push_back(exceptionsFile);
    }
    return files;
}

void SettleJournalsLeftBehind(const std::vector<std::string>& files) {
    if (files.empty()) {
        return;
    }
    const std::uint32_t handheld = SyncedHandheldId();
    for (const std::string& file : files) {
        // One lock at a time: none is held while another is awaited.
        wexal::billingfile::BillingFileLock lock;
        if (LockBillingFile(lock, file)) {
            UploadJournal journal(file);
            SettleUploadJournal(journal, handheld, UploadJournal::Purpose::Tidy);
        }
    }
}
