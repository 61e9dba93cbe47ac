// The program's short date: month/day/year as "M/d/yyyy" ("1/2/2027"), the
// form the date prompt and the grid's date cells give back. Dates read with a
// one- or two-digit year fall in 1930 to 2029.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wexal::desktop {

struct CalendarDate {
    int Year = 0;
    int Month = 0;  // 1 to 12
    int Day = 0;    // 1 to 31
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

inline constexpr int kCenturyWindowStart = 1930;

std::string FormatShortDate(const CalendarDate& date);

// Month, day and year separated by "/", "-" or "." (blanks around the whole
// allowed); a year of one or two digits is put in 1930..2029, one of three or
// four taken as written (100 to 9999). Nothing for any other text or a day
// the month does not have.
std::optional<CalendarDate> ParseShortDate(std::string_view text);

}  // namespace wexal::desktop
