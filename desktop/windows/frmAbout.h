// The About box: the program's title, version and notice, and a button that
// starts the System Information program.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <string>

#include "desktop/core/Messages.h"
#include "desktop/core/clsRegistry.h"

namespace wexal::desktop {

class frmAbout final : public QDialog {
    Q_OBJECT

  public:
    // Starts a program without waiting for it; false when it cannot start.
    using ProgramStarter = std::function<bool(const std::string& path)>;

    explicit frmAbout(Messages& messages, QWidget* parent = nullptr,
                      clsRegistry::Hives hives = clsRegistry::StandardHives(),
                      ProgramStarter starter = {});

    // Starts System Information where the registry says it is, or says
    // "System Information Is Unavailable At This Time".
    void StartSysInfo();

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

  private:
    Messages& messages_;
    clsRegistry::Hives hives_;
    ProgramStarter starter_;
};

}  // namespace wexal::desktop
