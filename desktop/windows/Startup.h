// The program's start: one running program per user, the splash, the
// configuration loaded once, the main window loaded while the splash shows,
// the companion files checked, then the main window shown. Start-up's only
// error handler shows what went wrong under "sub main" and saves nothing.
#pragma once

#include <QObject>
#include <QStringList>
#include <chrono>
#include <memory>
#include <optional>

#include "desktop/windows/MainWindowParts.h"

namespace wexal::desktop {

class frmMain;
class frmSplash;
class SingleInstance;

struct StartupOptions {
    std::chrono::milliseconds splashInterval{5000};
    // The folder of the single-instance lock and socket (the user's runtime
    // folder); empty: no check, as for tests that start in-process.
    QString instanceFolder;
};

class Startup final : public QObject {
    Q_OBJECT

  public:
    Startup(ProgramServices& services, MainWindowParts parts, StartupOptions options);
    ~Startup() override;

    // Runs start-up with the program's arguments (its own name first). The
    // exit code when the program has already ended: 0 after handing over to a
    // running program or a close requested during start-up, 1 after the "sub
    // main" message or missing companion files. Nothing when the main window
    // is shown and the event loop is to run.
    std::optional<int> Main(const QStringList& arguments);

    // A request to end the program (SIGTERM, SIGINT): closes the main window
    // as "E&xit" does; during start-up, once the window is loaded.
    void RequestClose();

    frmMain* MainForm() const { return gMainForm.get(); }

  private:
    // True when the companion files are in the program's folder; otherwise
    // their list through the message window.
    bool CheckRequiredFiles();
    // The registry file is read before anything trusts it: a damaged one ends
    // start-up instead of sending the configuration to another folder.
    static void CheckRegistry();
    void LoadWindows(bool withSplash);

    ProgramServices& services_;
    MainWindowParts parts_;
    StartupOptions options_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<frmSplash> splash_;
    std::unique_ptr<frmMain> gMainForm;
    bool gSplashActive = false;
    bool closeRequested_ = false;
    bool running_ = false;
};

}  // namespace wexal::desktop
