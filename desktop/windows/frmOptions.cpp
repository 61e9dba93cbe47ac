#include "desktop/windows/frmOptions.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>

#include "desktop/core/WindowPlacement.h"

namespace wexal::desktop {

namespace {

constexpr int kPanelLeftTwips = 210;
constexpr int kParkedLeftTwips = -20000;
constexpr QSize kPanelSize(340, 190);
constexpr int kTabCount = 4;

}  // namespace

frmOptions::frmOptions(Messages& messages, QWidget* parent)
    : QDialog(parent),
      tbsOptions(new QTabBar(this)),
      cmdOK(new QPushButton(tr("OK"), this)),
      cmdCancel(new QPushButton(tr("Cancel"), this)),
      cmdApply(new QPushButton(tr("&Apply"), this)),
      messages_(messages) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(tr("Options"));
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdApply->setObjectName(QStringLiteral("cmdApply"));

    const int left = TwipsToPixels(kPanelLeftTwips);
    for (int i = 0; i < kTabCount; ++i) {
        tbsOptions->addTab(tr("Group %1").arg(i + 1));
    }
    tbsOptions->setGeometry(left, 8, kPanelSize.width(), tbsOptions->sizeHint().height());
    const int panelTop = tbsOptions->geometry().bottom() + 1;
    for (int i = 0; i < kTabCount; ++i) {
        auto* panel = new QWidget(this);
        panel->setObjectName(QStringLiteral("picOptions%1").arg(i));
        panel->setGeometry(i == 0 ? left : TwipsToPixels(kParkedLeftTwips), panelTop,
                           kPanelSize.width(), kPanelSize.height());
        panel->setEnabled(i == 0);
        auto* frame = new QGroupBox(tr("Sample %1").arg(i + 1), panel);
        frame->setObjectName(QStringLiteral("fraSample%1").arg(i + 1));
        frame->setGeometry(panel->rect().adjusted(8, 8, -8, -8));
        picOptions[static_cast<std::size_t>(i)] = panel;
        fraSample[static_cast<std::size_t>(i)] = frame;
    }
    connect(tbsOptions, &QTabBar::currentChanged, this, &frmOptions::tbsOptions_Click);

    const int buttonsTop = panelTop + kPanelSize.height() + 10;
    int buttonLeft = left + kPanelSize.width();
    for (QPushButton* button : {cmdApply, cmdCancel, cmdOK}) {
        button->setAutoDefault(false);
        button->resize(button->sizeHint().expandedTo(QSize(84, 0)));
        buttonLeft -= button->width();
        button->move(buttonLeft, buttonsTop);
        buttonLeft -= 6;
    }
    setFixedSize(left * 2 + kPanelSize.width(), buttonsTop + cmdOK->height() + 10);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        messages_.ShowMessage("Code goes here to set options and close dialog!");
        accept();
    });
    connect(cmdApply, &QPushButton::clicked, this, [this] {
        messages_.ShowMessage("Apply Code goes here to set options w/o closing dialog!");
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    qApp->installEventFilter(this);
}

frmOptions::~frmOptions() {
    qApp->removeEventFilter(this);
}

void frmOptions::tbsOptions_Click(int index) {
    const int left = TwipsToPixels(kPanelLeftTwips);
    for (int i = 0; i < kTabCount; ++i) {
        QWidget* panel = picOptions[static_cast<std::size_t>(i)];
        const bool selected = i == index;
        panel->move(selected ? left : TwipsToPixels(kParkedLeftTwips), panel->y());
        panel->setEnabled(selected);
    }
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const int current = tbsOptions->currentIndex();
    if (key->key() == Qt::Key_Tab && modifiers == Qt::ControlModifier) {
        tbsOptions->setCurrentIndex(current + 1 == kTabCount ? 0 : current + 1);
        return true;
    }
    if ((key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Tab) &&
        modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        tbsOptions->setCurrentIndex(current == 0 ? kTabCount - 1 : current - 1);
        return true;
    }
    return false;
}

}  // namespace wexal::desktop
