#include "desktop/core/ShortDate.h"

#include <array>
#include <charconv>

namespace wexal::desktop {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// Digits up to the next separator (or the end): their number and count.
bool ReadPart(std::string_view& text, int& value, std::size_t& digits) {
    std::size_t length = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') {
        ++length;
    }
    if (length == 0 || length > 4) {
        return false;
    }
    std::from_chars(text.data(), text.data() + length, value);
    digits = length;
    text.remove_prefix(length);
    return true;
}

}  // namespace

std::string FormatShortDate(const CalendarDate& date) {
    return std::to_string(date.Month) + "/" + std::to_string(date.Day) + "/" +
           std::to_string(date.Year);
}

std::optional<CalendarDate> ParseShortDate(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    std::array<int, 3> parts{};
    std::size_t yearDigits = 0;
    char separator = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::size_t digits = 0;
        if (!ReadPart(text, parts[i], digits)) {
            return std::nullopt;
        }
        if (i < 2) {
            if (text.empty() ||
                (text.front() != '/' && text.front() != '-' && text.front() != '.') ||
                (separator != 0 && text.front() != separator)) {
                return std::nullopt;
            }
            separator = text.front();
            text.remove_prefix(1);
        }
        yearDigits = digits;
    }
    if (!text.empty()) {
        return std::nullopt;
    }
    CalendarDate date{parts[2], parts[0], parts[1]};
    if (yearDigits <= 2) {
        const int century = kCenturyWindowStart / 100 * 100;
        date.Year += century;
        if (date.Year < kCenturyWindowStart) {
            date.Year += 100;
        }
    } else if (date.Year < 100) {
        return std::nullopt;
    }
    if (date.Month < 1 || date.Month > 12 || date.Day < 1 ||
        date.Day > DaysInMonth(date.Year, date.Month)) {
        return std::nullopt;
    }
    return date;
}

}  // namespace wexal::desktop
