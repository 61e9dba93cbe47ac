// How the desktop speaks to the user. The windows layer shows real dialogs;
// tests record what was said and answer for the user.
#pragma once

#include <string_view>

namespace wexal::desktop {

class Messages {
  public:
    enum class Buttons { kOk, kYesNo };
    enum class Icon { kNone, kInformation };
    enum class Answer { kOk, kYes, kNo };

    virtual ~Messages() = default;

    // The program's own modal message window, captioned with the program's
    // title; returns when the user closes it.
    virtual void ShowMessage(std::string_view text) = 0;

    // The platform's plain message box with the given title.
    virtual Answer MessageBox(std::string_view text, std::string_view title,
                              Buttons buttons = Buttons::kOk, Icon icon = Icon::kNone) = 0;
};

}  // namespace wexal::desktop
