#include "desktop/windows/frmReport.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <array>
#include <cmath>

#include "desktop/windows/ReportToolbarIcons.h"

namespace wexal::desktop {

namespace {

constexpr double kDotsPerMeter = frmReport::kPageDotsPerInch / 0.0254;

struct ToolbarButton {
    const char* key;
    const char* tooltip;
};

constexpr std::array<ToolbarButton, 6> kButtons = {{
    {"PRINT", "Print to Printer"},
    {"FIRST", "First Page"},
    {"PREV", "Previous Page"},
    {"NEXT", "Next Page"},
    {"LAST", "Last Page"},
    {"CLOSE", "Close Preview"},
}};

ScrollRange RangeOf(const QScrollBar& bar) {
    ScrollRange range;
    range.Shown = bar.isVisibleTo(bar.parentWidget());
    range.Maximum = bar.maximum();
    range.LargeChange = bar.pageStep();
    range.SmallChange = bar.singleStep();
    return range;
}

void SetRange(QScrollBar& bar, const ScrollRange& range) {
    // The value is held within the new range, which moves the page with it.
    bar.setMaximum(range.Maximum);
    bar.setPageStep(range.LargeChange);
    bar.setSingleStep(range.SmallChange);
    bar.setVisible(range.Shown);
}

ScrollModifiers ModifiersOf(Qt::KeyboardModifiers modifiers) {
    modifiers &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (modifiers == Qt::NoModifier) {
        return ScrollModifiers::kNone;
    }
    if (modifiers == Qt::ShiftModifier) {
        return ScrollModifiers::kShift;
    }
    if (modifiers == Qt::ControlModifier) {
        return ScrollModifiers::kCtrl;
    }
    return ScrollModifiers::kOther;
}

}  // namespace

// The page surface: shows the page image and reports presses and drags in
// page inches.
class frmReport::PageView final : public QWidget {
  public:
    explicit PageView(frmReport& owner, QWidget* parent) : QWidget(parent), owner_(owner) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, owner_.page_);
    }
    void mousePressEvent(QMouseEvent* event) override {
        owner_.pressed_ = event->position() / kPageDotsPerInch;
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton) {
            owner_.Drag(event->position() / kPageDotsPerInch);
        }
    }

  private:
    frmReport& owner_;
};

frmReport::frmReport(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowModality(Qt::ApplicationModal);
    setFocusPolicy(Qt::StrongFocus);
    resize(10125 / 15, 5385 / 15);

    page_ = QImage(static_cast<int>(kPageWidthInches * kPageDotsPerInch),
                   static_cast<int>(kPageHeightInches * kPageDotsPerInch), QImage::Format_RGB32);
    page_.setDotsPerMeterX(static_cast<int>(std::lround(kDotsPerMeter)));
    page_.setDotsPerMeterY(static_cast<int>(std::lround(kDotsPerMeter)));
    page_.fill(Qt::white);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    for (const ToolbarButton& button : kButtons) {
        QAction* action = Toolbar1->addAction(ReportToolbarIcon(button.key), QString());
        action->setObjectName(QString::fromLatin1(button.key));
        action->setToolTip(QString::fromLatin1(button.tooltip));
        const std::string word = button.key;
        connect(action, &QAction::triggered, this, [this, word] { Act(word); });
    }

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette shade = Picture1->palette();
    shade.setColor(QPalette::Window, QColor(128, 128, 128));
    Picture1->setPalette(shade);

    Preview = new PageView(*this, Picture1);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setFixedSize(page_.size());
    Preview->setCursor(Qt::OpenHandCursor);

    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { ApplyVerticalScroll(); });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { ApplyHorizontalScroll(); });

    // The window takes the keys: a toolbar button or a bar with the focus
    // would keep the arrows for itself.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setFocusPolicy(Qt::NoFocus);
        child->installEventFilter(this);
    }
    Layout();
}

frmReport::~frmReport() {
    if (loop_ != nullptr) {
        loop_->quit();
    }
}

void frmReport::Act(const std::string& word) {
    // Between two Display calls the caller is drawing: clicks wait for it.
    if (loop_ == nullptr) {
        return;
    }
    action_ = word;
    if (word == "CLOSE") {
        hide();
    }
    loop_->quit();
}

