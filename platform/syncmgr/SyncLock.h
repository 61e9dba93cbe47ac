// The sync lock: a flock on SyncLockFile() in the desktop folder. Every
// running sync holds it shared, so syncs of different handhelds run side by
// side; a conduit registration takes it exclusively without waiting, so that
// the registered conduits never change under a running sync.
#pragma once

namespace wexal::syncmgr {

class SyncLock {
  public:
    // Shared, waiting while a registration holds it. Creates the desktop
    // folder and the lock file when missing. Throws std::system_error, naming
    // the file, when they cannot be made or locked.
    static SyncLock ForSync();
    // Exclusive, at once: not Held() while a sync holds it. Throws as ForSync.
    static SyncLock TryForRegistration();

    SyncLock() = default;
    ~SyncLock();
    SyncLock(SyncLock&& other) noexcept;
    SyncLock& operator=(SyncLock&& other) noexcept;
    SyncLock(const SyncLock&) = delete;
    SyncLock& operator=(const SyncLock&) = delete;

    bool Held() const { return fd_ >= 0; }

  private:
    explicit SyncLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace wexal::syncmgr
