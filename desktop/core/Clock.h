// The local date and time, for time-stamped names, report headers and the
// dates remembered per handheld unit.
#pragma once

namespace wexal::desktop {

struct LocalDateTime {
    int Year = 0;    // four digits
    int Month = 0;   // 1 to 12
    int Day = 0;     // 1 to 31
    int Hour = 0;    // 0 to 23
    int Minute = 0;  // 0 to 59
    int Second = 0;  // 0 to 59
};

class Clock {
  public:
    virtual ~Clock() = default;

    virtual LocalDateTime Now() const = 0;
};

}  // namespace wexal::desktop
