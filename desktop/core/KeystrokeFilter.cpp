#include "desktop/core/KeystrokeFilter.h"

#include <algorithm>
#include <string>

#include "desktop/core/GridStyles.h"
#include "desktop/core/NumericText.h"

namespace wexal::desktop {

namespace {

using Text = std::u16string;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsDateSeparator(char16_t c) {
    return c == u'/' || c == u'-';
}

char16_t UpperAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::int32_t Length(const Text& text) {
    return static_cast<std::int32_t>(text.size());
}

// The value of the number the text begins with (0 when none); characters
// outside ASCII end the number.
double LeadingValue(const Text& text) {
    std::string ascii;
    for (char16_t c : text) {
        ascii += c < 0x80 ? static_cast<char>(c) : '\x7f';
    }
    try {
        return NumericValue(ascii);
    } catch (...) {
        return 0;  // too large for a number: no part of a date or cell length
    }
}

FilterResult Pass(char16_t key, const EditBoxState& box) {
    return {key, box, false};
}

FilterResult Swallow(const EditBoxState& box, bool beep = false) {
    return {0, box, beep};
}

// The filter sets the text as the edit box takes an assigned text: cut to
// the box's length, the caret no further than the end.
FilterResult SwallowWithText(EditBoxState box, Text text, std::int32_t caret,
                             std::int32_t selLength = 0) {
    if (box.MaxLength > 0 && Length(text) > box.MaxLength) {
        text.resize(static_cast<std::size_t>(box.MaxLength));
    }
    box.SelStart = std::clamp(caret, 0, Length(text));
    box.SelLength = std::clamp(selLength, 0, Length(text) - box.SelStart);
    box.Text = std::move(text);
    return {0, box, false};
}

// The text as it would be with the selection deleted.
Text WithoutSelection(const EditBoxState& box) {
    Text text = box.Text;
    const std::int32_t start = std::clamp(box.SelStart, 0, Length(text));
    const std::int32_t length = std::clamp(box.SelLength, 0, Length(text) - start);
    text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    return text;
}

FilterResult FilterYesNo(char16_t key, const EditBoxState& box) {
    Text text;
    switch (UpperAscii(key)) {
        case u'Y':
            text = u"Yes";
            break;
        case u'N':
            text = u"No";
            break;
        case u' ':
            text = !box.Text.empty() && UpperAscii(box.Text[0]) == u'N' ? u"Yes" : u"No";
            break;
        default:
            return Swallow(box);
    }
    return SwallowWithText(box, text, 0, 3);
}

FilterResult FilterCheckMark(char16_t key, const EditBoxState& box) {
    if (key == kKeyBackspace || (key == u' ' && box.Text > Text(u" "))) {
        return SwallowWithText(box, Text(), 0);
    }
    return SwallowWithText(box, u"X", 1);
}

FilterResult FilterNumber(char16_t key, std::int16_t decimals, const EditBoxState& box,
                          double lowerBound) {
    if (key == kKeyBackspace) {
        return Pass(key, box);
    }
    const Text text = WithoutSelection(box);
    const std::int32_t selStart = std::clamp(box.SelStart, 0, Length(text));
    const std::size_t pointAt = text.find(u'.');
    const std::int32_t point = pointAt == Text::npos ? 0 : static_cast<std::int32_t>(pointAt) + 1;
    const bool negative = !text.empty() && text[0] == u'-';
    const Text sign = negative ? u"-" : u"";
    const std::int32_t signLength = negative ? 1 : 0;
    const Text integers =
        text.substr(static_cast<std::size_t>(signLength),
                    point > 0 ? static_cast<std::size_t>(point - 1 - signLength) : Text::npos);
    const Text fraction = point > 0 ? text.substr(static_cast<std::size_t>(point)) : Text();
    const bool inFraction = point > 0 && selStart >= point;
    // A caret before the minus sign counts as the start of the digits.
    const std::int32_t index = inFraction ? std::clamp(selStart - point, 0, Length(fraction))
                                          : std::clamp(selStart - signLength, 0, Length(integers));
    const Text pointAndFraction = point > 0 ? u"." + fraction : Text();

    if (IsDigit(key)) {
        if (!inFraction) {
            return SwallowWithText(box,
                                   sign + integers.substr(0, index) + key +
                                       integers.substr(static_cast<std::size_t>(index)) +
                                       pointAndFraction,
                                   signLength + index + 1);
        }
        if (decimals >= 0 && decimals <= index) {
            return Swallow(box, true);
        }
        Text digits = fraction;
        digits.insert(static_cast<std::size_t>(index), 1, key);
        if (decimals >= 0) {
            digits.resize(std::min(digits.size(), static_cast<std::size_t>(decimals)));
        }
        return SwallowWithText(box, sign + integers + u"." + digits,
                               signLength + Length(integers) + 1 + index + 1);
    }
    if (key == u'.') {
        if (decimals == 0) {
            return Swallow(box);
        }
        if (!inFraction) {
            return SwallowWithText(box, sign + integers.substr(0, index) + u"." + fraction,
                                   signLength + index + 1);
        }
        return SwallowWithText(box, text, point);
    }
    if (key == u'-' && lowerBound < 0 && !negative) {
        return SwallowWithText(box, u"-" + integers + pointAndFraction,
                               (inFraction ? point : 0) + index + 1);
    }
    return Swallow(box);
}

// Dates are typed month, day, year; a part that is complete gets its "/".
FilterResult FilterDate(char16_t key, const EditBoxState& box) {
    const Text text = WithoutSelection(box);
    const std::int32_t length = Length(text);
    const std::int32_t caret = std::clamp(box.SelStart, 0, length);
    // Positions from 1: the last separator before the caret and the first
    // after it.
    std::int32_t last = 0;
    std::int32_t next = length + 1;
    std::int32_t separators = 0;
    std::int32_t partIndex = 0;
    for (std::int32_t position = 1; position <= length; ++position) {
        if (!IsDateSeparator(text[position - 1])) {
            continue;
        }
        ++separators;
        if (position <= caret) {
            ++partIndex;
            last = position;
        } else if (next == length + 1) {
            next = position;
        }
    }

    if (IsDateSeparator(key)) {
        return separators < 2 && last != caret ? Pass(key, box) : Swallow(box);
    }
    if (!IsDigit(key)) {
        return key == kKeyBackspace ? Pass(key, box) : Swallow(box);
    }
    const Text before = text.substr(0, static_cast<std::size_t>(last));
    const Text after = next <= length ? text.substr(static_cast<std::size_t>(next - 1)) : Text();
    const Text part =
        text.substr(static_cast<std::size_t>(last), static_cast<std::size_t>(caret - last)) + key +
        text.substr(static_cast<std::size_t>(caret), static_cast<std::size_t>(next - 1 - caret));
    const std::int32_t typedBefore = caret - last;
    const std::int32_t beforeLength = Length(before);

    if (partIndex == 0 || partIndex == 1) {
        const double limit = partIndex == 0 ? 12 : 31;
        const char16_t lastLeading = partIndex == 0 ? u'1' : u'3';
        Text value = part.substr(0, 2);
        if (LeadingValue(value) > limit && typedBefore == 0) {
            value = value.substr(0, 1);
        }
        if (LeadingValue(value) > limit) {
            return Swallow(box, true);
        }
        if ((value[0] > lastLeading || value.size() == 2) && after.empty()) {
            const Text complete = before + value + u"/";
            return SwallowWithText(box, complete, Length(complete));
        }
        const bool caretAfterFirst =
            typedBefore == 0 && (partIndex == 0 || value[0] <= lastLeading);
        return SwallowWithText(
            box, before + value + after,
            caretAfterFirst ? beforeLength + 1 : beforeLength + Length(value) + 1);
    }
    if (partIndex == 2) {
        const Text value = part.substr(0, 4);
        const Text complete = before + value + after;
        return SwallowWithText(box, complete,
                               typedBefore < 4 ? beforeLength + typedBefore + 1 : Length(complete));
    }
    return Swallow(box);
}

}  // namespace

FilterResult FilterKeyPress(char16_t key, std::int32_t style, std::int16_t decimals,
                            EditBoxState box, double lowerBound) {
    switch (style) {
        case kStyleUpperText:
            return Pass(UpperAscii(key), box);
        case kStyleYesNo:
            return FilterYesNo(key, box);
        case kStyleCheckMark:
            return FilterCheckMark(key, box);
        case kStyleDate:
            return FilterDate(key, box);
        default:
            break;
    }
    if (IsNumberStyle(style)) {
        return FilterNumber(key, decimals, box, lowerBound);
    }
    // Text, value lists, the custom style (whose hook leaves every character
    // as it is) and every other code.
    return Pass(key, box);
}

}  // namespace wexal::desktop
