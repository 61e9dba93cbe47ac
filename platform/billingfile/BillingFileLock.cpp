#include "platform/billingfile/BillingFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace wexal::billingfile {
namespace {

int FlockRetrying(int fd, int operation) {
    int result = 0;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result;
}

}  // namespace

std::string BillingFileLock::LockPathOf(const std::string& file) {
    return file + ".lock";
}

BillingFileLock::~BillingFileLock() {
    Release();
}

BillingFileLock::BillingFileLock(BillingFileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      lockPath_(std::move(other.lockPath_)),
      error_(std::move(other.error_)) {}

BillingFileLock& BillingFileLock::operator=(BillingFileLock&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        lockPath_ = std::move(other.lockPath_);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool BillingFileLock::Acquire(const std::string& file, const std::function<void()>& beforeWaiting) {
    Release();
    lockPath_ = LockPathOf(file);
    error_.clear();
    // Read access is enough for flock, so a lock file that another user's
    // program created can be locked too. O_NONBLOCK: a FIFO put in its place
    // must not hang the open.
    const int fd =
        ::open(lockPath_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error_ = "not a regular file";
        ::close(fd);
        return false;
    }
    if (FlockRetrying(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            if (beforeWaiting) {
                beforeWaiting();
            }
            if (FlockRetrying(fd, LOCK_EX) == 0) {
                fd_ = fd;
                return true;
            }
        }
        error_ = std::strerror(errno);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void BillingFileLock::Release() {
    if (fd_ >= 0) {
        // Unlocked before the close: a child forked meanwhile shares the
        // descriptor and would keep the lock.
        FlockRetrying(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

bool BillingFileLock::Covers(const std::string& file) const {
    struct stat held {};
    struct stat other {};
    return Held() && ::fstat(fd_, &held) == 0 && ::stat(LockPathOf(file).c_str(), &other) == 0 &&
           held.st_dev == other.st_dev && held.st_ino == other.st_ino;
}

}  // namespace wexal::billingfile