std::string frmReport::Display(const std::string& Title) {
    setWindowTitle(QString::fromStdString(Title));
    action_.clear();
    if (!isVisible()) {
        show();
        activateWindow();
    }
    setFocus();
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
    if (action_.empty()) {
        action_ = "CLOSE";
    }
    if (action_ == "CLOSE") {
        hide();
    } else {
        ClearPage();
        QCoreApplication::processEvents();
    }
    return action_;
}

void frmReport::PageDrawn() {
    Preview->update();
}

void frmReport::ClearPage() {
    page_.fill(Qt::white);
    Preview->update();
}

void frmReport::closeEvent(QCloseEvent* event) {
    // The close box: Display answers "CLOSE".
    if (loop_ != nullptr) {
        action_.clear();
        loop_->quit();
    }
    QWidget::closeEvent(event);
}

void frmReport::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void frmReport::Layout() {
    const int toolbarHeight = Toolbar1->sizeHint().height();
    Toolbar1->setGeometry(0, 0, width(), toolbarHeight);
    const int barThickness = VScroll1->sizeHint().width();
    const int viewWidth = std::max(0, width() - barThickness);
    const int viewHeight = std::max(0, height() - toolbarHeight - barThickness);
    Picture1->setGeometry(0, toolbarHeight, viewWidth, viewHeight);

    const double dpi = kPageDotsPerInch;
    VScroll1->setGeometry(viewWidth, toolbarHeight, barThickness, viewHeight);
    SetRange(*VScroll1, ScrollRangeFor(kPageHeightInches, viewHeight / dpi));
    HScroll1->setGeometry(0, toolbarHeight + viewHeight, viewWidth, barThickness);
    SetRange(*HScroll1, ScrollRangeFor(kPageWidthInches, viewWidth / dpi));
    // The page stands where the bars say, also when their values were
    // already within the new ranges.
    ApplyVerticalScroll();
    ApplyHorizontalScroll();
}

void frmReport::ApplyVerticalScroll() {
    Preview->move(Preview->x(), static_cast<int>(std::lround(PageOffsetInches(VScroll1->value()) *
                                                             kPageDotsPerInch)));
}

void frmReport::ApplyHorizontalScroll() {
    Preview->move(
        static_cast<int>(std::lround(PageOffsetInches(HScroll1->value()) * kPageDotsPerInch)),
        Preview->y());
}

bool frmReport::ScrollByKey(int key, Qt::KeyboardModifiers modifiers) {
    ScrollModifiers held = ModifiersOf(modifiers);
    // Page Up/Down page as Shift+Up/Down, Home/End jump as Ctrl+Up/Down.
    switch (key) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (held != ScrollModifiers::kNone) {
                return false;
            }
            held = ScrollModifiers::kShift;
            key = key == Qt::Key_PageUp ? Qt::Key_Up : Qt::Key_Down;
            break;
        case Qt::Key_Home:
        case Qt::Key_End:
            if (held != ScrollModifiers::kNone) {
                return false;
            }
            held = ScrollModifiers::kCtrl;
            key = key == Qt::Key_Home ? Qt::Key_Up : Qt::Key_Down;
            break;
        default:
            break;
    }
    QScrollBar* bar = nullptr;
    int direction = 0;
    switch (key) {
        case Qt::Key_Up:
            bar = VScroll1;
            direction = -1;
            break;
        case Qt::Key_Down:
            bar = VScroll1;
            direction = 1;
            break;
        case Qt::Key_Left:
            bar = HScroll1;
            direction = -1;
            break;
        case Qt::Key_Right:
            bar = HScroll1;
            direction = 1;
            break;
        default:
            return false;
    }
    const ScrollRange range = RangeOf(*bar);
    bar->setValue(MovedValue(bar->value(), direction * KeyStep(range, held), range.Maximum));
    return true;
}

void frmReport::keyPressEvent(QKeyEvent* event) {
    if (!ScrollByKey(event->key(), event->modifiers())) {
        QWidget::keyPressEvent(event);
    }
}

bool frmReport::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        ScrollByKey(static_cast<QKeyEvent*>(event)->key(),
                    static_cast<QKeyEvent*>(event)->modifiers())) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmReport::Drag(QPointF pagePoint) {
    const QPointF moved = (pagePoint - pressed_) * 100;
    HScroll1->setValue(DraggedValue(HScroll1->value(), moved.x(), HScroll1->maximum()));
    VScroll1->setValue(DraggedValue(VScroll1->value(), moved.y(), VScroll1->maximum()));
}

}  // namespace wexal::desktop
