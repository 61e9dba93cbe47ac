// The file dialogs as a test answers them: each request is recorded and
// answered with the next scripted path (none: the user cancels).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "desktop/core/FileChooser.h"

namespace wexal::testing {

class ScriptedFileChooser final : public desktop::FileChooser {
  public:
    void Answer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
    const std::vector<Request>& Requests() const { return requests_; }

    std::optional<std::string> OpenFile(const Request& request) override { return Next(request); }
    std::optional<std::string> SaveFile(const Request& request) override { return Next(request); }

  private:
    std::optional<std::string> Next(const Request& request) {
        requests_.push_back(request);
        if (answers_.empty()) {
            return std::nullopt;
        }
        auto answer = std::move(answers_.front());
        answers_.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> answers_;
    std::vector<Request> requests_;
};

}  // namespace wexal::testing
