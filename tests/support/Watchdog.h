// Ends the test process when the work it guards neither returns within a
// generous while nor keeps the process's memory within a bound: a reader that
// waits on a FIFO, or reads a device without end, then fails the test instead
// of hanging it or exhausting the machine.
#pragma once

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

namespace wexal::testing {

class Watchdog {
  public:
    explicit Watchdog(std::string what, std::chrono::seconds patience = std::chrono::seconds(30),
                      std::size_t growthBound = std::size_t(1) << 30)
        : what_(std::move(what)),
          thread_([this, patience, growthBound] { Watch(patience, growthBound); }) {}
    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        woken_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

  private:
    static std::size_t ResidentBytes() {
        std::ifstream statm("/proc/self/statm");
        std::size_t size = 0;
        std::size_t resident = 0;
        statm >> size >> resident;
        return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    }

    void Watch(std::chrono::seconds patience, std::size_t growthBound) {
        const std::size_t before = ResidentBytes();
        const auto deadline = std::chrono::steady_clock::now() + patience;
        std::unique_lock lock(mutex_);
        while (!woken_.wait_for(lock, std::chrono::milliseconds(20), [this] { return done_; })) {
            const char* failure = ResidentBytes() > before + growthBound ? "grew without bound"
                                  : std::chrono::steady_clock::now() > deadline ? "never returned"
                                                                                : nullptr;
            if (failure != nullptr) {
                std::fprintf(stderr, "%s: %s\n", what_.c_str(), failure);
                std::_Exit(1);
            }
        }
    }

    std::string what_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool done_ = false;
    std::thread thread_;  // last: it starts with every other member in place
};

}  // namespace wexal::testing
