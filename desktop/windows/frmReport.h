// The exceptions report's print preview: one letter-size page in a window
// that scrolls it with two bars, the arrow keys (Page Up/Down and Home/End
// too) or by dragging, and hands back the toolbar action the user chose.
#pragma once

#include <QImage>
#include <QWidget>
#include <string>

#include "desktop/core/PreviewScrolling.h"

class QEventLoop;
class QScrollBar;
class QToolBar;

namespace wexal::desktop {

class frmReport final : public QWidget {
    Q_OBJECT

  public:
    // Dots per inch of the page surface: 15 twips to a pixel.
    static constexpr int kPageDotsPerInch = 96;

    explicit frmReport(QWidget* parent = nullptr);
    ~frmReport() override;

    // Shows the window with `Title` as its caption and waits for a toolbar
    // action: "PRINT", "FIRST", "PREV", "NEXT", "LAST" or "CLOSE" (also the
    // close box). After "CLOSE" the window is hidden; after any other action
    // it stays on screen with a blank page for the caller to draw the next.
    std::string Display(const std::string& Title);

    // The page surface "Preview", 8.5 x 11 inches at kPageDotsPerInch: paint
    // on it, then call PageDrawn to show it.
    QImage& Page() { return page_; }
    void PageDrawn();
    void ClearPage();

    // Whether Display is waiting for an action.
    bool Waiting() const { return loop_ != nullptr; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class PageView;

    void Act(const std::string& word);
    void Layout();
    void ApplyVerticalScroll();
    void ApplyHorizontalScroll();
    // True when the key moved a bar.
    bool ScrollByKey(int key, Qt::KeyboardModifiers modifiers);
    void Drag(QPointF pagePoint);

    QToolBar* Toolbar1;
    QWidget* Picture1;
    PageView* Preview;
    QScrollBar* VScroll1;
    QScrollBar* HScroll1;
    QImage page_;
    std::string action_;
    QEventLoop* loop_ = nullptr;
    // Where the pointer was pressed on the page, in inches.
    QPointF pressed_;
};

}  // namespace wexal::desktop
