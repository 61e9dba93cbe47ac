// A tab strip as the main window uses it: a row of tabs over a framed client
// area. The panels are not its children; the window lays them over
// ClientArea() and switches them itself when a tab is clicked.
#pragma once

#include <QTabBar>
#include <QWidget>

namespace wexal::desktop {

class TabStrip final : public QWidget {
    Q_OBJECT

  public:
    explicit TabStrip(QWidget* parent = nullptr);

    QTabBar& Tabs() { return *tabs_; }
    // The area below the tabs, inside the frame, in the parent's coordinates.
    QRect ClientArea() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QTabBar* tabs_;
};

}  // namespace wexal::desktop
