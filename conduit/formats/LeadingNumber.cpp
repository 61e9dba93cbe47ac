#include "conduit/formats/LeadingNumber.h"

#include <limits>

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::int64_t LeadingInteger(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsWhiteSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // Accumulated as a negative number: its range reaches one further.
    constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        if (value < (kLowest + digit) / 10) {
            value = kLowest;
            break;
        }
        value = value * 10 - digit;
    }
    if (negative) {
        return value;
    }
    return value == kLowest ? std::numeric_limits<std::int64_t>::max() : -value;
}
