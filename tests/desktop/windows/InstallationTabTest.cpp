// The Installation tab and the unit chooser: the conduit status against the
// registry, the units grid, installing units against a fake installer, and
// the whole road with the real installer, sync manager and conduit.
#include <gtest/gtest.h>
#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest/QTest>

#include <chrono>
#include <filesystem>
#include <map>

#include "desktop/core/ConduitStatus.h"
#include "desktop/core/PalmLibraries.h"
#include "desktop/windows/InstallationTab.h"
#include "desktop/windows/QvGrid.h"
#include "desktop/windows/frmInstallApp.h"
#include "platform/registry/Registry.h"
#include "platform/syncmgr/ConduitRegistrations.h"
#include "tests/desktop/windows/ProgramHome.h"
#include "tests/desktop/windows/UiScript.h"
#include "tests/desktop/windows/WindowPictures.h"
#include "tests/support/Commands.h"

namespace wexal::desktop {
namespace {

namespace fs = std::filesystem;
using testing::ProgramHome;

// Answers every queuing with the code scripted for its user (0 otherwise).
class FakeInstaller final : public Installer {
  public:
    std::int16_t UserCount() override { return 0; }
    std::vector<std::string> UserNames() override { return {}; }
    std::int16_t Conduit(const std::string&, const std::string&, const std::string&,
                         const std::string&) override {
        return 0;
    }
    std::int16_t PRC(const std::string& user, const std::string& prcFile) override {
        queued.push_back(user + " " + prcFile);
        if (user == failWithLibraryError) {
            throw PalmLibraryError("libinstaide.so", "PltInstallFile", "cannot open");
        }
        const auto code = codes.find(user);
        return code != codes.end() ? code->second : 0;
    }
    std::int16_t RemovePRC(const std::string&, const std::string&) override { return 0; }

    std::vector<std::string> queued;
    std::map<std::string, std::int16_t> codes;
    std::string failWithLibraryError;
};

// The tab in a window of the main window's panel size, over a program folder
// holding a copy of the conduit with a known date and the sync manager.
class InstallationTabTest : public ::testing::Test {
  protected:
    InstallationTabTest() {
        fs::copy_file(WEXAL_CONDUIT, Conduit());
        SetDate(Conduit(), 2026, 3, 5);
        fs::create_symlink(HOTSYNC_TOOL, home_.ProgramFolder() / "hotsync");
    }

    fs::path Conduit() const { return home_.ProgramFolder() / kConduitFileName; }

    static void SetDate(const fs::path& file, int year, int month, int day) {
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = 12;
        local.tm_isdst = -1;
        const auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
        fs::last_write_time(file, std::chrono::file_clock::from_sys(when));
    }

    InstallationTabSources FakeSources() {
        InstallationTabSources sources;
        sources.palmDesktopPath = [this] { return palmDesktop_; };
        sources.makeInstaller = [this]() -> std::unique_ptr<Installer> {
            auto installer = std::make_unique<FakeInstaller>();
            installer_ = installer.get();
            *installer_ = script_;
            return installer;
        };
        sources.chooseUnits = [this](std::vector<bool>& units, QWidget*) {
            offered_ = units;
            units = chosen_;
        };
        return sources;
    }

    InstallationTab& Open(InstallationTabSources sources) {
        tab_ = std::make_unique<InstallationTab>(context_, std::move(sources));
        tab_->resize(425, 240);
        tab_->show();
        tab_->FillAtLoad();
        return *tab_;
    }

    static void Register(int number, const registry::Value& creator, const std::string& conduit) {
        registry::Registry::CurrentUser().Change([&](registry::RegistryEdit& edit) {
            edit.WriteValue(syncmgr::ApplicationKey(number), "Creator", creator);
            edit.WriteValue(syncmgr::ApplicationKey(number), "Conduit", conduit);
        });
    }

    std::vector<std::string> GridRow(int row) const {
        std::vector<std::string> cells;
        for (int col = 0; col < tab_->UnitsGrid().Cols(); ++col) {
            cells.push_back(tab_->UnitsGrid().TextMatrix(row, col));
        }
        return cells;
    }

    ~InstallationTabTest() override {
        tab_.reset();
        fs::current_path(before_);  // the installer enters the program's folder
    }

