// The "Change HotSync Action" dialog: the user picks what the next HotSync,
// or every HotSync, should do with the conduit's data. The sync manager
// hands a configure-info block in and stores the choice written back.
#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

#include "platform/syncmgr/ConduitApi.h"

class QButtonGroup;
class QCheckBox;
class QLabel;

namespace wexal::conduit {

enum class ActionDialogKind {
    Configure,        // CfgConduit: shows the user's current settings as well
    ConfigureSimple,  // ConfigureConduit: the action choice alone
};

// Object names of the dialog's widgets, for whoever drives it from outside.
namespace action_dialog_names {
inline constexpr const char* kSynchronize = "radioSynchronize";
inline constexpr const char* kDesktopOverwrites = "radioDesktopOverwrites";
inline constexpr const char* kHandheldOverwrites = "radioHandheldOverwrites";
inline constexpr const char* kDoNothing = "radioDoNothing";
inline constexpr const char* kSetAsDefault = "checkSetAsDefault";
inline constexpr const char* kOk = "buttonOk";
inline constexpr const char* kCancel = "buttonCancel";
inline constexpr const char* kHelp = "buttonHelp";
inline constexpr const char* kActionGroup = "groupAction";
inline constexpr const char* kUserSettingsGroup = "groupUserSettings";
inline constexpr const char* kPermanentAction = "labelPermanentAction";
inline constexpr const char* kTemporaryAction = "labelTemporaryAction";
// The pictures beside the four choices, in the order of the choices.
inline constexpr std::array<const char*, 4> kPictures = {
    "pictureSynchronize", "pictureDesktopOverwrites", "pictureHandheldOverwrites",
    "pictureDoNothing"};
}  // namespace action_dialog_names

class ActionDialog : public QDialog {
    Q_OBJECT
  public:
    using HelpOpener = std::function<void(const QString& helpFile)>;

    // The block must outlive the dialog; it is written only when OK is pressed.
    ActionDialog(ActionDialogKind kind, ConduitConfigureInfo& block, QWidget* parent = nullptr);

    // Replaces how the help file is shown (the desktop's viewer by default).
    void setHelpOpener(HelpOpener opener);
    // Replaces the file beside which the help file is looked for (the
    // conduit library by default).
    void setLibraryPath(const QString& libraryPath);

  public slots:
    void accept() override;
    void showHelp();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QWidget* createUserSettingsGroup();
    QWidget* createActionGroup();
    QWidget* createButtonColumn();
    void loadPictures();

    ConduitConfigureInfo& block_;
    QButtonGroup* actions_ = nullptr;
    QCheckBox* setAsDefault_ = nullptr;
    std::array<QLabel*, 4> pictures_{};
    HelpOpener openHelp_;
    QString libraryPath_;
};

// Shows the dialog modally on the block, creating the application object
// first when the host process has none. Returns 0 on OK (the block's new
// action and preference written), 1 on Cancel (the block untouched), and -1
// when the block is null or the dialog cannot be shown.
int ShowActionDialog(ActionDialogKind kind, ConduitConfigureInfo* block, QWidget* owner = nullptr);

// The conduit is loaded into processes that may not use Qt: makes sure a
// widgets application object exists, creating one that lives as long as the
// process. False when none can be had (no display, or the host runs a
// non-widgets application object).
bool EnsureApplication();

// The file the conduit's code was loaded from; empty when unknown.
QString ConduitLibraryPath();

// The help file "hotsync.hlp" in the folder of the given library, when it
// exists there; empty otherwise.
QString FindHelpFile(const QString& libraryPath);

}  // namespace wexal::conduit
