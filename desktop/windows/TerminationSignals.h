// SIGTERM and SIGINT as a Qt signal on the user-interface thread, so that a
// request to end the program closes it as "E&xit" does instead of killing it.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace wexal::desktop {

// One at a time; the default actions come back when it is destroyed.
class TerminationSignals final : public QObject {
    Q_OBJECT

  public:
    TerminationSignals();
    ~TerminationSignals() override;

  signals:
    void Received(int signalNumber);

  private:
    void Drain();

    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace wexal::desktop
