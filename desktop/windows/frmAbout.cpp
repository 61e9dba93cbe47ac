#include "desktop/windows/frmAbout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QProcess>
#include <QVBoxLayout>

#include "desktop/core/ProgramIdentity.h"
#include "desktop/core/SystemInformation.h"
#include "desktop/windows/ProgramArt.h"

namespace wexal::desktop {

namespace {

constexpr int kLogoSide = 64;

bool StartDetached(const std::string& path) {
    return QProcess::startDetached(QString::fromStdString(path), {});
}

}  // namespace

frmAbout::frmAbout(Messages& messages, QWidget* parent, clsRegistry::Hives hives,
                   ProgramStarter starter)
    : QDialog(parent),
      lblTitle(new QLabel(this)),
      lblVersion(new QLabel(this)),
      lblDescription(new QLabel(this)),
      lblDisclaimer(new QLabel(this)),
      cmdOK(new QPushButton(tr("OK"), this)),
      cmdSysInfo(new QPushButton(tr("&System Info..."), this)),
      messages_(messages),
      hives_(std::move(hives)),
      starter_(starter ? std::move(starter) : StartDetached) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About WexalDT"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    lblTitle->setText(QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion->setText(QString::fromStdString(VersionLabel()));
    lblDescription->setText(QStringLiteral(" "));
    lblDisclaimer->setText(
        tr("This program and its documentation are protected by copyright.\n"
           "Copy or pass them on only as your licence allows."));

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("picIcon"));
    logo->setPixmap(ProgramLogo(kLogoSide));
    logo->setAlignment(Qt::AlignTop);

    // OK is the default button and also answers Esc (the dialog's reject).
    cmdOK->setDefault(true);
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(logo);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addSpacing(12);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::StartSysInfo() {
    const std::optional<std::string> program = SysInfoProgramPath(hives_);
    if (!program || !starter_(*program)) {
        messages_.ShowMessage("System Information Is Unavailable At This Time");
    }
}

}  // namespace wexal::desktop
