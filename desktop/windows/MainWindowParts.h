// How the main window's tabs and the program's other windows plug into the
// main window, without changing it.
//
// The main window (frmMain) hosts three tab panels: Interface, Operation and
// Installation. Each is a MainWindowTab made by a factory of MainWindowParts;
// StandardParts() (StandardParts.cpp) is the one place that names the
// factories and actions the program is built with. A tab:
//   - fills its panel (the panel resizes it with the window; the Interface and
//     Operation tabs keep their design layout, the Installation tab lays out
//     its frames with LayOutInstallationPanel());
//   - reads and changes the configuration through context.services.config,
//     shows messages through context.services.messages, and opens its
//     dialogs with the tab's window() as owner;
//   - honours context.state.mLoading: while it is set, change and click
//     handlers store nothing into the configuration (handlers that show, hide
//     or enable still run). The Interface tab sets and clears it around its
//     own filling, as the window's load does around all of it;
//   - starts the other windows' work through context.actions; an empty action
//     does nothing.
// A tab that needs more than the context (a file chooser, the installer
// object) is handed it by its factory in StandardParts().
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/core/Clock.h"
#include "desktop/core/InterfaceTypes.h"
#include "desktop/core/Messages.h"
#include "desktop/core/ProgramFolder.h"
#include "desktop/core/SettingsStore.h"
#include "desktop/core/clsConfig.h"

namespace wexal::desktop {

// The program-wide objects; they live for the whole run.
struct ProgramServices {
    clsConfig& config;  // the one configuration object, loaded before any window
    Messages& messages;
    SettingsStore& settings;  // per-user settings under the program's title
    const ProgramFolder& folder;
    const Clock& clock;
};

// The main window's own fields, shared with its tabs.
struct MainWindowState {
    std::vector<InterfaceTypeInfo> mInterfaceTypes;  // the 38 rows, built first at load
    bool mLoading = false;             // set while configuration values go into controls
    std::int16_t mSelectedTypeId = 0;  // Id of the type selected in the interface list
};

// The work of other windows that the tabs' buttons start.
struct MainWindowActions {
    // Operation tab, "Report ...": the exceptions report, from the checks to
    // the clearing question.
    std::function<void(QWidget* owner)> ReportExceptions;
    // Interface tab, "Roll ...": moves the readings file into the roll folder
    // (both as the tab's boxes show them) and says what happened.
    std::function<void(QWidget* owner, const std::string& readingsFile,
                       const std::string& rollFolder)>
        RollReadings;
    // Interface tab, "Route Fields" and "Reading Fields": the workbook column
    // mappings of the selected interface, shown modally.
    std::function<void(QWidget* owner)> MapRouteFields;
    std::function<void(QWidget* owner)> MapReadingFields;
    // Operation tab, "Define ...": the response-code editor, shown modally.
    std::function<void(QWidget* owner)> EditResponseCodes;
};

struct MainWindowContext {
    ProgramServices& services;
    MainWindowState& state;
    const MainWindowActions& actions;
};

class MainWindowTab : public QWidget {
  public:
    explicit MainWindowTab(QWidget* parent = nullptr) : QWidget(parent) {}

    // The window's load, with mLoading set, calls the tabs in this order:
    //   Operation: puts the options of the configuration into its controls;
    //   Installation: ShowConduitStatus, then FillInstallUnitsGrid;
    //   Interface: FillInterfaceList, then selects the entry of the stored
    //     SelectedInterface (the only entry when the list holds one; none when
    //     no row's Code matches), which runs its selection handling.
    // The Interface tab has already moved its workbook block onto the file
    // rows' place when it was built. An exception ends the start-up with its
    // "sub main" message, and nothing is saved.
    virtual void FillAtLoad() {}
    // The tab became the selected one (at load too). The Installation tab
    // refills its units grid here.
    virtual void Selected() {}
    // The first step of the window's close sequence, before anything is
    // stored: the Installation tab releases its installer object.
    virtual void WindowClosing() {}
};

struct MainWindowParts {
    using TabFactory = std::function<std::unique_ptr<MainWindowTab>(MainWindowContext& context)>;
    TabFactory Interface;
    TabFactory Operation;
    TabFactory Installation;
    MainWindowActions actions;
};

}  // namespace wexal::desktop
