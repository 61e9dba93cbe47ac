// A clock that always shows the time a test gives it.
#pragma once

#include "desktop/core/Clock.h"

namespace wexal::testing {

class FixedClock final : public desktop::Clock {
  public:
    explicit FixedClock(desktop::LocalDateTime now = {2026, 12, 8, 7, 34, 37}) : now_(now) {}

    void Set(desktop::LocalDateTime now) { now_ = now; }
    desktop::LocalDateTime Now() const override { return now_; }

  private:
    desktop::LocalDateTime now_;
};

}  // namespace wexal::testing
