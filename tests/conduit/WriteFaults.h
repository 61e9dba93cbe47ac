// Makes the sync library refuse to create, write or save one database, to
// reach the handling of a handheld that runs out of room partway through a
// sync; or kills the process at a chosen write, to crash a sync at a known
// point.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace wexal::testing {

// While alive, the database `name` accepts `allowed` record writes after it
// is opened or created and refuses the `refused` writes after them (every
// further one by default); with `refuseCreate` it cannot be created at all.
class FailingWrites {
  public:
    FailingWrites(std::string name, std::uint32_t allowed, bool refuseCreate = false,
                  std::uint32_t refused = UINT32_MAX);
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;
};

// While alive, the handheld saves the database `name` `allowed` times and
// then refuses to, as a full handheld does: the sync library keeps a database
// in memory and saves it at its creation and at a close that changed it, so
// the close reports the failure and the database stays as last saved.
class FailingSaves {
  public:
    FailingSaves(const std::string& name, std::uint32_t allowed);
    ~FailingSaves();
    FailingSaves(const FailingSaves&) = delete;
    FailingSaves& operator=(const FailingSaves&) = delete;
};

// While alive, the process kills itself with SIGKILL just before it writes a
// record of the database `name` whose bytes `matches` accepts.
class KillAtWrite {
  public:
    KillAtWrite(std::string name, std::function<bool(const std::string& record)> matches);
    ~KillAtWrite();
    KillAtWrite(const KillAtWrite&) = delete;
    KillAtWrite& operator=(const KillAtWrite&) = delete;
};

// While alive, every flush to disk (fsync) of a file whose path `fails`
// accepts fails with EIO, as a failing disk's does. `fails` is called from
// whichever thread flushes, several at once.
class FailingFlushes {
  public:
    explicit FailingFlushes(std::function<bool(const std::string& path)> fails);
    ~FailingFlushes();
    FailingFlushes(const FailingFlushes&) = delete;
    FailingFlushes& operator=(const FailingFlushes&) = delete;
};

// While alive, every rename of a file whose path `refused` accepts fails with
// EPERM, as that of an immutable file does; `refused` may also end the
// process there, to kill a sync at a known move.
class RefusedMoves {
  public:
    explicit RefusedMoves(std::function<bool(const std::string& from)> refused);
    ~RefusedMoves();
    RefusedMoves(const RefusedMoves&) = delete;
    RefusedMoves& operator=(const RefusedMoves&) = delete;
};

// While alive, the file system has no rename that refuses to replace, as a
// network share may not (renameat2 with RENAME_NOREPLACE fails with EINVAL),
// and `taken` runs after each link or rename that gives the file at `path`
// another name.
class WithoutRenameNoReplace {
  public:
    WithoutRenameNoReplace(std::string path, std::function<void()> taken);
    ~WithoutRenameNoReplace();
    WithoutRenameNoReplace(const WithoutRenameNoReplace&) = delete;
    WithoutRenameNoReplace& operator=(const WithoutRenameNoReplace&) = delete;
};

}  // namespace wexal::testing
