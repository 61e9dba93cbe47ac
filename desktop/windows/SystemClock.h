// The computer's local clock.
#pragma once

#include "desktop/core/Clock.h"

namespace wexal::desktop {

class SystemClock final : public Clock {
  public:
    LocalDateTime Now() const override;
};

}  // namespace wexal::desktop
