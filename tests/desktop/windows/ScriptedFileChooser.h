// The chooser seam as a test answers it: every request is recorded with the
// dialog it asked for, and answers come from a script. A request nobody
// scripted fails the test and is answered as a cancel.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "desktop/core/FileChooser.h"

namespace wexal::testing {

class ScriptedFileChooser final : public desktop::FileChooser {
  public:
    enum class Dialog { kOpen, kSave, kFolder };
    struct Asked {
        Dialog dialog = Dialog::kOpen;
        Request request;
    };

    // The next dialog yields `path`; std::nullopt stands for Cancel.
    void Answer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }

    const std::vector<Asked>& All() const { return asked_; }
    void Clear() { asked_.clear(); }

    std::optional<std::string> OpenFile(const Request& request) override;
    std::optional<std::string> SaveFile(const Request& request) override;
    std::optional<std::string> ChooseFolder(const Request& request) override;

  private:
    std::optional<std::string> Next(Dialog dialog, const Request& request);

    std::vector<Asked> asked_;
    std::deque<std::optional<std::string>> answers_;
};

}  // namespace wexal::testing
