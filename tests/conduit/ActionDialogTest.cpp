#include "conduit/ActionDialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "conduit/ActionPictures.h"
#include "tests/support/TempDir.h"

// Fontconfig, loaded by Qt for the dialog's text, keeps a cache it never
// frees; that is not ours to mend, so the leak checker is told to ignore it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace wexal::conduit {
namespace {

namespace names = action_dialog_names;

ConduitConfigureInfo MakeBlock(uint32_t permanent, uint32_t temporary, uint32_t creator = 1) {
    ConduitConfigureInfo block;
    std::memset(&block, 0, sizeof(block));
    block.version = 1;
    block.size = sizeof(block);
    block.creator = creator;
    std::strcpy(block.userName, "Name");
    std::strcpy(block.path, "/home/name/sync");
    block.permanentAction = permanent;
    block.temporaryAction = temporary;
    block.newAction = block.preference = 0xDEADBEEF;
    return block;
}

class ActionDialogTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ASSERT_TRUE(EnsureApplication());
    }

    template <typename T = QAbstractButton>
    static T* Find(const QWidget& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void Click(const QWidget& dialog, const char* name) {
        if (auto* button = Find(dialog, name)) {
            button->click();
        }
    }
};

TEST_F(ActionDialogTest, TemporaryActionChecksItsChoice) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, names::kSynchronize},        {1, names::kSynchronize}, {2, names::kHandheldOverwrites},
        {3, names::kDesktopOverwrites},  {5, names::kDoNothing},   {6, names::kDoNothing},
        {0xFFFFFFFF, names::kDoNothing},
    };
    for (const auto& [action, expected] : cases) {
        ConduitConfigureInfo block = MakeBlock(0, action);
        ActionDialog dialog(ActionDialogKind::Configure, block);
        for (QRadioButton* radio : dialog.findChildren<QRadioButton*>()) {
            EXPECT_EQ(radio->isChecked(), radio->objectName() == QLatin1String(expected))
                << "action " << action << ", " << radio->objectName().toStdString();
        }
    }
}

TEST_F(ActionDialogTest, OkWritesTheChosenActionAndPreference) {
    const struct {
        uint32_t temporary;
        const char* radio;  // null: left as the dialog opened
        bool asDefault;
        uint32_t action;
        uint32_t preference;
    } cases[] = {
        {1, names::kSynchronize, false, 0, 2},
        {1, names::kDesktopOverwrites, true, 3, 1},
        {1, names::kHandheldOverwrites, false, 2, 2},
        {1, names::kDoNothing, true, 6, 1},
        {5, nullptr, false, 6, 2},
        {1, nullptr, false, 0, 2},
    };
    for (const auto& c : cases) {
        ConduitConfigureInfo block = MakeBlock(0, c.temporary);
        ActionDialog dialog(ActionDialogKind::ConfigureSimple, block);
        dialog.show();
        if (c.radio != nullptr) {
            Click(dialog, c.radio);
        }
        if (c.asDefault) {
            Click(dialog, names::kSetAsDefault);
        }
        Click(dialog, names::kOk);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(block.newAction, c.action) << (c.radio ? c.radio : "unchanged");
        EXPECT_EQ(block.preference, c.preference);
    }
}

TEST_F(ActionDialogTest, CancelLeavesTheBlockUntouched) {
    ConduitConfigureInfo block = MakeBlock(2, 3);
    const ConduitConfigureInfo before = block;
    ActionDialog dialog(ActionDialogKind::Configure, block);
    dialog.show();
    Click(dialog, names::kDoNothing);
    Click(dialog, names::kSetAsDefault);
    Click(dialog, names::kCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(std::memcmp(&block, &before, sizeof(block)), 0);
}

TEST_F(ActionDialogTest, CaptionsOfTheChoices) {
    ConduitConfigureInfo block = MakeBlock(0, 0, 0);
    ActionDialog dialog(ActionDialogKind::ConfigureSimple, block);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wexal Conduit 2.6.32"));
    EXPECT_EQ(Find<QGroupBox>(dialog, names::kActionGroup)->title(),
              QStringLiteral("Wexal Conduit 2.6.32"));
    const std::pair<const char*, const char*> captions[] = {
        {names::kSynchronize, "&Synchronize the files"},
        {names::kDesktopOverwrites, "&Desktop overwrites handheld"},
        {names::kHandheldOverwrites, "&Handheld overwrites Desktop"},
        {names::kDoNothing, "Do &nothing"},
        {names::kSetAsDefault, "Set &as default"},
        {names::kHelp, "&Help"},
    };
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(Find(dialog, name)->text(), QString::fromLatin1(caption));
    }
}

TEST_F(ActionDialogTest, UserVariantShowsTheCurrentSettings) {
    const struct {
        uint32_t permanent;
        uint32_t temporary;
        const char* permanentText;
        const char* temporaryText;
    } cases[] = {
        {3, 2, "Desktop overwrites Palm organizer.", "Palm organizer overwrites Desktop."},
        {1, 9, "Synchronize the files.", "Do Nothing."},
    };
    for (const auto& c : cases) {
        ConduitConfigureInfo block = MakeBlock(c.permanent, c.temporary);
        ActionDialog dialog(ActionDialogKind::Configure, block);
        EXPECT_EQ(Find<QGroupBox>(dialog, names::kUserSettingsGroup)->title(),
                  QStringLiteral("Name's Current Settings:"));
        EXPECT_EQ(Find<QLabel>(dialog, names::kPermanentAction)->text(), c.permanentText);
        EXPECT_EQ(Find<QLabel>(dialog, names::kTemporaryAction)->text(), c.temporaryText);
    }
}

