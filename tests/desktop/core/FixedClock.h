// A clock for tests: it shows the time it was set to, and each reading can
// move it on by a second so that every roll gets a name of its own.
#pragma once

#include "desktop/core/Clock.h"

namespace wexal::testing {

class FixedClock final : public desktop::Clock {
  public:
    explicit FixedClock(desktop::LocalDateTime now, bool ticking = false)
        : now_(now), ticking_(ticking) {}

    desktop::LocalDateTime Now() const override {
        const desktop::LocalDateTime shown = now_;
        if (ticking_) {
            Tick();
        }
        return shown;
    }

  private:
    // Seconds, minutes and hours only: enough for any test's rolls.
    void Tick() const {
        if (++now_.Second == 60) {
            now_.Second = 0;
            if (++now_.Minute == 60) {
                now_.Minute = 0;
                ++now_.Hour;
            }
        }
    }

    mutable desktop::LocalDateTime now_;
    bool ticking_;
};

}  // namespace wexal::testing
