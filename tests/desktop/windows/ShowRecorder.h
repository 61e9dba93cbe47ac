// Records which windows were shown, and when, while it lives: a test of
// start-up sees the splash and the main window come and go.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

namespace wexal::testing {

class ShowRecorder final : public QObject {
  public:
    struct Shown {
        std::string window;  // the window's objectName
        qint64 atMs;         // since the recorder was made
    };

    ShowRecorder() {
        clock_.start();
        qApp->installEventFilter(this);
    }
    ~ShowRecorder() override { qApp->removeEventFilter(this); }

    const std::vector<Shown>& All() const { return shown_; }
    // When the named window was first shown, if it was.
    std::optional<qint64> FirstShown(const std::string& window) const {
        for (const Shown& shown : shown_) {
            if (shown.window == window) {
                return shown.atMs;
            }
        }
        return std::nullopt;
    }
    qint64 ElapsedMs() const { return clock_.elapsed(); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            shown_.push_back({watched->objectName().toStdString(), clock_.elapsed()});
        }
        return false;
    }

  private:
    QElapsedTimer clock_;
    std::vector<Shown> shown_;
};

}  // namespace wexal::testing
