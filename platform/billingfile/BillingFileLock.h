// The billing-file lock. A billing file (a readings file, the
// exceptions-capture file, a workbook) is written by every sync that brings
// readings into it and is rolled, cleared or taken away by the office and the
// billing system. Whoever writes or moves one holds an exclusive flock on
// "<file>.lock" beside it for as long as its work on the file lasts, so that
// the writers take turns and none of them sees another's work half done.
//
// Whoever holds the locks of a readings file and of the exceptions-capture
// file at once takes the readings file's first, so that two holders never
// wait on each other. The lock file is created when missing and never
// removed: a writer that removed it would let the next one lock a new file
// while a third still waits on the old one.
#pragma once

#include <functional>
#include <string>

namespace wexal::billingfile {

class BillingFileLock {
  public:
    // "<file>.lock".
    static std::string LockPathOf(const std::string& file);

    BillingFileLock() = default;
    ~BillingFileLock();
    BillingFileLock(BillingFileLock&& other) noexcept;
    BillingFileLock& operator=(BillingFileLock&& other) noexcept;
    BillingFileLock(const BillingFileLock&) = delete;
    BillingFileLock& operator=(const BillingFileLock&) = delete;

    // Holds the lock of `file` (releasing any lock held before), waiting as
    // long as someone else holds it; `beforeWaiting` is called once when it
    // has to wait. False when the lock file cannot be created or locked:
    // then nothing is held and Error() says why.
    bool Acquire(const std::string& file, const std::function<void()>& beforeWaiting = {});
    void Release();

    bool Held() const { return fd_ >= 0; }
    // Whether the lock held is also the lock of `file`: the same lock file
    // under another name. Taking that one as well would wait for ourselves.
    bool Covers(const std::string& file) const;
    // Whether another holder waits for the lock held (blocked on the lock
    // file, as Acquire waits): a holder that could keep the lock longer lets
    // it go then. True when the kernel's lock table cannot be read.
    bool Awaited() const;

    const std::string& LockPath() const { return lockPath_; }
    // The lock file held open (read-only), or -1: for its owner to share it.
    int Descriptor() const { return fd_; }
    const std::string& Error() const { return error_; }

  private:
    int fd_ = -1;
    std::string lockPath_;
    std::string error_;
};

}  // namespace wexal::billingfile
