// A test that needs a program or service this machine lacks. A developer
// without it sees the test skipped; CI (CI=true) installs every dependency,
// so there a missing one fails the test rather than letting a check pass
// that never ran.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace wexal::testing {

inline bool RunningInCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string_view(ci) == "true";
}

}  // namespace wexal::testing

// Ends the test: skipped, or failed under CI. `why` names what is missing.
#define WEXAL_MISSING_DEPENDENCY(why)                                                  \
    do {                                                                               \
        if (::wexal::testing::RunningInCi()) {                                         \
            GTEST_FAIL() << (why) << " (CI must have it: it fails rather than skips)"; \
        }                                                                              \
        GTEST_SKIP() << (why);                                                         \
    } while (false)
