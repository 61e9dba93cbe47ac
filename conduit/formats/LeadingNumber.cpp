#include "conduit/formats/LeadingNumber.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

#include "conduit/TrailingWhiteSpace.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return at;
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

void AssignZeroPaddedInteger(std::string& out, std::string_view text, int digits) {
    const std::int64_t value = LeadingInteger(text);
    char number[24];
    const char* const end = std::to_chars(number, number + sizeof number, value).ptr;
    const char* const magnitude = value < 0 ? number + 1 : number;
    const auto length = static_cast<std::size_t>(end - number);
    const std::size_t width = static_cast<std::size_t>(std::clamp(digits, 0, 31));
    const std::size_t zeros = width > length ? width - length : 0;
    // Built in place: the digits are out of `text` by now.
    out.assign(value < 0 ? 1 : 0, '-');
    out.append(zeros, '0').append(magnitude, end);
}

double LeadingDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsWhiteSpace(text[at])) {
        ++at;
    }
    const std::size_t start = at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const std::size_t wholeStart = at;
    at = SkipDigits(text, at);
    std::size_t digits = at - wholeStart;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = at + 1;
        at = SkipDigits(text, fraction);
        digits += at - fraction;
    }
    if (digits == 0) {
        return 0.0;
    }
    // An exponent counts only with digits of its own ("12e" is 12).
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t end = SkipDigits(text, exponent);
        if (end > exponent) {
            at = end;
        }
    }
    // Only the decimal form reaches strtod (no hexadecimal, no "inf"), and
    // in the C locale, so that "12.5" never stops at a locale's comma.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string number(text.substr(start, at - start));
    return cLocale != locale_t{} ? strtod_l(number.c_str(), nullptr, cLocale)
                                 : strtod(number.c_str(), nullptr);
}
