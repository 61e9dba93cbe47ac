#include "conduit/ClaimedDownload.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <system_error>

#include "conduit/HHDatabase.h"
#include "conduit/InterfaceTable.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/TextFileRoad.h"
#include "conduit/TextFileVendors.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/HistoryRotation.h"
#include "conduit/formats/RouteFileClaim.h"
#include "conduit/formats/VendorMeter.h"
#include "platform/files/MoveWithoutReplacing.h"
#include "platform/files/RegularFile.h"
#include "platform/synclog/SyncLog.h"

namespace {

void LogInfo(const std::string& text) {
    LogAddEntry(text.c_str(), kActivityStarted, 0);
}

// What a claimed name may hold: a regular file, never a link (a route file
// that is one is not claimed).
bool HoldsRegularFile(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

enum class Ownership {
    Taken,       // this sync's now
    Gone,        // no longer there
    Elsewhere,   // in the turn of another sync
    Obstructed,  // what has the name is no regular file
    Failed,      // it could not be opened or locked (TurnLock::Error)
};

// How a sync owns a claimed file through its turn: an flock of the file
// itself, which stays with it through its renames until the sync ends. A
// claimed file whose lock is free was left by a sync that ended.
class TurnLock {
  public:
    TurnLock() = default;
    ~TurnLock() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    TurnLock(const TurnLock&) = delete;
    TurnLock& operator=(const TurnLock&) = delete;

    Ownership Take(const std::string& path) {
        // The owner may move the file on between our open and our lock:
        // then the name is looked at again.
        for (int look = 0; look < kLooks; ++look) {
            if (!PathExists(path)) {
                return Ownership::Gone;
            }
            if (!HoldsRegularFile(path)) {
                return Ownership::Obstructed;
            }
            int error = 0;
            const int fd = wexal::files::OpenRegularFile(path, O_RDONLY | O_NOFOLLOW, 0, error);
            if (fd < 0 && error == ENOENT) {
                continue;
            }
            if (fd < 0) {
                error_ = error;
                return error == wexal::files::kNotRegularFile || error == EISDIR || error == ELOOP
                           ? Ownership::Obstructed
                           : Ownership::Failed;
            }
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                error_ = errno;
                ::close(fd);
                return error_ == EWOULDBLOCK ? Ownership::Elsewhere : Ownership::Failed;
            }
            struct stat held {};
            struct stat named {};
            if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                fd_ = fd;
                return Ownership::Taken;
            }
            ::close(fd);
        }
        return Ownership::Elsewhere;
    }

    int Error() const { return error_; }

  private:
    static constexpr int kLooks = 8;
    int fd_ = -1;
    int error_ = 0;
};

bool LeftToAnotherSync(const std::string& routeFile) {
    LogInfo("Wexal - Route file in the turn of another HotSync: " + PathToUtf8(routeFile));
    return true;
}

// Never opened, claimed over or moved into the history: the route file
// waits until it is gone.
bool LeftForWhatIsNoFile(const std::string& claimed) {
    LogHandheldError(
        "Wexal - Route file stays for the next HotSync, its claimed name is taken by what is "
        "not a regular file: " +
        PathToUtf8(claimed));
    return true;
}

bool LeftForWhatCannotBeTaken(const std::string& claimed, const TurnLock& lock) {
    LogHandheldError(
        "Wexal - Route file stays for the next HotSync, its claimed file cannot be "
        "taken: " +
        PathToUtf8(claimed) + ": " + wexal::files::ErrorText(lock.Error()));
    return true;
}

// A file left downloaded by an earlier sync goes into the history now and is
// never downloaded again. False while it cannot (logged).
bool SettleDownloaded(const TextFileVendor& vendor, const std::string& routeFile,
                      std::uint32_t retainByRoute) {
    const std::string downloaded = DownloadedName(routeFile);
    const std::string route =
        retainByRoute != 0 ? RouteOfFile(vendor, downloaded).value_or("") : std::string();
    return MoveDownloadedIntoHistory(downloaded, HistoryBaseName(retainByRoute != 0, route)) == 0;
}

// Claims the route file: 0, or the errno after logging why there is none to
// claim (ELOOP: it is a link). It is read first: one this sync cannot read
// would be hidden among the claimed files, never to come down.
int Claim(const std::string& routeFile, bool listed) {
    // Claimed, a link would move and its target stay: the billing system's
    // next export through the link would never be seen, and a relative link
    // would point nowhere from the claimed name.
    if (IsLink(routeFile)) {
        LogHandheldError(
            "Wexal - Route file is a symbolic link, it is not downloaded: the route path must "
            "name the file itself: " +
            PathToUtf8(routeFile));
        return ELOOP;
    }
    int error = 0;
    if (const int fd = wexal::files::OpenRegularFile(routeFile, error); fd >= 0) {
        ::close(fd);
    }
    if (error == wexal::files::kNotRegularFile || error == EISDIR) {
        LogRouteFileOpenError(VendorMeter::kNotRegularFile, routeFile, {});
        return error;
    }
    std::string reason = wexal::files::ErrorText(error);
    if (error == 0) {
        error = ClaimRouteFile(routeFile, reason);
    }
    // A file that the scan listed and is gone was taken by another sync.
    if (error == ENOENT && listed) {
        LeftToAnotherSync(routeFile);
    } else if (error == ENOENT) {
        LogHandheldError("Wexal - No file found to download during Sort Order Verification");
    } else if (error != 0) {
        // Such a file could not go into the history either: downloaded, it
        // would come down again with every sync.
        LogHandheldError(
            "Wexal - Route file cannot be taken for the download, it stays for the "
            "next HotSync: " +
            PathToUtf8(routeFile) + ": " + PathToUtf8(reason));
    }
    return error;
}

}  // namespace

