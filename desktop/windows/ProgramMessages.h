// The messages seam on screen: ShowMessage opens the program's own message
// window, MessageBox the platform's plain message box; both are modal over
// the window the user is working in.
#pragma once

#include "desktop/core/Messages.h"

namespace wexal::desktop {

class ProgramMessages final : public Messages {
  public:
    void ShowMessage(std::string_view text) override;
    Answer MessageBox(std::string_view text, std::string_view title, Buttons buttons,
                      Icon icon) override;
};

}  // namespace wexal::desktop
