// The main window: placement and tab across runs, damaged settings, the
// minimum size, the tab switch, what the load and the close call in the
// tabs, the menus and help, the status bar's band, and its pictures.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <filesystem>

#include "desktop/windows/StandardParts.h"
#include "desktop/windows/frmMain.h"
#include "tests/desktop/core/ConfigFolder.h"
#include "tests/desktop/windows/ProgramHome.h"
#include "tests/desktop/windows/WindowPictures.h"

namespace wexal::desktop {
namespace {

namespace fs = std::filesystem;
using testing::DataFile;
using testing::ProgramHome;
using testing::ReadFile;
using testing::ScriptedMessages;
using testing::WriteFile;

QRect Placement(const QWidget& window) {
    return {window.pos(), window.size()};
}

// A window as start-up makes it: loaded from the settings, then shown.
std::unique_ptr<frmMain> OpenWindow(ProgramHome& home, MainWindowParts parts = StandardParts()) {
    home.AddFiles({"libWexalCN.so"});  // or the Installation tab warns at load
    auto window = std::make_unique<frmMain>(home.Services(), parts);
    window->Load();
    window->show();
    return window;
}

std::string Setting(ProgramHome& home, std::string_view key) {
    return home.Settings().GetSetting("Settings", key, "(none)");
}

TEST(MainWindowTest, FirstStartStandsAtTheDefaultPlaceOnTheInterfaceTab) {
    ProgramHome home;
    auto window = OpenWindow(home);
    EXPECT_EQ(window->windowTitle(), "WexalDT");
    EXPECT_EQ(window->pos(), QPoint(67, 67));
    EXPECT_EQ(window->size(), QSize(500, 433));
    EXPECT_EQ(window->SelectedTab(), 1);
    const QStringList captions = {"Interface", "Operation", "Installation"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window->TabStrip1->Tabs().tabText(i), captions[i]);
        QWidget* panel = window->picFunc[static_cast<std::size_t>(i)];
        EXPECT_EQ(panel->property("Tag").toString(), captions[i]);
        EXPECT_EQ(panel->isEnabled(), i == 0) << i;
        EXPECT_EQ(panel->x() >= 0, i == 0) << i;
        if (i > 0) {
            EXPECT_EQ(panel->x(), -1333) << i;
        }
    }
    // The panel fills the tab strip's client area.
    EXPECT_EQ(window->picFunc[0]->geometry(), window->TabStrip1->ClientArea());

    window->close();
    // Stored as loaded, to the twip.
    EXPECT_EQ(Setting(home, "MainLeft"), "1000");
    EXPECT_EQ(Setting(home, "MainTop"), "1000");
    EXPECT_EQ(Setting(home, "MainWidth"), "7500");
    EXPECT_EQ(Setting(home, "MainHeight"), "6500");
    EXPECT_EQ(Setting(home, "SelectedTab"), "1");
    EXPECT_TRUE(fs::exists(home.ConfigFile()));
}

TEST(MainWindowTest, ReopensWhereItWasClosedAndKeepsTheStoredPlaceWhenMinimised) {
    ProgramHome home;
    {
        auto window = OpenWindow(home);
        window->move(150, 90);
        window->resize(640, 480);
        window->TabStrip1->Tabs().setCurrentIndex(2);
        EXPECT_TRUE(window->picFunc[2]->isEnabled());
        EXPECT_FALSE(window->picFunc[0]->isEnabled());
        window->close();
    }
    EXPECT_EQ(Setting(home, "MainLeft"), "2250");
    EXPECT_EQ(Setting(home, "MainWidth"), "9600");
    home.NewRun();
    {
        auto window = OpenWindow(home);
        EXPECT_EQ(window->SelectedTab(), 3);
        EXPECT_TRUE(window->picFunc[2]->isEnabled());
        EXPECT_EQ(Placement(*window), QRect(150, 90, 640, 480));
        window->TabStrip1->Tabs().setCurrentIndex(1);
        window->showMinimized();
        fs::remove(home.ConfigFile());
        window->close();
    }
    EXPECT_EQ(Setting(home, "MainLeft"), "2250");
    EXPECT_EQ(Setting(home, "MainTop"), "1350");
    EXPECT_EQ(Setting(home, "MainWidth"), "9600");
    EXPECT_EQ(Setting(home, "MainHeight"), "7200");
    EXPECT_EQ(Setting(home, "SelectedTab"), "2");
    EXPECT_TRUE(fs::exists(home.ConfigFile()));
}

TEST(MainWindowTest, DamagedPlacementReadsAsTheDefaults) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> stored;
        QRect rect;
        int tab;
    };
    const std::vector<Case> cases = {
        {"not numbers",
         {{"MainLeft", "abc"}, {"MainWidth", "7500x"}, {"SelectedTab", "two"}},
         {67, 67, 500, 433},
         1},
        {"tab out of range", {{"MainLeft", "1500"}, {"SelectedTab", "4"}}, {100, 67, 500, 433}, 1},
        {"tab zero", {{"SelectedTab", "0"}}, {67, 67, 500, 433}, 1},
        {"tab not whole", {{"SelectedTab", "2.5"}}, {67, 67, 500, 433}, 1},
        {"tab with blanks", {{"SelectedTab", " 3 "}}, {67, 67, 500, 433}, 3},
        {"on no screen",
         {{"MainLeft", "900000"}, {"MainTop", "-90000"}, {"MainWidth", "9000"}},
         {67, 67, 500, 433},
         1},
        {"no size", {{"MainWidth", "0"}, {"MainHeight", "-5"}}, {67, 67, 500, 433}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramHome home;
        home.Services();
        for (const auto& [key, value] : c.stored) {
            home.Settings().SaveSetting("Settings", key, value);
        }
        auto window = OpenWindow(home);
        EXPECT_EQ(Placement(*window), c.rect);
        EXPECT_EQ(window->SelectedTab(), c.tab);
    }
}

