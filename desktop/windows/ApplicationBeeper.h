// The platform's warning sound.
#pragma once

#include "desktop/core/Beeper.h"

namespace wexal::desktop {

class ApplicationBeeper final : public Beeper {
  public:
    void Beep() override;
};

}  // namespace wexal::desktop
