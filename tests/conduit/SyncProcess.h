// A whole sync of one handheld in a child process, as the sync manager runs
// one per handheld cradle: its sync log lines go to a file (the child's
// standard error). Children that share a StartGate begin their syncs at once.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "conduit/WexalConduit.h"
#include "platform/palm/SyncManager.h"

namespace wexal::testing {

// Holds children back until it is opened.
class StartGate {
  public:
    StartGate() {
        if (::pipe(fds_) != 0) {
            fds_[0] = fds_[1] = -1;
        }
    }
    ~StartGate() {
        Open();
        if (fds_[0] >= 0) {
            ::close(fds_[0]);
        }
    }
    StartGate(const StartGate&) = delete;
    StartGate& operator=(const StartGate&) = delete;

    // In a child: returns once the parent opened the gate (every copy of
    // the pipe's writing end is closed).
    void Pass() {
        ::close(fds_[1]);
        char byte = 0;
        while (::read(fds_[0], &byte, 1) < 0 && errno == EINTR) {
        }
    }
    void Open() {
        if (fds_[1] >= 0) {
            ::close(fds_[1]);
            fds_[1] = -1;
        }
    }

  private:
    int fds_[2];
};

class SyncProcess {
  public:
    // Starts the child at once; with a gate, its sync waits for the gate.
    // `inChild` runs in the child before the sync (to take another user's
    // ids, say); false ends the child with status 4.
    SyncProcess(const std::filesystem::path& handheld, const std::filesystem::path& log,
                StartGate* gate = nullptr, const std::function<bool()>& inChild = {}) {
        std::fflush(nullptr);
        pid_ = ::fork();
        if (pid_ != 0) {
            return;
        }
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::dup2(fd, STDERR_FILENO);
        }
        if (gate != nullptr) {
            gate->Pass();
        }
        if (inChild && !inChild()) {
            _exit(4);
        }
        if (SyncOpenSession(handheld.c_str()) != kSyncErrNone) {
            _exit(3);
        }
        WexalConduit().Synchronize();
        SyncCloseSession();
        _exit(0);
    }
    ~SyncProcess() {
        if (Running()) {
            Kill();
            Wait();
        }
    }
    SyncProcess(const SyncProcess&) = delete;
    SyncProcess& operator=(const SyncProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    bool Running() {
        if (!Started() || ended_) {
            return false;
        }
        if (::waitpid(pid_, &status_, WNOHANG) == 0) {
            return true;
        }
        ended_ = true;
        return false;
    }
    void Kill() { ::kill(pid_, SIGKILL); }
    // Waits for the child's end; its wait status (-1 when it never started).
    int Wait() {
        if (Started() && !ended_) {
            while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
            }
            ended_ = true;
        }
        return Started() ? status_ : -1;
    }
    // Ended by itself with status 0: the sync ran to its end.
    bool Succeeded() { return Wait() == 0; }

  private:
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = -1;
};

}  // namespace wexal::testing
