// The unit chooser "Install Wexal to Handheld": the user highlights the
// handheld units to be reprogrammed.
#pragma once

#include <QDialog>
#include <vector>

class QListWidget;
class QPushButton;

namespace wexal::desktop {

class frmInstallApp final : public QDialog {
    Q_OBJECT

  public:
    // Shows the chooser modally over `owner`; `units` holds one flag per unit
    // (unit 1 first): the preselection going in, the choice coming out.
    // Cancel, Esc and the close box choose nothing.
    static void Display(std::vector<bool>& units, QWidget* owner);

  private:
    frmInstallApp(const std::vector<bool>& units, QWidget* owner);

    QListWidget* List1_;
    QPushButton* btnInstall_;
    QPushButton* btnCancel_;
};

}  // namespace wexal::desktop
