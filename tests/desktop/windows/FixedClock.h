// The clock seam standing still at a chosen moment, for headers and
// time-stamped names that a test can predict.
#pragma once

#include "desktop/core/Clock.h"

namespace wexal::testing {

class FixedClock final : public desktop::Clock {
  public:
    explicit FixedClock(desktop::LocalDateTime now) : now_(now) {}
    desktop::LocalDateTime Now() const override { return now_; }
    void Set(desktop::LocalDateTime now) { now_ = now; }

  private:
    desktop::LocalDateTime now_;
};

}  // namespace wexal::testing
