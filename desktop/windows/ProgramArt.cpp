#include "desktop/windows/ProgramArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace wexal::desktop {

namespace {

const QColor kDeep(16, 64, 112);
const QColor kLight(64, 144, 200);
const QColor kMeter(240, 244, 248);

// A meter dial: the face, its scale and a needle.
void DrawDial(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(kDeep, box.width() / 24));
    painter.setBrush(kMeter);
    painter.drawEllipse(box);
    const QPointF centre = box.center();
    const qreal radius = box.width() / 2;
    painter.setPen(QPen(kDeep, box.width() / 40));
    for (int mark = 0; mark <= 8; ++mark) {
        QLineF tick(centre, centre + QPointF(radius * 0.8, 0));
        tick.setAngle(210 - mark * 30);
        QLineF inner(centre, centre + QPointF(radius * 0.65, 0));
        inner.setAngle(tick.angle());
        painter.drawLine(inner.p2(), tick.p2());
    }
    painter.setPen(QPen(QColor(200, 48, 32), box.width() / 28, Qt::SolidLine, Qt::RoundCap));
    QLineF needle(centre, centre + QPointF(radius * 0.7, 0));
    needle.setAngle(60);
    painter.drawLine(needle);
}

}  // namespace

QPixmap SplashPicture(QSize size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, kLight);
    sky.setColorAt(1, kDeep);
    painter.fillRect(picture.rect(), sky);
    const qreal side = size.height() * 0.55;
    DrawDial(painter,
             QRectF(size.width() - side - size.height() * 0.12, size.height() * 0.12, side, side));
    return picture;
}

QPixmap ProgramLogo(int side) {
    QPixmap logo(side, side);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawDial(painter, QRectF(side * 0.06, side * 0.06, side * 0.88, side * 0.88));
    return logo;
}

}  // namespace wexal::desktop
