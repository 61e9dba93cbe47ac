#include "desktop/core/ShortDate.h"

#include <vector>

namespace wexal::desktop {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// The digits of one part as a number; none for an empty part or any other
// character.
std::optional<int> PartValue(std::string_view part, std::size_t maxDigits) {
    if (part.empty() || part.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::string FormatShortDate(const CalendarDate& date) {
    std::string year = std::to_string(date.Year);
    while (year.size() < 4) {
        year.insert(0, 1, '0');
    }
    return std::to_string(date.Month) + "/" + std::to_string(date.Day) + "/" + year;
}

std::optional<CalendarDate> ReadShortDate(std::string_view text) {
    text = TrimBlanks(text);
    const char separator = text.find('/') != std::string_view::npos ? '/' : '-';
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at == text.size() || text[at] == separator) {
            parts.push_back(text.substr(start, at - start));
            start = at + 1;
        }
    }
    if (parts.size() != 3 || parts[2].size() == 3) {
        return std::nullopt;
    }
    const auto month = PartValue(parts[0], 2);
    const auto day = PartValue(parts[1], 2);
    auto year = PartValue(parts[2], 4);
    if (!month || !day || !year) {
        return std::nullopt;
    }
    if (parts[2].size() <= 2) {
        *year += *year < 30 ? 2000 : 1900;
    }
    if (*year < 100 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return CalendarDate{*year, *month, *day};
}

}  // namespace wexal::desktop
