// The file-open and file-save dialogs.
#pragma once

#include <optional>
#include <string>

namespace wexal::desktop {

class FileChooser {
  public:
    struct Request {
        std::string Title;
        std::string InitialName;  // the path the dialog starts from
        // Pairs of description and pattern, all separated by "|":
        // "Spreadsheet (*.xls)|*.xls|All Files (*.*)|*.*".
        std::string Filter;
    };

    virtual ~FileChooser() = default;

    // The full path of the chosen file (open: an existing one); empty when the
    // user cancels.
    virtual std::optional<std::string> OpenFile(const Request& request) = 0;
    virtual std::optional<std::string> SaveFile(const Request& request) = 0;
};

}  // namespace wexal::desktop
