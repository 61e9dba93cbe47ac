// The small dialogs: the message window's text, the date prompt's round trip
// and century window, About with its System Information button, the options
// dialog's keys and buttons, the splash's texts and timer; and their pictures.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "desktop/core/UserHive.h"
#include "desktop/windows/frmAbout.h"
#include "desktop/windows/frmDatePrompt.h"
#include "desktop/windows/frmMessage.h"
#include "desktop/windows/frmOptions.h"
#include "desktop/windows/frmSplash.h"
#include "tests/desktop/windows/FixedClock.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/desktop/windows/WindowPictures.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

using testing::FixedClock;
using testing::ScriptedMessages;
using namespace std::chrono_literals;

TEST(SmallDialogsTest, MessageWindowShowsTheTextWithItsLineBreaks) {
    frmMessage window;
    window.SetMessage(
        "Required file 'libcondinst.so' not found\r\nRequired file 'wexal.prc' not found\r\n");
    EXPECT_EQ(window.windowTitle(), "WexalDT");
    EXPECT_EQ(window.lMessage->text(),
              "Required file 'libcondinst.so' not found\nRequired file 'wexal.prc' not found\n");
    EXPECT_TRUE(window.btnOK->isDefault());
    EXPECT_EQ(window.btnOK->text(), "OK");
    testing::SavePicture(window, "message-window");
}

TEST(SmallDialogsTest, DatePromptRoundTrip) {
    struct Case {
        std::string value;
        bool ok;
        QDate shown;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"3/14/2026", true, {2026, 3, 14}, "3/14/2026"},
        {"01/02/27", true, {2027, 1, 2}, "1/2/2027"},
        {"12/31/30", true, {1930, 12, 31}, "12/31/1930"},
        {"   ", true, {2026, 12, 8}, "12/8/2026"},
        {"   ", false, {2026, 12, 8}, "   "},
        {"3/14/2026", false, {2026, 3, 14}, "3/14/2026"},
    };
    FixedClock clock;
    frmDatePrompt prompt(clock);
    EXPECT_TRUE(prompt.btnOK->isDefault());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value + (c.ok ? " OK" : " Cancel"));
        std::string value = c.value;
        QDate shown;
        QPushButton* button = c.ok ? prompt.btnOK : prompt.btnCancel;
        QTimer::singleShot(0, &prompt, [&] {
            shown = prompt.Calendar1->selectedDate();
            button->click();
        });
        EXPECT_EQ(prompt.DatePrompt(value), c.ok);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(value, c.after);
        EXPECT_FALSE(prompt.isVisible());
    }

    // Esc answers as Cancel.
    std::string value = "5/6/2026";
    QTimer::singleShot(0, &prompt, [&] {
        prompt.Calendar1->setSelectedDate({2026, 5, 20});
        QTest::keyClick(prompt.Calendar1, Qt::Key_Escape);
    });
    EXPECT_FALSE(prompt.DatePrompt(value));
    EXPECT_EQ(value, "5/6/2026");

    prompt.SetCalendarDate("01/02/27");
    testing::SavePicture(prompt, "date-prompt");
}

