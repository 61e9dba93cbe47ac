// The short warning sound of a refused keystroke.
#pragma once

namespace wexal::desktop {

class Beeper {
  public:
    virtual ~Beeper() = default;

    virtual void Beep() = 0;
};

}  // namespace wexal::desktop