std::optional<std::string> RouteOfFile(const TextFileVendor& vendor, const std::string& path) {
    const std::unique_ptr<VendorMeter> codec = vendor.makeMeter();
    if (codec->Open(path) != 0) {
        return std::nullopt;
    }
    while (codec->RouteOfFile().empty() && codec->Read() == VendorMeter::kRecordRead) {
    }
    return codec->RouteOfFile();
}

bool DownloadClaimedRouteFile(WexalConduit& conduit, const TextFileRoutines& routines,
                              std::int32_t number, const std::string& routeFile,
                              std::uint32_t retainByRoute, bool listed) {
    const TextFileVendor* vendor = text_file_vendors::ForNumber(static_cast<std::uint16_t>(number));
    if (vendor == nullptr) {
        return false;
    }
    if (!listed) {
        MoveInEarlierClaims(routeFile);
    }
    const std::string downloaded = DownloadedName(routeFile);
    const std::string downloading = DownloadingName(routeFile);
    for (const std::string& claimed : {downloaded, downloading}) {
        if (IsLink(claimed) && SettleClaimedLink(claimed)) {
            return LeftToAnotherSync(routeFile);
        }
    }
    for (const std::string& claimed : {downloaded, downloading}) {
        if (PathExists(claimed) && !HoldsRegularFile(claimed)) {
            return LeftForWhatIsNoFile(claimed);
        }
    }
    bool settled = false;
    if (PathExists(downloaded)) {
        TurnLock lock;
        const Ownership owner = lock.Take(downloaded);
        if (owner == Ownership::Elsewhere) {
            return LeftToAnotherSync(routeFile);
        }
        if (owner == Ownership::Obstructed) {
            return LeftForWhatIsNoFile(downloaded);
        }
        if (owner == Ownership::Failed) {
            return LeftForWhatCannotBeTaken(downloaded, lock);
        }
        // Its move to the downloaded name by linking stopped before the
        // unlink: the downloading name is no claim of its own.
        if (owner == Ownership::Taken) {
            wexal::files::DropNameOfStoppedMove(downloading, downloaded);
        }
        if (owner == Ownership::Taken && !SettleDownloaded(*vendor, routeFile, retainByRoute)) {
            if (PathExists(routeFile)) {
                LogHandheldError(
                    "Wexal - Route file not downloaded while the one downloaded before waits "
                    "for the history: " +
                    PathToUtf8(routeFile));
            }
            return true;
        }
        settled = owner == Ownership::Taken;
    }
    // One that an interrupted sync claimed is older than any under the route
    // file's name: it goes first.
    TurnLock lock;
    Ownership owner = PathExists(downloading) ? lock.Take(downloading) : Ownership::Gone;
    if (owner == Ownership::Taken) {
        // Left by another user's sync in a folder this one may not change.
        if (const std::string stuck = WhyClaimedFileIsStuck(downloading); !stuck.empty()) {
            LogHandheldError(
                "Wexal - Route file of an interrupted HotSync not downloaded, this HotSync could "
                "not move it on: " +
                PathToUtf8(downloading) + ": " + PathToUtf8(stuck));
            return true;
        }
        LogInfo("Wexal - Route file of an interrupted HotSync downloaded again: " +
                PathToUtf8(downloading));
    } else if (owner == Ownership::Gone) {
        if (settled && !PathExists(routeFile)) {
            return true;
        }
        if (const int error = Claim(routeFile, listed); error != 0) {
            return (listed && error == ENOENT) || error == ELOOP;
        }
        owner = lock.Take(downloading);
    }
    if (owner == Ownership::Obstructed) {
        return LeftForWhatIsNoFile(downloading);
    }
    if (owner == Ownership::Failed) {
        return LeftForWhatCannotBeTaken(downloading, lock);
    }
    if (owner != Ownership::Taken) {
        return LeftToAnotherSync(routeFile);
    }
    if (routines.verifySortOrder(conduit, downloading, number) != 0) {
        GiveBackRouteFile(downloading, /*refused=*/true);
        return false;
    }
    const bool complete = routines.download(conduit, downloading, retainByRoute, number) == 0;
    // Still claimed: its meters did not all reach the handheld, or it could
    // not be marked downloaded (logged).
    if (PathExists(downloading)) {
        if (GiveBackRouteFile(downloading, /*refused=*/false) && !complete) {
            LogDownloadIncomplete(routeFile);
        }
    } else if (PathExists(routeFile)) {
        LogInfo("Wexal - A newer route file stays for the next HotSync: " + PathToUtf8(routeFile));
    }
    return true;
}