TEST(SmallDialogsTest, AboutShowsTheVersionAndFindsSystemInformationOrSaysWhyNot) {
    testing::TempDir folder;
    const auto program = folder.path() / "msinfo";
    testing::WriteFile(program, "");
    struct Case {
        const char* name;
        std::string pathValue;  // MSINFO "PATH", empty for none
        std::string location;   // Shared Tools Location "MSINFO", empty for none
        bool startWorks;
        std::vector<std::string> started;
        std::vector<std::string> messages;
    };
    const std::string unavailable = "System Information Is Unavailable At This Time";
    const std::string folderPath = folder.path().string();
    const std::vector<Case> cases = {
        {"nothing registered", "", "", true, {}, {unavailable}},
        {"path registered", program.string(), "", true, {program.string()}, {}},
        {"path fails to start", "/nowhere/msinfo", "", false, {"/nowhere/msinfo"}, {unavailable}},
        {"folder without the program", "", folderPath, true, {}, {unavailable}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registry::Registry machine(folder.path() / (std::string(c.name) + ".reg"));
        if (!c.pathValue.empty()) {
            machine.WriteString("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", c.pathValue);
        }
        if (!c.location.empty()) {
            machine.WriteString("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", c.location);
        }
        clsRegistry::Hives hives{};
        hives[clsRegistry::HKEY_LOCAL_MACHINE - clsRegistry::HKEY_CLASSES_ROOT] =
            std::make_shared<UserHive>(machine);
        ScriptedMessages messages;
        std::vector<std::string> started;
        frmAbout about(messages, nullptr, hives, [&](const std::string& path) {
            started.push_back(path);
            return c.startWorks;
        });
        about.cmdSysInfo->click();
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(messages.Texts(), c.messages);
    }

    ScriptedMessages messages;
    frmAbout about(messages);
    EXPECT_EQ(about.windowTitle(), "About WexalDT");
    EXPECT_EQ(about.lblTitle->text(), "WexalDT");
    EXPECT_EQ(about.lblVersion->text(), "Version 2.8.1");
    EXPECT_EQ(about.lblDescription->text(), " ");
    EXPECT_EQ(about.lblDisclaimer->text().count('\n'), 1);
    EXPECT_TRUE(about.cmdOK->isDefault());
    EXPECT_EQ(about.cmdSysInfo->text(), "&System Info...");
    testing::SavePicture(about, "about");
    QTimer::singleShot(0, &about, [&] { QTest::keyClick(&about, Qt::Key_Escape); });
    about.exec();
    EXPECT_FALSE(about.isVisible());
}

TEST(SmallDialogsTest, OptionsMoveBetweenTabsWithControlTabBothWaysAndOnlySayWhatTheyWouldDo) {
    ScriptedMessages messages;
    frmOptions options(messages);
    options.show();
    EXPECT_EQ(options.windowTitle(), "Options");
    const auto selected = [&options] {
        int enabled = -1;
        for (int i = 0; i < 4; ++i) {
            QWidget* panel = options.picOptions[static_cast<std::size_t>(i)];
            EXPECT_EQ(panel->objectName(), QStringLiteral("picOptions%1").arg(i));
            if (panel->isEnabled()) {
                EXPECT_EQ(enabled, -1) << "one panel only";
                EXPECT_EQ(panel->x(), 14);
                enabled = i;
            } else {
                EXPECT_EQ(panel->x(), -1333);
            }
        }
        EXPECT_EQ(options.tbsOptions->currentIndex(), enabled);
        return enabled;
    };
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(options.fraSample[3]->title(), "Sample 4");
    options.cmdApply->setFocus();

    const std::vector<std::pair<Qt::KeyboardModifiers, int>> presses = {
        {Qt::ControlModifier, 1},
        {Qt::ControlModifier, 2},
        {Qt::ControlModifier, 3},
        {Qt::ControlModifier, 0},
        {Qt::ControlModifier | Qt::ShiftModifier, 3},
        {Qt::ShiftModifier, 3},
        {Qt::ControlModifier | Qt::AltModifier, 3},
    };
    for (const auto& [modifiers, expected] : presses) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &options,
                        (modifiers & Qt::ShiftModifier) ? Qt::Key_Backtab : Qt::Key_Tab, modifiers);
        EXPECT_EQ(selected(), expected) << modifiers;
    }
    testing::SavePicture(options, "options");

    options.cmdApply->click();
    EXPECT_TRUE(options.isVisible());
    options.cmdOK->click();
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Apply Code goes here to set options w/o closing dialog!",
                                        "Code goes here to set options and close dialog!"}));
}

TEST(SmallDialogsTest, SplashNamesPlatformAndVersionAndFiresOnce) {
    frmSplash splash(50ms);
    EXPECT_EQ(splash.lblPlatform->text(), "Linux");
    EXPECT_EQ(splash.lblVersion->text(), "Version 2.8.1");
    EXPECT_TRUE(splash.Timer1->isActive());
    QSignalSpy fired(&splash, &frmSplash::TimerFired);
    EXPECT_TRUE(fired.wait(testing::kHangBoundMs));
    EXPECT_FALSE(splash.Timer1->isActive());
    // A second firing would come before this later timer does: none came.
    QTimer later;
    later.setTimerType(Qt::PreciseTimer);
    later.setSingleShot(true);
    QSignalSpy laterFired(&later, &QTimer::timeout);
    later.start(2 * 50ms);
    EXPECT_TRUE(laterFired.wait(testing::kHangBoundMs));
    EXPECT_EQ(fired.count(), 1);
    EXPECT_EQ(frmSplash::kInterval, 5000ms);
    testing::SavePicture(splash, "splash");
}

}  // namespace
}  // namespace wexal::desktop
