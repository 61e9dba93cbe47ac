// The messages seam as a test answers it: every message is recorded, and
// questions take their answers from a script. A question nobody scripted
// fails the test (and is answered No, the answer that changes nothing).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "desktop/core/Messages.h"

namespace wexal::testing {

class ScriptedMessages final : public desktop::Messages {
  public:
    enum class Kind { kMessageWindow, kMessageBox };
    struct Shown {
        Kind kind = Kind::kMessageBox;
        std::string title;  // empty for the message window (it carries the program's title)
        std::string text;
        Buttons buttons = Buttons::kOk;
        Icon icon = Icon::kNone;
    };

    void Answer(desktop::Messages::Answer answer) { answers_.push_back(answer); }

    const std::vector<Shown>& All() const { return shown_; }
    // The texts only, in order.
    std::vector<std::string> Texts() const;
    void Clear() { shown_.clear(); }

    void ShowMessage(std::string_view text) override;
    desktop::Messages::Answer MessageBox(std::string_view text, std::string_view title,
                                         Buttons buttons, Icon icon) override;

  private:
    std::vector<Shown> shown_;
    std::deque<desktop::Messages::Answer> answers_;
};

}  // namespace wexal::testing
