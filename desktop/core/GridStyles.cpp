#include "desktop/core/GridStyles.h"

#include "desktop/core/ShortDate.h"

namespace wexal::desktop {

bool IsEditableStyle(std::int32_t style) {
    return style > 0;
}

bool IsNumberStyle(std::int32_t style) {
    return (style >= kStyleShortInteger && style <= kStyleCurrency) || style == kStyleDecimal;
}

std::int32_t DefaultEditLength(const QvGridColumn& column) {
    if (column.MaxLen != 0) {
        // A negative length would make no sense as a limit: none.
        return column.MaxLen > 0 ? column.MaxLen : 0;
    }
    switch (column.Style) {
        case kStyleShortInteger:
            return 4;
        case kStyleLongInteger:
            return 9;
        case kStyleSingle:
            return 5;
        case kStyleDouble:
        case kStyleCurrency:
            return 14;
        case kStyleDate:
            return static_cast<std::int32_t>(FormatShortDate({1999, 12, 31}).size());
        case kStyleYesNo:
            return 3;
        default:
            return 0;
    }
}

std::int16_t StyleAlignment(std::int32_t style) {
    if (IsNumberStyle(style)) {
        return kAlignRight;
    }
    if (style == kStyleDate || style == kStyleYesNo || style == kStyleCheckMark) {
        return kAlignCentre;
    }
    return kAlignLeft;
}

std::optional<std::int16_t> EditorAlignment(std::int32_t style) {
    if (style >= kStyleShortInteger && style <= kStyleCurrency) {
        return kAlignRight;
    }
    if (style == kStyleDate || style == kStyleYesNo || style == kStyleCheckMark) {
        return kAlignCentre;
    }
    if (style == kStyleText || style == kStyleUpperText) {
        return kAlignLeft;
    }
    return std::nullopt;
}

std::optional<std::string> WidthSample(std::int32_t style, std::int16_t maxLen) {
    switch (style) {
        case kStyleShortInteger:
            return std::string(5, '0') + "X";
        case kStyleLongInteger:
        case kStyleDecimal:
            return std::string(7, '0') + "X";
        case kStyleSingle:
            return std::string(6, '0') + "X";
        case kStyleDouble:
        case kStyleCurrency:
            return std::string(14, '0') + "X";
        case kStyleDate:
            return "99/99/9999X";
        case kStyleText:
        case kStyleUpperText:
            return std::string(maxLen > 0 ? maxLen : 0, 'X');
        case kStyleYesNo:
            return "YesXX";
        default:
            return std::nullopt;
    }
}

std::vector<std::string> ValueListEntries(const std::string& valueList) {
    std::vector<std::string> entries;
    if (valueList.empty()) {
        return entries;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = valueList.find(',', start);
        std::string piece = valueList.substr(start, comma - start);
        const std::size_t semicolon = piece.find(';');
        entries.push_back(semicolon == std::string::npos ? piece : piece.substr(semicolon + 1));
        if (comma == std::string::npos) {
            return entries;
        }
        start = comma + 1;
    }
}

}  // namespace wexal::desktop
