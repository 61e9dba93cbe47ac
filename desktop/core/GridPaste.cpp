#include "desktop/core/GridPaste.h"

#include <array>
#include <charconv>
#include <cmath>

#include "desktop/core/GridStyles.h"
#include "desktop/core/LetterCase.h"
#include "desktop/core/NumericText.h"
#include "desktop/core/QvGridColumn.h"
#include "desktop/core/ShortDate.h"

namespace wexal::desktop {

namespace {

std::string NumberText(double value) {
    if (value == 0) {
        return "0";  // no "-0"
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A one-line edit box takes a pasted text up to its first line break.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

GridPaste PasteForStyle(std::int32_t style, const std::string& clipboard) {
    using Kind = GridPaste::Kind;
    if (IsNumberStyle(style)) {
        double value = 0;
        try {
            value = NumericValue(clipboard);
        } catch (...) {
            return {Kind::kBeep, {}};  // beyond any number a cell can hold
        }
        if (style == kStyleShortInteger || style == kStyleLongInteger) {
            value = std::floor(value);
        }
        return {Kind::kReplaceText, NumberText(value)};
    }
    switch (style) {
        case kStyleDate:
            if (ParseShortDate(clipboard)) {
                return {Kind::kReplaceText, TrimBlanks(clipboard)};
            }
            return {Kind::kBeep, {}};
        case kStyleUpperText:
            return {Kind::kReplaceText, UpperCaseUtf8(FirstLine(clipboard))};
        case kStyleYesNo:
        case kStyleCheckMark:
        case kStyleValueList:
            return {Kind::kNothing, {}};
        default:
            return {Kind::kInsertText, FirstLine(clipboard)};
    }
}

}  // namespace wexal::desktop
