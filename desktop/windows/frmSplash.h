// The splash window of start-up: the program's picture, its platform and
// version. Its timer fires once, after the interval, to end start-up's wait.
#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <chrono>

namespace wexal::desktop {

class frmSplash final : public QWidget {
    Q_OBJECT

  public:
    static constexpr std::chrono::milliseconds kInterval{5000};

    // The timer runs from here.
    explicit frmSplash(std::chrono::milliseconds interval = kInterval, QWidget* parent = nullptr);

    QLabel* lblPlatform;
    QLabel* lblVersion;
    QTimer* Timer1;

  signals:
    // The timer's first and only firing.
    void TimerFired();

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace wexal::desktop
