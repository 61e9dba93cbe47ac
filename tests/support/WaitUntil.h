// Waiting in a test for something to happen, for as long as it takes on a
// slow or loaded machine: the bound only ends a wait that would hang.
#pragma once

#include <chrono>
#include <thread>

namespace wexal::testing {

inline constexpr int kHangBoundMs = 60'000;
inline constexpr std::chrono::milliseconds kHangBound{kHangBoundMs};

// Whether `done` came true (polled) before the hang bound ran out.
template <typename Condition>
bool WaitUntil(Condition done) {
    const auto until = std::chrono::steady_clock::now() + kHangBound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace wexal::testing
