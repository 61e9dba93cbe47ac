#include "conduit/ActionPictures.h"

#include <QPainter>
#include <QRect>

namespace wexal::conduit {
namespace {

// A device taking no part in the transfer is drawn in greys.
struct DeviceColours {
    QColor outline;
    QColor body;
    QColor screen;
    QColor detail;
};

const DeviceColours kActiveHandheld{QColor(0, 0, 0), QColor(64, 64, 72), QColor(168, 200, 144),
                                    QColor(200, 200, 200)};
const DeviceColours kActiveComputer{QColor(0, 0, 0), QColor(224, 216, 192), QColor(0, 0, 128),
                                    QColor(96, 96, 96)};
const DeviceColours kIdleDevice{QColor(96, 96, 96), QColor(160, 160, 160), QColor(208, 208, 208),
                                QColor(128, 128, 128)};

const QColor kArrowColour(0, 128, 0);
const QColor kPauseColour(128, 0, 0);

// Rows of the arrows: one centred, or two stacked when both ways.
constexpr int kCentreRow = 11;
constexpr int kUpperRow = 7;
constexpr int kLowerRow = 15;

// Everything is filled pixel-exact: pens and antialiasing would blur
// drawings this small.
void Box(QPainter& painter, const QRect& area, const QColor& outline, const QColor& fill) {
    painter.fillRect(area, outline);
    painter.fillRect(area.adjusted(1, 1, -1, -1), fill);
}

void DrawHandheld(QPainter& painter, const DeviceColours& colours) {
    Box(painter, QRect(3, 1, 12, 22), colours.outline, colours.body);
    Box(painter, QRect(5, 3, 8, 10), colours.outline, colours.screen);
    // Writing area and the row of application buttons.
    painter.fillRect(QRect(5, 14, 8, 3), colours.detail);
    for (int x = 5; x <= 11; x += 3) {
        painter.fillRect(QRect(x, 18, 2, 2), colours.detail);
    }
}

void DrawComputer(QPainter& painter, const DeviceColours& colours) {
    Box(painter, QRect(31, 1, 16, 14), colours.outline, colours.body);
    Box(painter, QRect(33, 3, 12, 9), colours.outline, colours.screen);
    painter.fillRect(QRect(37, 15, 4, 2), colours.outline);
    Box(painter, QRect(30, 17, 18, 6), colours.outline, colours.body);
    painter.fillRect(QRect(32, 19, 14, 2), colours.detail);
}

enum class Direction { ToRight, ToLeft };

// An arrow across the gap between the devices; the shaft is two rows high
// starting at `row`, the head widens by a pixel on each side per column.
void DrawArrow(QPainter& painter, Direction direction, int row) {
    constexpr int kLeft = 17;
    constexpr int kRight = 29;
    constexpr int kHeadLength = 4;
    const bool toRight = direction == Direction::ToRight;
    painter.fillRect(toRight ? QRect(kLeft, row, kRight - kLeft - kHeadLength + 1, 2)
                             : QRect(kLeft + kHeadLength, row, kRight - kLeft - kHeadLength + 1, 2),
                     kArrowColour);
    for (int step = 0; step < kHeadLength; ++step) {
        const int x = toRight ? kRight - step : kLeft + step;
        painter.fillRect(QRect(x, row - step, 1, 2 + 2 * step), kArrowColour);
    }
}

void DrawPauseSign(QPainter& painter) {
    painter.fillRect(QRect(19, 7, 3, 10), kPauseColour);
    painter.fillRect(QRect(25, 7, 3, 10), kPauseColour);
}

}  // namespace

QImage DrawActionPicture(ActionPicture picture, const QColor& ground) {
    QImage image(kActionPictureWidth, kActionPictureHeight, QImage::Format_ARGB32);
    image.fill(ground);
    QPainter painter(&image);

    const bool handheldIdle =
        picture == ActionPicture::ToHandheld || picture == ActionPicture::Pause;
    const bool computerIdle =
        picture == ActionPicture::ToDesktop || picture == ActionPicture::Pause;
    DrawHandheld(painter, handheldIdle ? kIdleDevice : kActiveHandheld);
    DrawComputer(painter, computerIdle ? kIdleDevice : kActiveComputer);

    switch (picture) {
        case ActionPicture::BothWays:
            DrawArrow(painter, Direction::ToRight, kUpperRow);
            DrawArrow(painter, Direction::ToLeft, kLowerRow);
            break;
        case ActionPicture::ToHandheld:
            DrawArrow(painter, Direction::ToLeft, kCentreRow);
            break;
        case ActionPicture::ToDesktop:
            DrawArrow(painter, Direction::ToRight, kCentreRow);
            break;
        case ActionPicture::Pause:
            DrawPauseSign(painter);
            break;
    }
    return image;
}

}  // namespace wexal::conduit
