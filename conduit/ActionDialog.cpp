#include "conduit/ActionDialog.h"

#include <dlfcn.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "conduit/ActionPictures.h"
#include "conduit/ConduitName.h"

namespace wexal::conduit {
namespace {

namespace names = action_dialog_names;

const char* const kHelpFileName = "hotsync.hlp";

// One row of the action group: the radio button, the action it writes back,
// the text describing a current setting of that action, and its picture.
struct ActionChoice {
    const char* radioText;
    const char* objectName;
    uint32_t newAction;
    const char* settingText;
    ActionPicture picture;
};

const std::array<ActionChoice, 4> kChoices = {{
    {"&Synchronize the files", names::kSynchronize, kActionSynchronize, "Synchronize the files.",
     ActionPicture::BothWays},
    {"&Desktop overwrites handheld", names::kDesktopOverwrites, kActionDesktopOverwritesHandheld,
     "Desktop overwrites Palm organizer.", ActionPicture::ToHandheld},
    {"&Handheld overwrites Desktop", names::kHandheldOverwrites, kActionHandheldOverwritesDesktop,
     "Palm organizer overwrites Desktop.", ActionPicture::ToDesktop},
    {"Do &nothing", names::kDoNothing, kActionDoNothing, "Do Nothing.", ActionPicture::Pause},
}};
constexpr int kDoNothingChoice = 3;

// Unknown action numbers are shown as doing nothing.
int ChoiceForAction(uint32_t action) {
    switch (action) {
        case kActionSynchronize:
        case kActionSynchronizeToo:
            return 0;
        case kActionDesktopOverwritesHandheld:
            return 1;
        case kActionHandheldOverwritesDesktop:
            return 2;
        default:
            return kDoNothingChoice;
    }
}

QString SettingText(uint32_t action) {
    return QString::fromLatin1(kChoices[ChoiceForAction(action)].settingText);
}

// The sync manager does not promise a terminating NUL within the field.
QString UserName(const ConduitConfigureInfo& block) {
    const size_t length = strnlen(block.userName, sizeof(block.userName));
    return QString::fromLocal8Bit(block.userName, static_cast<qsizetype>(length));
}

void OpenInDesktopViewer(const QString& helpFile) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile));
}

// Creating an application object without a display to reach would abort
// the whole host process, so only try when one is configured.
bool DisplayConfigured() {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

QLabel* NamedLabel(const char* objectName, const QString& text = {}) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

}  // namespace

ActionDialog::ActionDialog(ActionDialogKind kind, ConduitConfigureInfo& block, QWidget* parent)
    : QDialog(parent),
      block_(block),
      openHelp_(OpenInDesktopViewer),
      libraryPath_(ConduitLibraryPath()) {
    setWindowTitle(QString::fromLatin1(kConduitName));

    auto* choices = new QVBoxLayout;
    // The block of ConfigureConduit has creator 0 and carries no user.
    if (kind == ActionDialogKind::Configure && block_.creator != 0) {
        choices->addWidget(createUserSettingsGroup());
    }
    choices->addWidget(createActionGroup());
    setAsDefault_ = new QCheckBox(QStringLiteral("Set &as default"));
    setAsDefault_->setObjectName(QString::fromLatin1(names::kSetAsDefault));
    choices->addWidget(setAsDefault_);
    choices->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(choices, 1);
    layout->addWidget(createButtonColumn());

    actions_->button(ChoiceForAction(block_.temporaryAction))->setChecked(true);
    loadPictures();

    auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
    connect(helpKey, &QShortcut::activated, this, &ActionDialog::showHelp);
}