TEST(MainWindowTest, ASizeBelowTheMinimumIsHeldAtTheMinimum) {
    ProgramHome home;
    home.Services();
    home.Settings().SaveSetting("Settings", "MainWidth", "3000");
    auto window = OpenWindow(home);
    EXPECT_EQ(window->size(), QSize(400, 433));
    window->resize(100, 100);
    EXPECT_EQ(window->size(), QSize(400, 267));
}

// Records what the window asks of its tabs, and whether it was loading.
struct TabLog {
    std::vector<std::string> calls;
};

class RecordingTab final : public MainWindowTab {
  public:
    RecordingTab(std::string name, MainWindowContext& context, TabLog& log)
        : name_(std::move(name)), context_(context), log_(log) {}
    void FillAtLoad() override {
        log_.calls.push_back(name_ + (context_.state.mLoading ? " fills, loading" : " fills"));
    }
    void Selected() override { log_.calls.push_back(name_ + " selected"); }
    void WindowClosing() override { log_.calls.push_back(name_ + " closing"); }

  private:
    std::string name_;
    MainWindowContext& context_;
    TabLog& log_;
};

MainWindowParts RecordingParts(TabLog& log) {
    MainWindowParts parts;
    const auto factory = [&log](std::string name) {
        return [&log, name](MainWindowContext& context) {
            return std::make_unique<RecordingTab>(name, context, log);
        };
    };
    parts.Interface = factory("Interface");
    parts.Operation = factory("Operation");
    parts.Installation = factory("Installation");
    return parts;
}

TEST(MainWindowTest, LoadAndCloseCallTheTabsInOrder) {
    ProgramHome home;
    home.Services();
    home.Settings().SaveSetting("Settings", "SelectedTab", "3");
    TabLog log;
    {
        auto window = OpenWindow(home, RecordingParts(log));
        EXPECT_FALSE(window->State().mLoading);
        EXPECT_EQ(window->State().mInterfaceTypes.size(), 38u);
        window->TabStrip1->Tabs().setCurrentIndex(0);
        window->close();
    }
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"Installation selected", "Operation fills, loading",
                                        "Installation fills, loading", "Interface fills, loading",
                                        "Interface selected", "Interface closing",
                                        "Operation closing", "Installation closing"}));
}

TEST(MainWindowTest, LoadingTheWindowStoresNothingIntoTheConfiguration) {
    ProgramHome home;
    WriteFile(home.ConfigFile(), DataFile("full.cfg"));
    home.Services();
    home.Config().LoadConfig();
    {
        auto window = OpenWindow(home);
        ASSERT_TRUE(home.Config().SaveConfig());
    }
    EXPECT_EQ(ReadFile(home.ConfigFile()), DataFile("full.cfg"));
}

