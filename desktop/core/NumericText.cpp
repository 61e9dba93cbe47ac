#include "desktop/core/NumericText.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "desktop/core/DesktopError.h"

namespace wexal::desktop {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void Fail(std::int32_t number, std::string_view key, std::string_view text,
                       std::string_view file) {
    throw DesktopError(number, ErrorDescription(number), std::string(key), std::string(text),
                       std::string(file));
}

// The text boxes also take the old "D" exponent; numbers that programs wrote
// know only "E".
enum class ExponentLetters { kEOrD, kEOnly };

// The longest decimal number at the start of `text` (sign, digits with at most
// one ".", exponent), in the form from_chars reads: no "+", "e" for the
// exponent. `used` receives how many characters of `text` it took; an empty
// result means no digit was found.
std::string LeadingDecimal(std::string_view text, std::size_t& used,
                           ExponentLetters letters = ExponentLetters::kEOrD) {
    std::string number;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        if (text[at] == '-') {
            number += '-';
        }
        ++at;
    }
    bool digits = false;
    bool point = false;
    for (; at < text.size(); ++at) {
        if (IsDigit(text[at])) {
            digits = true;
        } else if (text[at] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number += text[at];
    }
    if (!digits) {
        used = 0;
        return {};
    }
    used = at;
    // An exponent counts only when a digit follows its letter (and sign).
    const bool dExponent = letters == ExponentLetters::kEOrD;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e' ||
                             (dExponent && (text[at] == 'D' || text[at] == 'd')))) {
        std::size_t next = at + 1;
        std::string exponent = "e";
        if (next < text.size() && (text[next] == '+' || text[next] == '-')) {
            exponent += text[next];
            ++next;
        }
        if (next < text.size() && IsDigit(text[next])) {
            while (next < text.size() && IsDigit(text[next])) {
                exponent += text[next];
                ++next;
            }
            number += exponent;
            used = next;
        }
    }
    return number;
}

// For a number from_chars found out of range: true when it is too large, false
// when it is too close to zero (which reads as 0). The power of ten of its
// first significant digit decides.
bool TooLarge(std::string_view number) {
    const std::size_t letter = number.find('e');
    const std::string_view mantissa = number.substr(0, letter);
    long long exponent = 0;
    if (letter != std::string_view::npos) {
        std::string_view digits = number.substr(letter + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
            digits.remove_prefix(1);
        }
        // Exponents too long to count are far beyond either end.
        if (digits.size() > 9) {
            return !negative;
        }
        std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        exponent = negative ? -exponent : exponent;
    }
    long long place = 0;   // digits of the mantissa before its point
    long long first = -1;  // place of the first significant digit
    long long seen = 0;
    bool point = false;
    for (char c : mantissa) {
        if (c == '.') {
            point = true;
        } else if (IsDigit(c)) {
            if (first < 0 && c != '0') {
                first = seen;
            }
            ++seen;
            place += point ? 0 : 1;
        }
    }
    return first >= 0 && place - first + exponent > 0;
}

// from_chars of a number LeadingDecimal made; false when beyond a double's
// range (a number too close to zero gives 0).
bool ParseDecimal(const std::string& number, double& value) {
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (TooLarge(number)) {
            return false;
        }
        value = number.front() == '-' ? -0.0 : 0.0;
    }
    return true;
}

// "&H1F" or "&O17" (letters in either case) at the start: the digits up to the
// first one that does not belong; no digit gives 0.
double LeadingRadixNumber(std::string_view text, unsigned radix) {
    double value = 0;
    for (char c : text) {
        unsigned digit = 0;
        if (IsDigit(c)) {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else {
            break;
        }
        if (digit >= radix) {
            break;
        }
        value = value * radix + digit;
    }
    return value;
}

// The number `text` begins with, 0 when none; `original` goes into the error.
double LeadingNumberValue(std::string_view text, ExponentLetters letters,
                          std::string_view original) {
    std::size_t used = 0;
    const std::string number = LeadingDecimal(text, used, letters);
    if (number.empty()) {
        return 0;
    }
    double value = 0;
    if (!ParseDecimal(number, value)) {
        Fail(kErrorOverflow, {}, original, {});
    }
    return value;
}

}  // namespace

std::int16_t RoundToInteger16(double value, std::string_view key, std::string_view text,
                              std::string_view file) {
    // The default rounding mode of the floating-point unit rounds halves to
    // even; make sure nobody changed it.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double whole = std::nearbyint(value);
    std::fesetround(mode);
    if (!(whole >= -32768.0 && whole <= 32767.0)) {
        Fail(kErrorOverflow, key, text, file);
    }
    return static_cast<std::int16_t>(whole);
}

std::int16_t ToInteger16(std::string_view text, std::string_view key, std::string_view file) {
    std::string_view body = text;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!body.empty() && blank(body.front())) {
        body.remove_prefix(1);
    }
    while (!body.empty() && blank(body.back())) {
        body.remove_suffix(1);
    }
    std::size_t used = 0;
    const std::string number = LeadingDecimal(body, used);
    if (number.empty() || used != body.size()) {
        Fail(kErrorTypeMismatch, key, text, file);
    }
    double value = 0;
    if (!ParseDecimal(number, value)) {
        Fail(kErrorOverflow, key, text, file);
    }
    return RoundToInteger16(value, key, text, file);
}

double NumericValue(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact += c;
        }
    }
    if (compact.size() >= 2 && compact[0] == '&') {
        if (compact[1] == 'H' || compact[1] == 'h') {
            return LeadingRadixNumber(std::string_view(compact).substr(2), 16);
        }
        if (compact[1] == 'O' || compact[1] == 'o') {
            return LeadingRadixNumber(std::string_view(compact).substr(2), 8);
        }
    }
    return LeadingNumberValue(compact, ExponentLetters::kEOrD, text);
}

double LeadingDecimalValue(std::string_view text) {
    return LeadingNumberValue(text, ExponentLetters::kEOnly, text);
}

}  // namespace wexal::desktop