QWidget* ActionDialog::createUserSettingsGroup() {
    auto* group = new QGroupBox(QStringLiteral("%1's Current Settings:").arg(UserName(block_)));
    group->setObjectName(QString::fromLatin1(names::kUserSettingsGroup));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Default HotSync Action:")), 0, 0);
    grid->addWidget(NamedLabel(names::kPermanentAction, SettingText(block_.permanentAction)), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Next HotSync Action:")), 1, 0);
    grid->addWidget(NamedLabel(names::kTemporaryAction, SettingText(block_.temporaryAction)), 1, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* ActionDialog::createActionGroup() {
    auto* group = new QGroupBox(QString::fromLatin1(kConduitName));
    group->setObjectName(QString::fromLatin1(names::kActionGroup));
    auto* grid = new QGridLayout(group);
    actions_ = new QButtonGroup(this);
    for (int row = 0; row < static_cast<int>(kChoices.size()); ++row) {
        pictures_[row] = NamedLabel(names::kPictures[row]);
        auto* radio = new QRadioButton(QString::fromLatin1(kChoices[row].radioText));
        radio->setObjectName(QString::fromLatin1(kChoices[row].objectName));
        actions_->addButton(radio, row);
        grid->addWidget(pictures_[row], row, 0);
        grid->addWidget(radio, row, 1);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* ActionDialog::createButtonColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QString::fromLatin1(names::kOk));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ActionDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QString::fromLatin1(names::kCancel));
    connect(cancel, &QPushButton::clicked, this, &ActionDialog::reject);

    auto* help = new QPushButton(QStringLiteral("&Help"));
    help->setObjectName(QString::fromLatin1(names::kHelp));
    connect(help, &QPushButton::clicked, this, &ActionDialog::showHelp);

    layout->addWidget(ok);
    layout->addWidget(cancel);
    layout->addWidget(help);
    layout->addStretch();
    return column;
}

void ActionDialog::setHelpOpener(HelpOpener opener) {
    openHelp_ = std::move(opener);
}

void ActionDialog::setLibraryPath(const QString& libraryPath) {
    libraryPath_ = libraryPath;
}

void ActionDialog::accept() {
    const int checked = actions_->checkedId();
    block_.newAction = kChoices[checked >= 0 ? checked : kDoNothingChoice].newAction;
    block_.preference = setAsDefault_->isChecked() ? kPreferencePermanent : kPreferenceTemporary;
    QDialog::accept();
}

void ActionDialog::showHelp() {
    const QString helpFile = FindHelpFile(libraryPath_);
    if (!helpFile.isEmpty() && openHelp_) {
        openHelp_(helpFile);
    }
}

void ActionDialog::changeEvent(QEvent* event) {
    // The pictures' ground is the button face: redraw when the colours change.
    if (event->type() == QEvent::PaletteChange) {
        loadPictures();
    }
    QDialog::changeEvent(event);
}

void ActionDialog::loadPictures() {
    const QColor ground = palette().color(QPalette::Button);
    for (size_t i = 0; i < pictures_.size(); ++i) {
        if (pictures_[i] != nullptr) {
            pictures_[i]->setPixmap(
                QPixmap::fromImage(DrawActionPicture(kChoices[i].picture, ground)));
        }
    }
}

int ShowActionDialog(ActionDialogKind kind, ConduitConfigureInfo* block, QWidget* owner) {
    if (block == nullptr || !EnsureApplication()) {
        return -1;
    }
    ActionDialog dialog(kind, *block, owner != nullptr ? owner : QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}

bool EnsureApplication() {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        return qobject_cast<QApplication*>(existing) != nullptr;
    }
    if (!DisplayConfigured()) {
        std::fputs("Wexal Conduit: no display to show the dialog on (DISPLAY is not set)\n",
                   stderr);
        return false;
    }
    // The application object keeps references to its arguments, and a host
    // may call the conduit again later: both live as long as the process.
    static int argc = 1;
    static char name[] = "WexalCN";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return application != nullptr;
}

QString ConduitLibraryPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&ConduitLibraryPath), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    return QFile::decodeName(info.dli_fname);
}

QString FindHelpFile(const QString& libraryPath) {
    const qsizetype slash = libraryPath.lastIndexOf(QLatin1Char('/'));
    if (slash < 1) {
        return {};
    }
    const QString helpFile = libraryPath.left(slash + 1) + QString::fromLatin1(kHelpFileName);
    return QFileInfo(helpFile).isFile() ? helpFile : QString();
}

}  // namespace wexal::conduit
