// The user's side of modal windows in a test: steps that wait until their
// window is ready (a dialog shown modally, a window waiting for a click),
// then act on it, run from a timer while the code under test sits in its
// modal loops. A step that waits too long fails the test and closes every
// window, so a stalled script ends instead of hanging.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>
#include <string>

#include "tests/support/WaitUntil.h"

class QWidget;

namespace wexal::testing {

class UiScript final : public QObject {
  public:
    using Ready = std::function<bool()>;
    using Act = std::function<void()>;

    explicit UiScript(std::chrono::milliseconds patience = kHangBound);

    // Adds a step; `what` names it in a failure.
    UiScript& Then(std::string what, Ready ready, Act act);
    // Steps not yet taken.
    std::size_t Left() const { return steps_.size(); }

    // The dialog or window shown modally now, if it is a `T`.
    template <typename T>
    static T* Modal();

  private:
    struct Step {
        std::string what;
        Ready ready;
        Act act;
    };
    void Tick();
    static QWidget* ActiveModal();

    std::deque<Step> steps_;
    QTimer timer_;
    std::chrono::milliseconds patience_;
    std::chrono::steady_clock::time_point since_;
};

template <typename T>
T* UiScript::Modal() {
    return qobject_cast<T*>(ActiveModal());
}

}  // namespace wexal::testing
