// The chooser seam on screen: Qt's file and folder dialogs, modal over the
// window the user is working in.
#pragma once

#include <QStringList>
#include <string_view>

#include "desktop/core/FileChooser.h"

namespace wexal::desktop {

class DialogFileChooser final : public FileChooser {
  public:
    std::optional<std::string> OpenFile(const Request& request) override;
    std::optional<std::string> SaveFile(const Request& request) override;
    std::optional<std::string> ChooseFolder(const Request& request) override;
};

// A filter of description and pattern pairs ("All Files (*.*)|*.*") as the
// name filters of a Qt file dialog. Each pattern list follows its description
// in parentheses, the dialog shows only the description, and "*.*" matches
// every name, as it does on the desktop the filters were written for.
QStringList NameFilters(std::string_view filter);

}  // namespace wexal::desktop
