#include "desktop/windows/ReportToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace wexal::desktop {

namespace {

constexpr int kSize = 16;

QPainterPath Triangle(bool pointingLeft, qreal left, qreal right) {
    QPainterPath path;
    if (pointingLeft) {
        path.moveTo(right, 3);
        path.lineTo(right, 13);
        path.lineTo(left, 8);
    } else {
        path.moveTo(left, 3);
        path.lineTo(left, 13);
        path.lineTo(right, 8);
    }
    path.closeSubpath();
    return path;
}

void DrawPrinter(QPainter& painter) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 1.5, 7, 5));  // paper going in
    painter.setBrush(QColor(150, 150, 150));
    painter.drawRect(QRectF(1.5, 6.5, 13, 6));  // body
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 10.5, 7, 4));  // page coming out
}

}  // namespace

QIcon ReportToolbarIcon(std::string_view key) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor arrow(0, 70, 160);
    painter.setPen(Qt::NoPen);
    painter.setBrush(arrow);
    if (key == "PRINT") {
        DrawPrinter(painter);
    } else if (key == "FIRST") {
        painter.drawRect(QRectF(3, 3, 2, 10));
        painter.drawPath(Triangle(true, 5, 13));
    } else if (key == "PREV") {
        painter.drawPath(Triangle(true, 4, 12));
    } else if (key == "NEXT") {
        painter.drawPath(Triangle(false, 4, 12));
    } else if (key == "LAST") {
        painter.drawPath(Triangle(false, 3, 11));
        painter.drawRect(QRectF(11, 3, 2, 10));
    } else if (key == "CLOSE") {
        painter.setPen(QPen(QColor(170, 20, 20), 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(4, 4), QPointF(12, 12));
        painter.drawLine(QPointF(12, 4), QPointF(4, 12));
    }
    painter.end();
    return QIcon(pixmap);
}

}  // namespace wexal::desktop
