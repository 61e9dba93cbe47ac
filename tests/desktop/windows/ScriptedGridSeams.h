// The grid's seams as a test answers them: beeps are counted, the clipboard
// is a text the test sets and reads, the date prompt answers from a script.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "desktop/core/Beeper.h"
#include "desktop/core/Clipboard.h"
#include "desktop/core/DatePrompter.h"

namespace wexal::testing {

class CountingBeeper final : public desktop::Beeper {
  public:
    void Beep() override { ++count_; }
    int Count() const { return count_; }

  private:
    int count_ = 0;
};

class ScriptedClipboard final : public desktop::Clipboard {
  public:
    std::string GetText() const override { return text_; }
    void SetText(std::string_view text) override { text_ = std::string(text); }

  private:
    std::string text_;
};

class ScriptedDatePrompt final : public desktop::DatePrompter {
  public:
    // The date the user picks, or none for Cancel.
    void Answer(std::optional<std::string> date) { answers_.push_back(std::move(date)); }
    // The values the prompt was opened on.
    const std::vector<std::string>& Shown() const { return shown_; }

    bool DatePrompt(std::string& value) override {
        shown_.push_back(value);
        if (answers_.empty() || !answers_.front()) {
            if (!answers_.empty()) {
                answers_.pop_front();
            }
            return false;
        }
        value = *answers_.front();
        answers_.pop_front();
        return true;
    }

  private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<std::string> shown_;
};

}  // namespace wexal::testing
