// The main window's Installation tab: the status of the sync manager's
// installation and of the registered conduit, the handheld units with what
// the desktop remembers about each, "Install Conduit" (registers this
// program's conduit) and "Install Unit(s)" (queues the handheld application
// for the units chosen in frmInstallApp).
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/core/Installer.h"
#include "desktop/windows/ApplicationBeeper.h"
#include "desktop/windows/MainWindowParts.h"
#include "desktop/windows/SystemClipboard.h"

class QPlainTextEdit;
class QPushButton;

namespace wexal::desktop {

class QvGrid;

// Where the tab's facts and helpers come from; tests answer them.
struct InstallationTabSources {
    // The Palm Desktop folder; empty when there is none.
    std::function<std::string()> palmDesktopPath;
    // Makes the installer object when it is first needed.
    std::function<std::unique_ptr<Installer>()> makeInstaller;
    // Shows the unit chooser (frmInstallApp::Display).
    std::function<void(std::vector<bool>& units, QWidget* owner)> chooseUnits;
};

// GetPalmDesktopPath, clsInstaller over the libraries of the program's
// folder, frmInstallApp.
InstallationTabSources StandardInstallationSources(const ProgramServices& services);

class InstallationTab final : public MainWindowTab {
    Q_OBJECT

  public:
    InstallationTab(MainWindowContext& context, InstallationTabSources sources);
    ~InstallationTab() override;

    void FillAtLoad() override;
    void Selected() override;
    void WindowClosing() override;

    // Rebuilds the status text; a failure is shown and leaves the text as it was.
    void ShowConduitStatus();
    // Rebuilds the units grid: one row per unit.
    void FillInstallUnitsGrid();

    // The status text as built, lines ended by CR LF.
    const std::string& ConduitStatus() const { return statusText_; }
    QvGrid& UnitsGrid() const { return *grdInstallUnits_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void InstallConduit();
    void InstallUnits();
    Installer& TheInstaller();
    std::string MissingConduitMessage() const;
    void FitButtonTexts();

    ProgramServices& services_;
    InstallationTabSources sources_;
    ApplicationBeeper beeper_;
    SystemClipboard clipboard_;
    std::unique_ptr<Installer> installer_;  // made on first use, released as the window closes
    std::string statusText_;

    QPlainTextEdit* cConduitStatus_;
    QPushButton* btnInstallConduit_;
    QPushButton* btnInstallUnit_;
    QvGrid* grdInstallUnits_;
};

}  // namespace wexal::desktop
