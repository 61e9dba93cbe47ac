// The response-code editor: the handheld's response codes (code, text, the
// no-read and service flags) in a grid, imported from a text file and saved
// into the configuration in grid order. The configuration reaches
// WexalDT.cfg when the main window saves it.
#pragma once

#include <QDialog>
#include <string>

#include "desktop/core/FileChooser.h"
#include "desktop/core/clsConfig.h"
#include "desktop/windows/QvGrid.h"

class QPushButton;

namespace wexal::desktop {

class frmResponseCodes final : public QDialog {
    Q_OBJECT

  public:
    frmResponseCodes(clsConfig& config, FileChooser& files, QvGridSeams gridSeams,
                     QWidget* parent = nullptr);

    // Fills the grid from the configuration, shows the editor modally and,
    // when it was closed with Save, stores the grid into the configuration.
    void Display();
    // The Tag of the button that closed the editor ("SAVE", "CANCEL"); empty
    // when none did.
    const std::string& Action() const { return action_; }

    QvGrid& Grid() { return *grdResponseCodes_; }

  private:
    void DefineGrid();
    void FillGrid();
    void SaveGrid();
    void Import();
    void ActionClicked(QPushButton* button);

    clsConfig& config_;
    FileChooser& files_;
    Messages& messages_;
    QvGrid* grdResponseCodes_;
    std::string action_;
};

}  // namespace wexal::desktop
