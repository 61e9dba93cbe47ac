// The files queued for installation on one HotSync user's handheld: the
// folder InstallFolder(user), one file per queued file under the name it was
// queued with. The next sync of that user's handheld installs each one and
// takes it off the queue.
//
// Whoever reads or changes a queue holds its lock (the billing-file lock of
// the folder: "Install.lock" beside it) for as long as that work lasts, so a
// file queued anew while a sync installs the old one is never taken off the
// queue unseen.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/billingfile/BillingFileLock.h"

namespace wexal::syncmgr {

class InstallQueue {
  public:
    // `userName` must be usable (IsUsableUserName).
    explicit InstallQueue(const std::string& userName);

    // Waits for the queue's lock, making the user's folder when missing.
    // Throws std::runtime_error naming the lock file when it cannot be had.
    billingfile::BillingFileLock Lock() const;

    // The queued files' names in byte order. Empty when nothing was queued.
    std::vector<std::string> Files() const;
    // The queued name that equals `name` without regard to ASCII letter case.
    std::optional<std::string> Find(const std::string& name) const;
    std::filesystem::path PathOf(const std::string& name) const;

    // Queues `bytes` under `name`; a file queued under that name in any letter
    // case is replaced (the replacement is atomic). True when one was
    // replaced. Throws std::runtime_error when the file cannot be written.
    bool Add(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // Takes the file of that name (in any letter case) off the queue; false
    // when there is none. Throws std::filesystem::filesystem_error.
    bool Remove(const std::string& name) const;

    // A name that a file can be queued under: a file name (no '/', at most 255
    // bytes) that does not begin with '.' (those are unfinished writes).
    static bool IsQueueableName(const std::string& name);

  private:
    std::filesystem::path folder_;
};

}  // namespace wexal::syncmgr