    const fs::path before_ = fs::current_path();
    ProgramHome home_;
    MainWindowState state_;
    MainWindowActions actions_;
    MainWindowContext context_{home_.Services(), state_, actions_};
    std::string palmDesktop_ = "/home/office/desktop";
    FakeInstaller script_;
    FakeInstaller* installer_ = nullptr;
    std::vector<bool> offered_;
    std::vector<bool> chosen_;
    std::unique_ptr<InstallationTab> tab_;
};

TEST_F(InstallationTabTest, ConduitStatusFollowsTheRegistration) {
    const std::string head =
        "Palm Desktop software in /home/office/desktop\r\n"
        "HotSync Version 2.6.32.0\r\n"
        "Current Wexal Conduit Version 2.6.32.0\r\n";
    const std::string tail = "Current Wexal Unit Date 260305";
    InstallationTab& tab = Open(FakeSources());
    EXPECT_EQ(tab.ConduitStatus(), head + "Conduit is not yet installed\r\n" + tail);
    testing::SavePicture(tab, "installation-not-installed");

    // Another creator first; then ours by number, from this folder by another
    // spelling of its path.
    Register(1, std::uint32_t{0x41424344}, "/elsewhere/libOther.so");
    Register(2, std::uint32_t{1414289240},
             (home_.ProgramFolder() / "." / kConduitFileName).string());
    tab.ShowConduitStatus();
    EXPECT_EQ(tab.ConduitStatus(), head + tail);
    testing::SavePicture(tab, "installation-installed");
    EXPECT_EQ(tab.findChild<QPlainTextEdit*>("cConduitStatus")->toPlainText().toStdString(),
              "Palm Desktop software in /home/office/desktop\nHotSync Version 2.6.32.0\n"
              "Current Wexal Conduit Version 2.6.32.0\n" +
                  tail);

    // Another path, by its creator as text.
    const fs::path other = home_.Root() / "old" / kConduitFileName;
    fs::create_directories(other.parent_path());
    fs::copy_file(WEXAL_CONDUIT, other);
    Register(2, std::string("TLWX"), other.string());
    tab.ShowConduitStatus();
    EXPECT_EQ(tab.ConduitStatus(),
              head +
                  "WARNING: registered conduit is not the one in this application's directory\r\n"
                  "Registered conduit is " +
                  other.string() + "         Version: 2.6.32.0\r\n" + tail);
    testing::SavePicture(tab, "installation-warning");

    palmDesktop_.clear();
    tab.ShowConduitStatus();
    EXPECT_EQ(tab.ConduitStatus(), "Palm Desktop NOT INSTALLLED!!!!");
    EXPECT_TRUE(home_.Messages().All().empty());

    // The button captions fit the buttons' design width.
    for (const char* name : {"btnInstallConduit", "btnInstallUnit"}) {
        auto* button = tab.findChild<QPushButton*>(name);
        EXPECT_LE(button->sizeHint().width(), button->width()) << name;
    }
}

TEST_F(InstallationTabTest, UnitsGridShowsEveryUnitAndTakesNoEdits) {
    home_.Settings().SaveSetting("Settings", "UnitCount", "3");
    home_.Settings().SaveSetting("UNITREADS", "2", "812");
    InstallationTab& tab = Open(FakeSources());
    QvGrid& grid = tab.UnitsGrid();
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(GridRow(0), (std::vector<std::string>{"Unit Number", "Last Install", "Version",
                                                    "Last Hotsync", "Lifetime Reads"}));
    EXPECT_EQ(GridRow(1), (std::vector<std::string>{"1", "Never", "", "Never", "0"}));
    EXPECT_EQ(GridRow(2), (std::vector<std::string>{"2", "Never", "", "Never", "812"}));
    EXPECT_EQ(grid.ColWidth(3), 1440);

    grid.SetRow(1);
    grid.SetCol(2);
    QTest::keyClick(&grid.View(), Qt::Key_5);
    QTest::mouseDClick(grid.View().viewport(), Qt::LeftButton, {},
                       grid.View().visualRect(grid.View().currentIndex()).center());
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(grid.TextMatrix(1, 2), "");

    home_.Settings().SaveSetting("Settings", "UnitCount", "none");
    tab.Selected();
    EXPECT_EQ(grid.Rows(), 21);
}

TEST_F(InstallationTabTest, InstallUnitsQueuesTheChosenUntilAFailure) {
    home_.Settings().SaveSetting("Settings", "UnitCount", "4");
    home_.Settings().SaveSetting("UNITINSTALL", "2", "03/06/26");
    home_.Settings().SaveSetting("UNITVERSION", "2", "260305");
    InstallationTab& tab = Open(FakeSources());
    auto* install = tab.findChild<QPushButton*>("btnInstallUnit");

    chosen_ = {true, false, true, true};
    script_.codes["UNIT03"] = -513;
    install->click();
    EXPECT_EQ(offered_, (std::vector<bool>{true, false, true, true}));
    EXPECT_EQ(installer_->queued,
              (std::vector<std::string>{"UNIT01 Wexal.prc", "UNIT03 Wexal.prc"}));
    EXPECT_TRUE(home_.Messages().All().empty());
    // Unit 1 was queued before the failure: the grid shows it.
    EXPECT_EQ(GridRow(1), (std::vector<std::string>{"1", "12/08/26", "260305", "Never", "0"}));
    EXPECT_EQ(GridRow(3)[1], "Never");

    // A library that cannot be loaded is said in the message window.
    script_ = {};
    installer_->codes.clear();
    installer_->failWithLibraryError = "UNIT04";
    chosen_ = {false, false, false, true};
    install->click();
    EXPECT_EQ(home_.Messages().Texts(),
              std::vector<std::string>{
                  PalmLibraryError("libinstaide.so", "PltInstallFile", "cannot open").what()});
    home_.Messages().Clear();

    installer_->failWithLibraryError.clear();
    chosen_ = {false, false, false, false};
    install->click();
    EXPECT_EQ(home_.Messages().Texts(), std::vector<std::string>{"No units were selected"});
    home_.Messages().Clear();

    chosen_ = {false, true, false, false};
    install->click();
    EXPECT_EQ(home_.Messages().Texts(),
              std::vector<std::string>{"Wexal handheld applications will be installed during "
                                       "the next \r\n HotSync session for those selected units."});
    EXPECT_EQ(GridRow(2)[1], "12/08/26");
}

TEST_F(InstallationTabTest, InstallUnitsWithoutTheConduitQueuesNothing) {
    InstallationTab& tab = Open(FakeSources());
    ASSERT_TRUE(home_.Messages().All().empty());
    fs::remove(Conduit());
    chosen_ = {true};
    tab.findChild<QPushButton*>("btnInstallUnit")->click();
    const std::string missing =
        "Warning: libWexalCN.so (Wexal Conduit) is missing from " + home_.ProgramFolder().string();
    EXPECT_EQ(home_.Messages().Texts(), std::vector<std::string>{missing});
    EXPECT_TRUE(offered_.empty());
    EXPECT_EQ(installer_, nullptr);
    EXPECT_EQ(GridRow(1)[1], "Never");

    // The status says so too, with the zero date.
    home_.Messages().Clear();
    tab.ShowConduitStatus();
    EXPECT_EQ(home_.Messages().Texts(), std::vector<std::string>{missing});
    EXPECT_NE(tab.ConduitStatus().find("Current Wexal Conduit Version Not Found\r\n"),
              std::string::npos);
    EXPECT_NE(tab.ConduitStatus().find("Current Wexal Unit Date 991230"), std::string::npos);
}

// Install Conduit, then a plain HotSync of UNIT01 runs the conduit; the
// application queued for the unit chosen in the chooser reaches its handheld
// at the next HotSync.
TEST_F(InstallationTabTest, RealInstallerRegistersTheConduitAndQueuesTheApplication) {
    for (const char* name :
         {"libuserdata.so", "libinstaide.so", "libcondinst.so", "libcondmgr.so", "wexal.prc"}) {
        fs::copy_file(fs::path(STANDIN_FOLDER) / name, home_.ProgramFolder() / name);
    }
    home_.Settings().SaveSetting("Settings", "UnitCount", "2");
    InstallationTab& tab = Open(StandardInstallationSources(home_.Services()));
    ASSERT_NE(tab.ConduitStatus().find("Conduit is not yet installed"), std::string::npos);

    tab.findChild<QPushButton*>("btnInstallConduit")->click();
    EXPECT_EQ(home_.Messages().Texts(), std::vector<std::string>{"Conduit Installed"});
    EXPECT_EQ(tab.ConduitStatus().find("Conduit is not yet installed"), std::string::npos)
        << tab.ConduitStatus();
    EXPECT_EQ(tab.ConduitStatus().find("WARNING"), std::string::npos) << tab.ConduitStatus();

    const fs::path handheld = home_.Root() / "handheld";
    auto run = [](const std::string& command) {
        // The sync manager's loaded libraries leave start-up bytes behind.
        return testing::Execute("ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" " +
                                command);
    };
    ASSERT_EQ(
        run(std::string(HANDHELD_TOOL) + " " + testing::Quote(handheld) + " init --user UNIT01")
            .exitCode,
        0);
    const std::string hotsync =
        std::string(HOTSYNC_TOOL) + " --handheld " + testing::Quote(handheld) + " --user UNIT01";
    const auto first = run(hotsync);
    EXPECT_NE(first.output.find("Wexal Conduit Started"), std::string::npos) << first.output;

    home_.Messages().Clear();
    testing::UiScript script;
    script.Then(
        "choose UNIT01", [] { return testing::UiScript::Modal<frmInstallApp>() != nullptr; },
        [] {
            auto* list =
                testing::UiScript::Modal<frmInstallApp>()->findChild<QListWidget*>("List1");
            EXPECT_TRUE(list->item(0)->isSelected());
            EXPECT_TRUE(list->item(1)->isSelected());
            list->item(1)->setSelected(false);
            testing::UiScript::Modal<frmInstallApp>()
                ->findChild<QPushButton*>("btnInstall")
                ->click();
        });
    tab.findChild<QPushButton*>("btnInstallUnit")->click();
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_EQ(home_.Messages().Texts(),
              std::vector<std::string>{"Wexal handheld applications will be installed during "
                                       "the next \r\n HotSync session for those selected units."});
    EXPECT_EQ(GridRow(1), (std::vector<std::string>{"1", "12/08/26", "260305", "Never", "0"}));
    EXPECT_EQ(GridRow(2)[1], "Never");

    const auto second = run(hotsync);
    EXPECT_NE(second.output.find("Installed Wexal.prc on the handheld"), std::string::npos)
        << second.output;
    const auto list = run(std::string(HANDHELD_TOOL) + " " + testing::Quote(handheld) + " list");
    EXPECT_NE(list.output.find("Wexal  TLWX     appl"), std::string::npos) << list.output;
}

TEST(UnitChooserTest, ChoiceCancelAndCloseBox) {
    struct Case {
        const char* name;
        std::function<void(frmInstallApp&)> act;
        std::vector<bool> result;
    };
    const std::vector<Case> cases = {
        {"install",
         [](frmInstallApp& dialog) {
             auto* list = dialog.findChild<QListWidget*>("List1");
             EXPECT_EQ(list->count(), 3);
             EXPECT_EQ(list->item(2)->text(), "UNIT03");
             EXPECT_EQ(list->toolTip(), "Highlight Units to be reprogrammed.");
             list->item(1)->setSelected(true);
             list->item(0)->setSelected(false);
             testing::SavePicture(dialog, "unit-chooser");
             dialog.findChild<QPushButton*>("btnInstall")->click();
         },
         {false, true, true}},
        {"cancel",
         [](frmInstallApp& dialog) { dialog.findChild<QPushButton*>("btnCancel")->click(); },
         {false, false, false}},
        {"close box", [](frmInstallApp& dialog) { dialog.close(); }, {false, false, false}},
    };
    for (const Case& c : cases) {
        std::vector<bool> units = {true, false, true};
        testing::UiScript script;
        script.Then(
            c.name, [] { return testing::UiScript::Modal<frmInstallApp>() != nullptr; },
            [&] {
                frmInstallApp& dialog = *testing::UiScript::Modal<frmInstallApp>();
                EXPECT_EQ(dialog.windowTitle(), "Install Wexal to Handheld");
                c.act(dialog);
            });
        frmInstallApp::Display(units, nullptr);
        EXPECT_EQ(units, c.result) << c.name;
        EXPECT_EQ(script.Left(), 0u);
    }
}

}  // namespace
}  // namespace wexal::desktop
