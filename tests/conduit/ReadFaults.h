// Makes the sync library's read-by-index fail for chosen records, to reach
// the handling of unreadable records that a healthy handheld never shows.
#pragma once

#include <cstdint>

namespace wexal::testing {

// While alive, every read of record `index` in any database fails with `code`.
class FailingRead {
  public:
    FailingRead(std::uint16_t index, std::int32_t code);
    ~FailingRead();
    FailingRead(const FailingRead&) = delete;
    FailingRead& operator=(const FailingRead&) = delete;
};

}  // namespace wexal::testing
