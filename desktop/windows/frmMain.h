// The desktop program's main window: a tab strip over the Interface,
// Operation and Installation panels, a menu bar and a status bar. Its load
// puts the configuration into the panels and the window where the user left
// it; its close stores the placement and writes WexalDT.cfg.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <array>

#include "desktop/core/WindowPlacement.h"
#include "desktop/windows/MainWindowParts.h"
#include "desktop/windows/TabStrip.h"

namespace wexal::desktop {

class frmMain final : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kTabCount = 3;

    // Builds the window and its tabs (through `parts`); nothing is filled
    // yet and nothing is shown.
    frmMain(ProgramServices& services, const MainWindowParts& parts, QWidget* parent = nullptr);

    // The load sequence: the interface-type table, the placement and tab of
    // the last close, then every panel filled from the configuration with
    // mLoading set. Errors are let through to start-up.
    void Load();

    // A second start of the program asked for this window: restore it if
    // minimised and bring it to the front.
    void Activate();

    MainWindowState& State() { return state_; }
    // The panel's tab by position 1 to 3 (Interface, Operation, Installation).
    MainWindowTab& Tab(int position) { return *tabs_.at(static_cast<std::size_t>(position - 1)); }
    // The position of the selected tab, 1 to 3.
    int SelectedTab() const;

    TabStrip* TabStrip1;
    std::array<QWidget*, kTabCount> picFunc{};  // "picFunc0" ..., property "Tag"
    QStatusBar* sbStatusBar;
    QLabel* sbText;  // the free-width panel, never written
    QLabel* sbDate;
    QLabel* sbTime;

    QAction* mnuFilePageSetup;
    QAction* mnuFileExit;
    QAction* mnuViewToolbar;
    QAction* mnuViewStatusBar;
    QAction* mnuViewBar0;
    QAction* mnuViewRefresh;
    QAction* mnuViewOptions;
    QAction* mnuToolsOptions;
    QAction* mnuHelpContents;
    QAction* mnuHelpSearchForHelpOn;
    QAction* mnuHelpBar0;
    QAction* mnuHelpAbout;

  protected:
    // The close sequence: runs once, whoever closes the window, and never
    // cancels the close.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildStatusBar();
    void UpdateClock();
    void RestorePlacement();
    void StorePlacement();
    // Enables the panel of the selected tab and parks the others.
    void TabStrip1_Click();
    // Sizes the tab strip and the panels to the window.
    void LayOutPanels();
    void ShowOptions();
    void ShowAbout();
    void ShowHelp();
    void PageSetup();

    ProgramServices& services_;
    MainWindowState state_;
    MainWindowActions actions_;
    MainWindowContext context_;
    std::array<MainWindowTab*, kTabCount> tabs_{};
    QTimer clockTimer_;
    // The placement as loaded, so a window that did not move keeps its
    // stored twips exactly.
    TwipsRect loadedPlacement_ = kDefaultPlacement;
    bool closed_ = false;
};

}  // namespace wexal::desktop
