#include "platform/syncmgr/SyncLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/syncmgr/DesktopFolders.h"

namespace wexal::syncmgr {
namespace {

// The locked descriptor, or -1 when `operation` has LOCK_NB and another holds it.
int Take(int operation) {
    const std::filesystem::path file = SyncLockFile();
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        throw std::system_error(error,
                                "cannot create the desktop folder " + file.parent_path().string());
    }
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw std::system_error(errno, std::generic_category(), "cannot open " + file.string());
    }
    while (::flock(fd, operation) != 0) {
        const int reason = errno;
        if (reason == EINTR) {
            continue;
        }
        ::close(fd);
        if (reason == EWOULDBLOCK) {
            return -1;
        }
        throw std::system_error(reason, std::generic_category(), "cannot lock " + file.string());
    }
    return fd;
}

}  // namespace

SyncLock SyncLock::ForSync() {
    return SyncLock(Take(LOCK_SH));
}

SyncLock SyncLock::TryForRegistration() {
    return SyncLock(Take(LOCK_EX | LOCK_NB));
}

SyncLock::~SyncLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

SyncLock::SyncLock(SyncLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

SyncLock& SyncLock::operator=(SyncLock&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
}

}  // namespace wexal::syncmgr
