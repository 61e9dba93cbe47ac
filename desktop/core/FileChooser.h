// The file-open, file-save and folder dialogs.
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
        // "Spreadsheet (*.xlsx)|*.xlsx|All Files (*.*)|*.*". Folders take none.
        std::string Filter;
    };

    virtual ~FileChooser() = default;

    // The full path of the chosen file (open: an existing one; save: any name
    // in an existing folder) or folder (an existing one); empty when the user
    // cancels.
    virtual std::optional<std::string> OpenFile(const Request& request) = 0;
    virtual std::optional<std::string> SaveFile(const Request& request) = 0;
    virtual std::optional<std::string> ChooseFolder(const Request& request) = 0;
};

}  // namespace wexal::desktop