TEST_F(ActionDialogTest, UserNameFillingItsWholeFieldIsNotReadBeyondIt) {
    ConduitConfigureInfo block = MakeBlock(0, 0);
    std::memset(block.userName, 'A', sizeof(block.userName));
    ActionDialog dialog(ActionDialogKind::Configure, block);
    EXPECT_EQ(Find<QGroupBox>(dialog, names::kUserSettingsGroup)->title(),
              QString(64, QLatin1Char('A')) + QStringLiteral("'s Current Settings:"));
}

TEST_F(ActionDialogTest, UserSettingsOnlyWithACreatorInTheFullVariant) {
    const std::pair<ActionDialogKind, uint32_t> cases[] = {{ActionDialogKind::Configure, 0},
                                                           {ActionDialogKind::ConfigureSimple, 1}};
    for (const auto& [kind, creator] : cases) {
        ConduitConfigureInfo block = MakeBlock(0, 0, creator);
        ActionDialog dialog(kind, block);
        EXPECT_EQ(dialog.findChild<QWidget*>(names::kUserSettingsGroup), nullptr);
        EXPECT_EQ(dialog.findChild<QWidget*>(names::kPermanentAction), nullptr);
    }
}

TEST_F(ActionDialogTest, PicturesAreDistinctAndOnTheGroundColour) {
    const QColor ground(0xC0, 0xC0, 0xC0);
    std::vector<QImage> images;
    for (ActionPicture picture : {ActionPicture::BothWays, ActionPicture::ToHandheld,
                                  ActionPicture::ToDesktop, ActionPicture::Pause}) {
        images.push_back(DrawActionPicture(picture, ground));
        EXPECT_EQ(images.back().size(), QSize(48, 24));
        EXPECT_EQ(images.back().pixelColor(0, 0), ground);
    }
    for (size_t i = 0; i < images.size(); ++i) {
        for (size_t j = i + 1; j < images.size(); ++j) {
            EXPECT_NE(images[i], images[j]) << i << " vs " << j;
        }
    }
    // Each arrow is wide at its head and narrow at its tail.
    EXPECT_NE(images[1].pixelColor(19, 9), ground);
    EXPECT_EQ(images[1].pixelColor(28, 9), ground);
    EXPECT_NE(images[2].pixelColor(27, 9), ground);
    EXPECT_EQ(images[2].pixelColor(18, 9), ground);
}

TEST_F(ActionDialogTest, DialogPicturesFollowTheButtonFace) {
    ConduitConfigureInfo block = MakeBlock(0, 0);
    ActionDialog dialog(ActionDialogKind::Configure, block);
    const QColor face(10, 120, 200);
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Button, face);
    dialog.setPalette(palette);
    for (const char* name : names::kPictures) {
        const QPixmap pixmap = Find<QLabel>(dialog, name)->pixmap();
        EXPECT_EQ(pixmap.size(), QSize(48, 24)) << name;
        EXPECT_EQ(pixmap.toImage().pixelColor(0, 0), face) << name;
    }
}

TEST_F(ActionDialogTest, HelpOpensTheFileBesideTheLibraryOnlyWhenItExists) {
    wexal::testing::TempDir folder;
    ConduitConfigureInfo block = MakeBlock(0, 0);
    ActionDialog dialog(ActionDialogKind::Configure, block);
    std::vector<QString> opened;
    dialog.setHelpOpener([&](const QString& file) { opened.push_back(file); });
    dialog.setLibraryPath(QString::fromStdString((folder / "libWexalCN.so").string()));
    dialog.show();

    Click(dialog, names::kHelp);
    EXPECT_TRUE(opened.empty());

    wexal::testing::WriteFile(folder / "hotsync.hlp", "help");
    Click(dialog, names::kHelp);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QString::fromStdString((folder / "hotsync.hlp").string()));
    EXPECT_TRUE(dialog.isVisible());

    // A name without a folder part leads nowhere.
    dialog.setLibraryPath(QStringLiteral("hotsync.hlp"));
    Click(dialog, names::kHelp);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(ActionDialogTest, LibraryPathIsTheFileOfTheLoadedCode) {
    const QString library = ConduitLibraryPath();
    EXPECT_TRUE(QFileInfo(library).isFile()) << library.toStdString();
}

// Answers the modal dialog once exec() has shown it.
void AnswerDialogLater(const char* button) {
    QTimer::singleShot(0, [button] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<ActionDialog*>(widget); dialog && dialog->isVisible()) {
                if (auto* target = dialog->findChild<QAbstractButton*>(button)) {
                    target->click();
                } else {
                    dialog->reject();
                }
            }
        }
    });
}

TEST_F(ActionDialogTest, ShowActionDialogReportsTheAnswer) {
    QCoreApplication* application = QCoreApplication::instance();
    EXPECT_EQ(ShowActionDialog(ActionDialogKind::Configure, nullptr), -1);

    ConduitConfigureInfo block = MakeBlock(0, 3);
    const ConduitConfigureInfo before = block;
    AnswerDialogLater(names::kCancel);
    EXPECT_EQ(ShowActionDialog(ActionDialogKind::Configure, &block), 1);
    EXPECT_EQ(std::memcmp(&block, &before, sizeof(block)), 0);

    AnswerDialogLater(names::kOk);
    EXPECT_EQ(ShowActionDialog(ActionDialogKind::ConfigureSimple, &block), 0);
    EXPECT_EQ(block.newAction, 3u);
    EXPECT_EQ(block.preference, 2u);
    // The application object made for the first dialog serves every later one.
    EXPECT_EQ(QCoreApplication::instance(), application);
}

}  // namespace
}  // namespace wexal::conduit
