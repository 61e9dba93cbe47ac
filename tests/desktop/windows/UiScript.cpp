#include "tests/desktop/windows/UiScript.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace wexal::testing {

UiScript::UiScript(std::chrono::milliseconds patience) : patience_(patience) {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

UiScript& UiScript::Then(std::string what, Ready ready, Act act) {
    steps_.push_back({std::move(what), std::move(ready), std::move(act)});
    if (!timer_.isActive()) {
        since_ = std::chrono::steady_clock::now();
        timer_.start();
    }
    return *this;
}

QWidget* UiScript::ActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal->isVisible() ? modal : nullptr;
}

void UiScript::Tick() {
    if (steps_.empty()) {
        timer_.stop();
        return;
    }
    if (!steps_.front().ready()) {
        if (std::chrono::steady_clock::now() - since_ > patience_) {
            ADD_FAILURE() << "the step \"" << steps_.front().what << "\" never became ready";
            steps_.clear();
            timer_.stop();
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(window)) {
                    dialog->reject();
                } else if (window->isVisible()) {
                    window->close();
                }
            }
        }
        return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    since_ = std::chrono::steady_clock::now();
    step.act();
}

}  // namespace wexal::testing