TEST(MainWindowTest, MenusShowTheirCaptionsAndHiddenCommandsGiveTheirMessages) {
    ProgramHome home;
    auto window = OpenWindow(home);
    QStringList shown;
    for (QAction* menu : window->menuBar()->actions()) {
        if (!menu->isVisible()) {
            continue;
        }
        shown << menu->text();
        for (QAction* item : menu->menu()->actions()) {
            if (item->isVisible()) {
                shown << "  " + item->text();
            }
        }
    }
    EXPECT_EQ(shown,
              (QStringList{"&File", "  E&xit", "&View", "  Status &Bar", "&Help", "  &About "}));
    EXPECT_TRUE(window->mnuViewStatusBar->isChecked());
    EXPECT_EQ(window->findChild<QAction*>("mnuToolsOptions")->text(), "&Options...");

    window->mnuViewRefresh->trigger();
    window->mnuHelpContents->trigger();
    window->mnuHelpSearchForHelpOn->trigger();
    const std::vector<ScriptedMessages::Shown>& messages = home.Messages().All();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].kind, ScriptedMessages::Kind::kMessageWindow);
    EXPECT_EQ(messages[0].text, "Add 'mnuViewRefresh_Click' code.");
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(messages[i].kind, ScriptedMessages::Kind::kMessageBox);
        EXPECT_EQ(messages[i].title, "WexalDT");
        EXPECT_EQ(messages[i].icon, Messages::Icon::kInformation);
        EXPECT_EQ(messages[i].text,
                  "Unable to display Help Contents. There is no Help associated with this "
                  "project.");
    }

    window->mnuViewToolbar->trigger();
    EXPECT_FALSE(window->mnuViewToolbar->isChecked());
}

TEST(MainWindowTest, HidingTheStatusBarLeavesItsBandFree) {
    ProgramHome home;
    auto window = OpenWindow(home);
    const QRect strip = window->TabStrip1->geometry();
    window->mnuViewStatusBar->trigger();
    EXPECT_FALSE(window->sbStatusBar->isVisible());
    EXPECT_EQ(window->TabStrip1->geometry(), strip);
    window->resize(700, 500);
    window->mnuViewStatusBar->trigger();
    EXPECT_TRUE(window->sbStatusBar->isVisible());
    EXPECT_EQ(window->sbDate->text(), "12/8/2026");
    EXPECT_EQ(window->sbTime->text(), "7:34 AM");
    EXPECT_TRUE(window->sbText->text().isEmpty());
}

TEST(MainWindowTest, AFailedSaveIsToldAndTheWindowStillCloses) {
    ProgramHome home;
    auto window = OpenWindow(home);
    // The configuration folder is a file: nothing can be written into it.
    registry::Registry(home.RegistryFile())
        .WriteString("Software\\Tolvane\\Wexal Conduit\\2.0", "Path",
                     (home.ConfigFolder() / "WexalDT.ini").string());
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(home.Messages().Texts(), std::vector<std::string>{"Unable to save configuration"});
    EXPECT_EQ(Setting(home, "SelectedTab"), "1");
}

TEST(MainWindowTest, ASecondStartBringsTheMinimisedWindowBack) {
    ProgramHome home;
    auto window = OpenWindow(home);
    window->showMinimized();
    window->Activate();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
}

TEST(MainWindowTest, Pictures) {
    ProgramHome home;
    auto window = OpenWindow(home);
    const std::array<const char*, 3> names = {"interface", "operation", "installation"};
    for (const QSize size : {QSize(500, 433), QSize(900, 640)}) {
        window->resize(size);
        for (int tab = 0; tab < 3; ++tab) {
            window->TabStrip1->Tabs().setCurrentIndex(tab);
            testing::SavePicture(*window, std::string("main-") + names[tab] + "-" +
                                              std::to_string(size.width()) + "x" +
                                              std::to_string(size.height()));
        }
    }
    // The Installation frames follow the window's width and height.
    auto* units = window->findChild<QWidget*>("fraInstall2");
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units->width(), window->picFunc[2]->width() - 2 * 16);
    EXPECT_EQ(units->y() + units->height(), window->picFunc[2]->height());
}

}  // namespace
}  // namespace wexal::desktop
