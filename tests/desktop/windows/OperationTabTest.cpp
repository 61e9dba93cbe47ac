// The Operation tab: options load ticked only by "Y" and store nothing while
// loading; each control stores its option; the minutes list and the meter-ID
// pair; the PIN box's digits and its leaving check; the buttons that open
// the other windows; and its pictures.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QTest>

#include "tests/desktop/windows/TabsWindow.h"
#include "tests/desktop/windows/WindowPictures.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

using testing::ProgramHome;
using testing::Prompt;
using testing::ReadFile;
using testing::ScriptedFileChooser;
using testing::TabsWindow;
using testing::WriteFile;

constexpr const char* kPinMessage = "PIN# must be exactly four digits";

struct FlagBox {
    const char* key;
    std::string clsConfig::*flag;
    QCheckBox* OperationTab::*box;
};

const std::vector<FlagBox>& FlagBoxes() {
    static const std::vector<FlagBox> boxes = {
        {"UseInitials", &clsConfig::UseInitials, &OperationTab::chkUseInitials},
        {"ShowPriorReadings", &clsConfig::ShowPriorReadings, &OperationTab::chkShowPriorReadings},
        {"ShowExpectedRange", &clsConfig::ShowExpectedRange, &OperationTab::chkShowExpectedRange},
        {"RetainDownloadFilesByRoute", &clsConfig::RetainDownloadFilesByRoute,
         &OperationTab::chkRetainDownloadFilesbyRoute},
        {"RightToLeft", &clsConfig::RightToLeft, &OperationTab::chkRTL},
        {"OverrideAutoOff", &clsConfig::OverrideAutoOff, &OperationTab::chkOverrideAutoOff},
        {"Journalling", &clsConfig::Journalling, &OperationTab::chkJournalling},
        {"CaptureExceptions", &clsConfig::CaptureExceptions, &OperationTab::chkExceptionsCapture},
        {"SeparateExceptions", &clsConfig::SeparateExceptions, &OperationTab::chkReportSep},
    };
    return boxes;
}

bool Shown(QWidget* control, OperationTab& tab) {
    return control->isVisibleTo(&tab);
}

TEST(OperationTabTest, FlagsTickOnlyOnExactlyYAndEachBoxStoresYOrNothing) {
    for (const char* stored : {"Y", "y", "Yes", ""}) {
        SCOPED_TRACE(stored);
        ProgramHome home;
        std::string text;
        for (const FlagBox& flag : FlagBoxes()) {
            text += std::string(flag.key) + "=" + stored + "\r\n";
        }
        WriteFile(home.ConfigFile(), text + "MeterIDChoice=X\r\nAutoOffMinutes=15\r\n");
        home.Config().LoadConfig();
        TabsWindow tabs;
        tabs.Open(home);
        tabs.ShowTab(2);
        OperationTab& tab = tabs.Operation();
        const bool ticked = std::string(stored) == "Y";
        for (const FlagBox& flag : FlagBoxes()) {
            EXPECT_EQ((tab.*flag.box)->isChecked(), ticked) << flag.key;
            EXPECT_EQ(home.Config().*flag.flag, stored) << flag.key;
        }
        // The dependents follow the loaded boxes.
        for (QWidget* control : std::initializer_list<QWidget*>{
                 tab.lExceptionsFile, tab.cExceptionsFile, tab.btnExceptionsFile,
                 tab.btnReportExceptions, tab.chkReportSep}) {
            EXPECT_EQ(Shown(control, tab), ticked) << control->objectName().toStdString();
        }
        EXPECT_EQ(Shown(tab.nRestorePIN, tab), ticked);
        EXPECT_EQ(Shown(tab.lRestorePIN, tab), ticked);
        EXPECT_EQ(tab.cAutoOffMinutes->isEnabled(), ticked);
        // 15 minutes and "X" are in neither list: nothing is chosen.
        EXPECT_EQ(tab.cAutoOffMinutes->currentIndex(), -1);
        EXPECT_FALSE(tab.optMeterID[0]->isChecked() || tab.optMeterID[1]->isChecked());
        if (ticked) {
            testing::SavePicture(tabs.Window(), "operation-tab-everything-ticked");
        }

        for (const FlagBox& flag : FlagBoxes()) {
            (tab.*flag.box)->click();
            EXPECT_EQ(home.Config().*flag.flag, ticked ? "" : "Y") << flag.key;
            (tab.*flag.box)->click();
            EXPECT_EQ(home.Config().*flag.flag, ticked ? "Y" : "") << flag.key;
        }
        EXPECT_EQ(home.Config().AutoOffMinutes, 15);
        EXPECT_EQ(home.Config().MeterIDChoice, "X");
    }
}

TEST(OperationTabTest, DefaultsShowNoDependentsAndTheListsStoreTheirChoice) {
    ProgramHome home;
    TabsWindow tabs;
    tabs.Open(home);
    tabs.ShowTab(2);
    OperationTab& tab = tabs.Operation();
    EXPECT_FALSE(Shown(tab.cExceptionsFile, tab));
    EXPECT_FALSE(Shown(tab.nRestorePIN, tab));
    EXPECT_FALSE(tab.cAutoOffMinutes->isEnabled());
    // AutoOffMinutes 0 is "Always On".
    EXPECT_EQ(tab.cAutoOffMinutes->currentText(), "Always On");
    testing::SavePicture(tabs.Window(), "operation-tab-defaults");

    const std::vector<std::pair<QString, int>> minutes = {
        {"60 Minutes", 60}, {"5 Minutes", 5}, {"Always On", 0}, {"30 Minutes", 30}};
    for (const auto& [entry, stored] : minutes) {
        tab.cAutoOffMinutes->setCurrentIndex(tab.cAutoOffMinutes->findText(entry));
        EXPECT_EQ(home.Config().AutoOffMinutes, stored) << entry.toStdString();
    }
    tab.optMeterID[1]->click();
    EXPECT_EQ(home.Config().MeterIDChoice, "B");
    tab.optMeterID[0]->click();
    EXPECT_EQ(home.Config().MeterIDChoice, "T");
}

