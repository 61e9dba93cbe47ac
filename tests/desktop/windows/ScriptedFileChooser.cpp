#include "tests/desktop/windows/ScriptedFileChooser.h"

#include <gtest/gtest.h>

namespace wexal::testing {

std::optional<std::string> ScriptedFileChooser::Next(Dialog dialog, const Request& request) {
    asked_.push_back({dialog, request});
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted file dialog \"" << request.Title << "\"";
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedFileChooser::OpenFile(const Request& request) {
    return Next(Dialog::kOpen, request);
}

std::optional<std::string> ScriptedFileChooser::SaveFile(const Request& request) {
    return Next(Dialog::kSave, request);
}

std::optional<std::string> ScriptedFileChooser::ChooseFolder(const Request& request) {
    return Next(Dialog::kFolder, request);
}

}  // namespace wexal::testing
