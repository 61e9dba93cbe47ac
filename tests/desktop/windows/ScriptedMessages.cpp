#include "tests/desktop/windows/ScriptedMessages.h"

#include <gtest/gtest.h>

namespace wexal::testing {

std::vector<std::string> ScriptedMessages::Texts() const {
    std::vector<std::string> texts;
    for (const Shown& shown : shown_) {
        texts.push_back(shown.text);
    }
    return texts;
}

void ScriptedMessages::ShowMessage(std::string_view text) {
    shown_.push_back({Kind::kMessageWindow, "", std::string(text), Buttons::kOk, Icon::kNone});
}

desktop::Messages::Answer ScriptedMessages::MessageBox(std::string_view text,
                                                       std::string_view title, Buttons buttons,
                                                       Icon icon) {
    shown_.push_back({Kind::kMessageBox, std::string(title), std::string(text), buttons, icon});
    if (buttons == Buttons::kOk) {
        return desktop::Messages::Answer::kOk;
    }
    if (answers_.empty()) {
        ADD_FAILURE() << "Unscripted question: " << text;
        return desktop::Messages::Answer::kNo;
    }
    const desktop::Messages::Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace wexal::testing
