// Makes the sync library refuse to create, write or save one database, to
// reach the handling of a handheld that runs out of room partway through a
// sync.
#pragma once

#include <cstdint>
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

}  // namespace wexal::testing
