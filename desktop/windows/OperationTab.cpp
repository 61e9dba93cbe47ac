#include "desktop/windows/OperationTab.h"

#include <QApplication>
#include <QButtonGroup>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>

#include "desktop/core/NumericText.h"
#include "desktop/core/ProgramIdentity.h"
#include "desktop/windows/OptionButtons.h"
#include "desktop/windows/TwipsGeometry.h"
#include "desktop/windows/frmPrompt.h"

namespace wexal::desktop {

namespace {

constexpr int kPinLength = 4;
constexpr const char* kPinMessage = "PIN# must be exactly four digits";
constexpr std::array<const char*, 6> kAutoOffChoices = {"Always On",  "5 Minutes",  "10 Minutes",
                                                        "20 Minutes", "30 Minutes", "60 Minutes"};
constexpr std::array<const char*, 2> kMeterIdTags = {"T", "B"};

constexpr std::int64_t kCheckLeft = 120;
constexpr std::int64_t kCheckWidth = 3255;
constexpr std::int64_t kCheckHeight = 255;

QCheckBox* MakeCheck(QWidget* parent, const char* name, const char* caption, std::int64_t top) {
    auto* check = new QCheckBox(QString::fromLatin1(caption), parent);
    check->setObjectName(QString::fromLatin1(name));
    PlaceInTwips(check, kCheckLeft, top, kCheckWidth, kCheckHeight);
    return check;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// "Y" when ticked, else the empty text.
std::string FlagText(bool ticked) {
    return ticked ? "Y" : "";
}

// Ticked only by exactly "Y".
bool IsTicked(const std::string& flag) {
    return flag == "Y";
}

// "5 Minutes" is 5; "Always On" has no number and is 0.
std::int16_t LeadingMinutes(const QString& entry) {
    return RoundToInteger16(NumericValue(entry.toStdString()));
}

std::string WithoutBlanks(const QString& text) {
    const std::string value = text.toStdString();
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

}  // namespace

OperationTab::OperationTab(MainWindowContext& context, std::shared_ptr<FileChooser> chooser)
    : context_(context), chooser_(std::move(chooser)), meterId_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("OperationTab"));
    BuildChoices();
    BuildResponseCodes();
    Connect();
}

void OperationTab::BuildChoices() {
    Frame1 = new QGroupBox(tr("Operational Choices"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    PlaceInTwips(Frame1, 120, 60, 3495, 4095);

    fraMeterID = new QGroupBox(tr("Displayed Meter ID"), Frame1);
    fraMeterID->setObjectName(QStringLiteral("fraMeterID"));
    PlaceInTwips(fraMeterID, 120, 240, 3255, 615);
    const std::array<const char*, 2> captions = {"Visible", "Electronic"};
    for (std::size_t i = 0; i < optMeterID.size(); ++i) {
        optMeterID[i] = new QRadioButton(QString::fromLatin1(captions[i]), fraMeterID);
        optMeterID[i]->setObjectName(QStringLiteral("optMeterID%1").arg(i));
        optMeterID[i]->setProperty("Tag", QString::fromLatin1(kMeterIdTags[i]));
        meterId_->addButton(optMeterID[i], static_cast<int>(i));
        PlaceInTwips(optMeterID[i], 120 + 1560 * static_cast<std::int64_t>(i), 270, 1455, 255);
    }

    chkUseInitials = MakeCheck(Frame1, "chkUseInitials", "Use Initials", 960);
    chkShowPriorReadings = MakeCheck(Frame1, "chkShowPriorReadings", "Show Prior Readings", 1260);
    chkShowExpectedRange = MakeCheck(Frame1, "chkShowExpectedRange", "Show Expected Range", 1560);
    chkRTL = MakeCheck(Frame1, "chkRTL", "Right to Left Readings", 1860);
    chkRetainDownloadFilesbyRoute =
        MakeCheck(Frame1, "chkRetainDownloadFilesbyRoute", "Age Download Files by Route", 2160);
    chkJournalling = MakeCheck(Frame1, "chkJournalling", "Journal Readings to Mem Card", 2460);

    lRestorePIN = new QLabel(tr("PIN # for recovery:"), Frame1);
    lRestorePIN->setObjectName(QStringLiteral("lRestorePIN"));
    PlaceInTwips(lRestorePIN, 360, 2790, 1695, 255);
    nRestorePIN = new QLineEdit(Frame1);
    nRestorePIN->setObjectName(QStringLiteral("nRestorePIN"));
    nRestorePIN->setMaxLength(kPinLength);
    // Digits only, whether typed, pasted or dropped.
    nRestorePIN->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,4}")), nRestorePIN));
    PlaceInTwips(nRestorePIN, 2160, 2745, 735, 315);
    lRestorePIN->hide();
    nRestorePIN->hide();

    chkOverrideAutoOff = MakeCheck(Frame1, "chkOverrideAutoOff", "Override Auto-Off time", 3180);
    cAutoOffMinutes = new QComboBox(Frame1);
    cAutoOffMinutes->setObjectName(QStringLiteral("cAutoOffMinutes"));
    PlaceInTwips(cAutoOffMinutes, 360, 3480, 2055, 315);
    {
        // Filling a list selects its first entry by itself.
        const QSignalBlocker quiet(cAutoOffMinutes);
        for (const char* choice : kAutoOffChoices) {
            cAutoOffMinutes->addItem(QString::fromLatin1(choice));
        }
        cAutoOffMinutes->setCurrentIndex(-1);
    }
    cAutoOffMinutes->setEnabled(false);
}

void OperationTab::BuildResponseCodes() {
    Frame2 = new QGroupBox(tr("Response Codes"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    PlaceInTwips(Frame2, 3720, 60, 3600, 3015);

    btnResponseCodes = MakeButton(Frame2, "btnResponseCodes", "Define ...");
    PlaceInTwips(btnResponseCodes, 120, 300, 1215, 345);
    chkExceptionsCapture = new QCheckBox(tr("Capture Exceptions for Reporting"), Frame2);
    chkExceptionsCapture->setObjectName(QStringLiteral("chkExceptionsCapture"));
    PlaceInTwips(chkExceptionsCapture, 120, 780, 3360, 255);
    lExceptionsFile = new QLabel(tr("Exceptions File:"), Frame2);
    lExceptionsFile->setObjectName(QStringLiteral("lExceptionsFile"));
    PlaceInTwips(lExceptionsFile, 120, 1110, 1455, 255);
    cExceptionsFile = new QLineEdit(Frame2);
    cExceptionsFile->setObjectName(QStringLiteral("cExceptionsFile"));
    cExceptionsFile->setReadOnly(true);
    PlaceInTwips(cExceptionsFile, 120, 1380, 3360, 315);
    btnExceptionsFile = MakeButton(Frame2, "btnExceptionsFile", "Change ...");
    PlaceInTwips(btnExceptionsFile, 120, 1800, 1035, 345);
    btnReportExceptions = MakeButton(Frame2, "btnReportExceptions", "Report ...");
    PlaceInTwips(btnReportExceptions, 1260, 1800, 1035, 345);
    chkReportSep = new QCheckBox(tr("Separate Pages by Exception"), Frame2);
    chkReportSep->setObjectName(QStringLiteral("chkReportSep"));
    PlaceInTwips(chkReportSep, 120, 2280, 3360, 255);
    for (QWidget* control :
         std::initializer_list<QWidget*>{lExceptionsFile, cExceptionsFile, btnExceptionsFile,
                                         btnReportExceptions, chkReportSep}) {
        control->hide();
    }
}

void OperationTab::Connect() {
    clsConfig& config = context_.services.config;
    const auto storeFlag = [this](QCheckBox* check, std::string clsConfig::*flag) {
        connect(check, &QCheckBox::toggled, this, [this, flag](bool ticked) {
            if (!context_.state.mLoading) {
                context_.services.config.*flag = FlagText(ticked);
            }
        });
    };
    storeFlag(chkReportSep, &clsConfig::SeparateExceptions);
    storeFlag(chkRTL, &clsConfig::RightToLeft);
    storeFlag(chkUseInitials, &clsConfig::UseInitials);
    storeFlag(chkShowPriorReadings, &clsConfig::ShowPriorReadings);
    storeFlag(chkShowExpectedRange, &clsConfig::ShowExpectedRange);
    storeFlag(chkRetainDownloadFilesbyRoute, &clsConfig::RetainDownloadFilesByRoute);

    connect(chkExceptionsCapture, &QCheckBox::toggled, this, [this](bool ticked) {
        for (QWidget* control :
             std::initializer_list<QWidget*>{lExceptionsFile, cExceptionsFile, btnExceptionsFile,
                                             btnReportExceptions, chkReportSep}) {
            control->setVisible(ticked);
        }
        SaveCaptureExceptions();
    });
    connect(chkJournalling, &QCheckBox::toggled, this, [this, &config](bool ticked) {
        nRestorePIN->setVisible(ticked);
        lRestorePIN->setVisible(ticked);
        if (!context_.state.mLoading) {
            config.Journalling = FlagText(ticked);
        }
    });
    connect(chkOverrideAutoOff, &QCheckBox::toggled, this, [this, &config](bool ticked) {
        cAutoOffMinutes->setEnabled(ticked);
        if (!context_.state.mLoading) {
            config.OverrideAutoOff = FlagText(ticked);
        }
    });
    connect(cAutoOffMinutes, &QComboBox::currentIndexChanged, this, [this, &config](int index) {
        if (!context_.state.mLoading && index >= 0) {
            config.AutoOffMinutes = LeadingMinutes(cAutoOffMinutes->itemText(index));
        }
    });
    for (QRadioButton* option : optMeterID) {
        connect(option, &QRadioButton::toggled, this, [this, &config, option](bool checked) {
            if (checked && !context_.state.mLoading) {
                config.MeterIDChoice = option->property("Tag").toString().toStdString();
            }
        });
    }
    connect(nRestorePIN, &QLineEdit::textChanged, this, [this, &config](const QString& text) {
        // A shorter PIN is not stored: the configuration keeps the last whole one.
        if (!context_.state.mLoading && text.size() == kPinLength) {
            config.RestorePIN = text.toStdString();
        }
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        // Only a move to another control of this window counts: a message
        // box, a popup or another window taking the focus is no leaving.
        if (old != nRestorePIN || now == nullptr || now->window() != nRestorePIN->window() ||
            !now->isVisible() || !now->isEnabled() || pinCheckQueued_) {
            return;
        }
        // Checked, and the focus given back, after the focus change is over.
        pinCheckQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            pinCheckQueued_ = false;
            nRestorePIN_LostFocus();
        });
    });
    connect(cExceptionsFile, &QLineEdit::textChanged, this, [this, &config](const QString& text) {
        if (!context_.state.mLoading) {
            config.ExceptionsFile = text.toStdString();
        }
    });

    connect(btnExceptionsFile, &QPushButton::clicked, this, [this] {
        // Made for this one prompt and gone when it returns, Cancel included.
        frmPrompt prompt(*chooser_, context_.services.messages, window());
        prompt.Display(frmPrompt::kExceptionsFile, 0, {cExceptionsFile, nullptr});
    });
    connect(btnResponseCodes, &QPushButton::clicked, this, [this] {
        if (context_.actions.EditResponseCodes) {
            context_.actions.EditResponseCodes(window());
        }
    });
    connect(btnReportExceptions, &QPushButton::clicked, this, [this] {
        if (context_.actions.ReportExceptions) {
            context_.actions.ReportExceptions(window());
        }
    });
}

void OperationTab::FillAtLoad() {
    const clsConfig& config = context_.services.config;
    chkUseInitials->setChecked(IsTicked(config.UseInitials));
    chkShowExpectedRange->setChecked(IsTicked(config.ShowExpectedRange));
    chkShowPriorReadings->setChecked(IsTicked(config.ShowPriorReadings));
    chkRetainDownloadFilesbyRoute->setChecked(IsTicked(config.RetainDownloadFilesByRoute));
    chkOverrideAutoOff->setChecked(IsTicked(config.OverrideAutoOff));
    nRestorePIN->setText(QString::fromStdString(config.RestorePIN));
    chkRTL->setChecked(IsTicked(config.RightToLeft));
    chkJournalling->setChecked(IsTicked(config.Journalling));
    chkExceptionsCapture->setChecked(IsTicked(config.CaptureExceptions));
    chkReportSep->setChecked(IsTicked(config.SeparateExceptions));
    cExceptionsFile->setText(QString::fromStdString(config.ExceptionsFile));
    nRestorePIN->setText(QString::fromStdString(config.RestorePIN));

    int minutes = -1;
    for (int i = 0; i < cAutoOffMinutes->count() && minutes < 0; ++i) {
        if (LeadingMinutes(cAutoOffMinutes->itemText(i)) == config.AutoOffMinutes) {
            minutes = i;
        }
    }
    cAutoOffMinutes->setCurrentIndex(minutes);

    int meterId = -1;
    for (std::size_t i = 0; i < optMeterID.size() && meterId < 0; ++i) {
        if (config.MeterIDChoice == kMeterIdTags[i]) {
            meterId = static_cast<int>(i);
        }
    }
    SetOptionButton(*meterId_, meterId);
}

void OperationTab::SaveCaptureExceptions() {
    if (!context_.state.mLoading) {
        context_.services.config.CaptureExceptions = FlagText(chkExceptionsCapture->isChecked());
    }
}

void OperationTab::nRestorePIN_LostFocus() {
    const std::string pin = WithoutBlanks(nRestorePIN->text());
    if ((chkJournalling->isChecked() || !pin.empty()) &&
        pin.size() != static_cast<std::size_t>(kPinLength)) {
        context_.services.messages.MessageBox(kPinMessage, kProgramTitle);
        nRestorePIN->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace wexal::desktop
