// The program's short date, M/d/yyyy with "/": the form the date cells are
// typed in, the date prompt answers in and pasted dates must have.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wexal::desktop {

struct CalendarDate {
    int Year = 0;
    int Month = 0;
    int Day = 0;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// "12/31/1999", "1/5/2024".
std::string FormatShortDate(const CalendarDate& date);

// A text that names a real date as month, day and year separated by "/" or
// "-" (one kind in a text), blanks around it aside. The year has 1, 2 or 4
// digits; years of two digits or fewer 00 to 29 are 2000 to 2029, 30 to 99
// are 1930 to 1999.
std::optional<CalendarDate> ReadShortDate(std::string_view text);

}  // namespace wexal::desktop
