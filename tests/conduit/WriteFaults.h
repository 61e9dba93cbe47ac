// Makes the sync library refuse to create or write one database, to reach
// the handling of a handheld that runs out of room partway through a sync.
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

}  // namespace wexal::testing
