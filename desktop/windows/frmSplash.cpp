#include "desktop/windows/frmSplash.h"

#include <QPainter>
#include <QVBoxLayout>

#include "desktop/core/ProgramIdentity.h"
#include "desktop/windows/ProgramArt.h"

namespace wexal::desktop {

namespace {

constexpr QSize kSize(480, 280);

QLabel* WhiteLabel(const QString& text, int pointSize, bool bold, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

}  // namespace

frmSplash::frmSplash(std::chrono::milliseconds interval, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(kSize);

    auto* title =
        WhiteLabel(QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()), 30, true, this);
    title->setObjectName(QStringLiteral("lblProductName"));
    auto* purpose = WhiteLabel(tr("Meter readings between the billing system and the handhelds"), 9,
                               false, this);
    purpose->setWordWrap(true);
    lblPlatform = WhiteLabel(QStringLiteral("Linux"), 12, true, this);
    lblPlatform->setObjectName(QStringLiteral("lblPlatform"));
    lblVersion = WhiteLabel(QString::fromStdString(VersionLabel()), 11, false, this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 200, 24);
    layout->addWidget(title);
    layout->addWidget(purpose);
    layout->addStretch();
    layout->addWidget(lblPlatform);
    layout->addWidget(lblVersion);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(interval);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        emit TimerFired();
    });
    Timer1->start();
}

void frmSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, SplashPicture(size()));
}

}  // namespace wexal::desktop
