// Runs an action just before a chosen opening or locking of a file, to reach
// what a sync does when a file changes between two of its openings (a route
// file replaced after its sort order was verified and before its download),
// or between its opening and its lock.
#pragma once

#include <functional>
#include <string>

namespace wexal::testing {

// While alive, `action` runs once, just before the `nth` opening of `path`
// (1: the next one) by open(2); with `locking`, before the `nth` flock(2) of
// a descriptor of the file that `path` names. With `error`, that opening
// then fails with it.
class BeforeOpening {
  public:
    BeforeOpening(std::string path, int nth, std::function<void()> action, bool locking = false,
                  int error = 0);
    ~BeforeOpening();
    BeforeOpening(const BeforeOpening&) = delete;
    BeforeOpening& operator=(const BeforeOpening&) = delete;

    // Whether the action ran.
    bool Ran() const;
};

}  // namespace wexal::testing
