#include "desktop/windows/TerminationSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace wexal::desktop {

namespace {

// [0] is written by the handler, [1] read on the user-interface thread.
int pipeEnds[2] = {-1, -1};

void OnSignal(int signalNumber) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
    errno = saved;
}

void Handle(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) {
        throw std::runtime_error("Cannot make the signal channel");
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::Drain);
    Handle(SIGTERM, OnSignal);
    Handle(SIGINT, OnSignal);
}

TerminationSignals::~TerminationSignals() {
    Handle(SIGTERM, SIG_DFL);
    Handle(SIGINT, SIG_DFL);
    notifier_.reset();
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::Drain() {
    unsigned char byte = 0;
    while (::read(pipeEnds[1], &byte, 1) == 1) {
        emit Received(byte);
    }
}

}  // namespace wexal::desktop
