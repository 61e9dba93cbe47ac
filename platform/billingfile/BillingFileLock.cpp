#include "platform/billingfile/BillingFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
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

bool BillingFileLock::Awaited() const {
    struct stat held {};
    if (!Held() || ::fstat(fd_, &held) != 0) {
        return false;
    }
    // A blocked flock is listed as "N: -> FLOCK  ADVISORY  WRITE pid
    // MAJ:MIN:INODE start end", the device numbers in hex.
    char lockFile[64];
    std::snprintf(lockFile, sizeof lockFile, " %02x:%02x:%llu ", major(held.st_dev),
                  minor(held.st_dev), static_cast<unsigned long long>(held.st_ino));
    std::ifstream table("/proc/locks");
    if (!table) {
        return true;
    }
    std::string line;
    while (std::getline(table, line)) {
        if (line.find("-> FLOCK") != std::string::npos &&
            line.find(lockFile) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace wexal::billingfile
