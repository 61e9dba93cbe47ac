#include "desktop/windows/frmMessage.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "desktop/core/ProgramIdentity.h"

namespace wexal::desktop {

namespace {

constexpr int kTextWidth = 360;

QString Lines(std::string_view text) {
    QString lines = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

}  // namespace

frmMessage::frmMessage(QWidget* parent)
    : QDialog(parent), lMessage(new QLabel(this)), btnOK(new QPushButton(tr("OK"), this)) {
    setObjectName(QStringLiteral("frmMessage"));
    lMessage->setObjectName(QStringLiteral("lMessage"));
    btnOK->setObjectName(QStringLiteral("btnOK"));
    lMessage->setTextFormat(Qt::PlainText);
    lMessage->setWordWrap(true);
    lMessage->setMinimumWidth(kTextWidth);
    lMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lMessage);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    SetMessage("");
}

void frmMessage::SetMessage(std::string_view Message) {
    setWindowTitle(QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()));
    lMessage->setText(Lines(Message));
}

void frmMessage::Display(std::string_view Message, QWidget* owner) {
    frmMessage window(owner);
    window.SetMessage(Message);
    window.btnOK->setFocus();
    window.exec();
}

}  // namespace wexal::desktop