TEST(OperationTabTest, ThePinTakesFourDigitsTypedOrPastedAndIsStoredWhole) {
    ProgramHome home;
    TabsWindow tabs;
    tabs.Open(home);
    tabs.ShowTab(2);
    OperationTab& tab = tabs.Operation();
    tab.chkJournalling->click();
    tab.nRestorePIN->clear();
    EXPECT_EQ(home.Config().RestorePIN, "");

    QTest::keyClicks(tab.nRestorePIN, "1a2 b3");
    EXPECT_EQ(tab.nRestorePIN->text(), "123");
    EXPECT_EQ(home.Config().RestorePIN, "");
    QTest::keyClicks(tab.nRestorePIN, "45");
    EXPECT_EQ(tab.nRestorePIN->text(), "1234");
    EXPECT_EQ(home.Config().RestorePIN, "1234");
    QTest::keyClick(tab.nRestorePIN, Qt::Key_Backspace);
    EXPECT_EQ(home.Config().RestorePIN, "1234");

    tab.nRestorePIN->clear();
    QApplication::clipboard()->setText("98x7");
    tab.nRestorePIN->paste();
    EXPECT_EQ(tab.nRestorePIN->text(), "");
    QApplication::clipboard()->setText("9876");
    tab.nRestorePIN->paste();
    EXPECT_EQ(home.Config().RestorePIN, "9876");
}

TEST(OperationTabTest, LeavingTheShortPinWarnsOnceAndReturnsTheFocus) {
    ProgramHome home;
    TabsWindow tabs;
    frmMain& window = tabs.Open(home);
    tabs.ShowTab(2);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, testing::kHangBoundMs));
    OperationTab& tab = tabs.Operation();

    const auto leaveThePin = [&](QWidget* next) {
        tab.nRestorePIN->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), tab.nRestorePIN);
        next->setFocus();
        // Time enough for a warning that would repeat itself.
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
        }
    };

    // Journalling off and an empty box: nothing to say.
    tab.nRestorePIN->show();
    tab.nRestorePIN->clear();
    leaveThePin(tab.chkRTL);
    EXPECT_TRUE(home.Messages().All().empty());

    tab.chkJournalling->click();
    leaveThePin(tab.chkRTL);
    EXPECT_EQ(home.Messages().Texts(), std::vector<std::string>{kPinMessage});
    EXPECT_EQ(home.Messages().All()[0].title, "WexalDT");
    EXPECT_EQ(QApplication::focusWidget(), tab.nRestorePIN);

    // Another window taking the focus is no leaving.
    home.Messages().Clear();
    QTest::keyClicks(tab.nRestorePIN, "12");
    QDialog other(&window);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, testing::kHangBoundMs));
    QApplication::processEvents();
    EXPECT_TRUE(home.Messages().All().empty());
    other.close();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, testing::kHangBoundMs));

    // Every attempt warns again; four digits leave freely.
    leaveThePin(tab.chkUseInitials);
    EXPECT_EQ(home.Messages().All().size(), 1u);
    QTest::keyClicks(tab.nRestorePIN, "34");
    leaveThePin(tab.chkUseInitials);
    EXPECT_EQ(home.Messages().All().size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), tab.chkUseInitials);
    EXPECT_EQ(home.Config().RestorePIN, "1234");
}

TEST(OperationTabTest, ButtonsOpenTheEditorTheReportAndTheExceptionsFilePrompt) {
    ProgramHome home;
    TabsWindow tabs;
    tabs.Open(home);
    tabs.ShowTab(2);
    OperationTab& tab = tabs.Operation();
    tab.chkExceptionsCapture->click();
    tabs.chooser->Answer("/srv/wexal/exceptions.txt");
    Prompt(tab.btnExceptionsFile, [](frmPrompt& prompt) {
        EXPECT_EQ(prompt.windowTitle(), "Exceptions Capture File");
        EXPECT_EQ(prompt.Label1->text(), "File Name:");
        prompt.btnBrowse->click();
        prompt.btnOK->click();
    });
    ASSERT_EQ(tabs.chooser->All().size(), 1u);
    EXPECT_EQ(tabs.chooser->All()[0].dialog, ScriptedFileChooser::Dialog::kSave);
    EXPECT_EQ(tab.cExceptionsFile->text(), "/srv/wexal/exceptions.txt");
    EXPECT_EQ(home.Config().ExceptionsFile, "/srv/wexal/exceptions.txt");
    EXPECT_EQ(home.Config().CaptureExceptions, "Y");

    tab.btnResponseCodes->click();
    tab.btnReportExceptions->click();
    EXPECT_EQ(tabs.actions,
              (std::vector<std::string>{"response codes over frmMain", "report over frmMain"}));
}

}  // namespace
}  // namespace wexal::desktop
