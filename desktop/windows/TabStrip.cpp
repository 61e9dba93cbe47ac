#include "desktop/windows/TabStrip.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace wexal::desktop {

namespace {

constexpr int kFrameWidth = 2;

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
}

QRect TabStrip::ClientArea() const {
    // The bar's own height may lag behind while the window is hidden.
    const QRect inner = rect().adjusted(kFrameWidth, tabs_->sizeHint().height() + kFrameWidth,
                                        -kFrameWidth, -kFrameWidth);
    return inner.translated(pos());
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    tabs_->setGeometry(0, 0, width(), tabs_->sizeHint().height());
}

void TabStrip::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, tabs_->sizeHint().height() - 1, 0, 0);
    frame.tabBarSize = tabs_->size();
    frame.shape = QTabBar::RoundedNorth;
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

}  // namespace wexal::desktop
