// The main window's Operation tab: the options that the handheld application
// obeys and the settings of the exceptions capture. Each control maps to one
// option of the configuration and stores into it at once; it also opens the
// response-code editor, the exceptions-file prompt and the exceptions report.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <memory>

#include "desktop/core/FileChooser.h"
#include "desktop/windows/MainWindowParts.h"

class QButtonGroup;

namespace wexal::desktop {

class OperationTab final : public MainWindowTab {
    Q_OBJECT

  public:
    OperationTab(MainWindowContext& context, std::shared_ptr<FileChooser> chooser);

    // Puts the options of the configuration into the controls (the window
    // has set mLoading, so nothing is stored back).
    void FillAtLoad() override;

    // Stores whether exceptions are captured, unless loading.
    void SaveCaptureExceptions();

    QGroupBox* Frame1;  // "Operational Choices"
    QGroupBox* Frame2;  // "Response Codes"
    QPushButton* btnResponseCodes;
    QCheckBox* chkExceptionsCapture;
    QLabel* lExceptionsFile;
    QLineEdit* cExceptionsFile;
    QPushButton* btnExceptionsFile;
    QPushButton* btnReportExceptions;
    QCheckBox* chkReportSep;
    QGroupBox* fraMeterID;
    std::array<QRadioButton*, 2> optMeterID{};  // property "Tag": "T", "B"
    QCheckBox* chkJournalling;
    QLabel* lRestorePIN;
    QLineEdit* nRestorePIN;
    QCheckBox* chkOverrideAutoOff;
    QComboBox* cAutoOffMinutes;
    QCheckBox* chkRTL;
    QCheckBox* chkUseInitials;
    QCheckBox* chkShowPriorReadings;
    QCheckBox* chkShowExpectedRange;
    QCheckBox* chkRetainDownloadFilesbyRoute;

  private:
    void BuildChoices();
    void BuildResponseCodes();
    void Connect();
    // The focus left the PIN box for another control of the window.
    void nRestorePIN_LostFocus();

    MainWindowContext& context_;
    std::shared_ptr<FileChooser> chooser_;
    QButtonGroup* meterId_;
    bool pinCheckQueued_ = false;
};

}  // namespace wexal::desktop
