// A clock that always shows the time the test set.
#pragma once

#include "desktop/core/Clock.h"

namespace wexal::testing {

class FixedClock final : public desktop::Clock {
  public:
    explicit FixedClock(desktop::LocalDateTime now = {2026, 12, 9, 10, 30, 0}) : now_(now) {}
    desktop::LocalDateTime Now() const override { return now_; }
    void Set(desktop::LocalDateTime now) { now_ = now; }

  private:
    desktop::LocalDateTime now_;
};

}  // namespace wexal::testing
