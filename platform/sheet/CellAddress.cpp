#include "platform/sheet/CellAddress.h"

#include <cctype>

namespace wexal::sheet {

namespace {

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

void SkipDollar(std::string_view& text) {
    if (!text.empty() && text.front() == '$') {
        text.remove_prefix(1);
    }
}

}  // namespace

std::string ColumnLetters(std::int64_t column) {
    std::string letters;
    while (column > 0) {
        const std::int64_t digit = (column - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

std::optional<std::int32_t> ParseColumnLetters(std::string_view letters) {
    std::int32_t column = 0;
    std::size_t count = 0;
    for (char c : letters) {
        if (!IsLetter(c)) {
            break;
        }
        column = column * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
        if (column > kMaxColumns) {
            return std::nullopt;
        }
        ++count;
    }
    if (count == 0) {
        return std::nullopt;
    }
    return column;
}

std::optional<CellAddress> ParseCellAddress(std::string_view text) {
    SkipDollar(text);
    std::size_t letters = 0;
    while (letters < text.size() && IsLetter(text[letters])) {
        ++letters;
    }
    const auto column = ParseColumnLetters(text.substr(0, letters));
    if (!column) {
        return std::nullopt;
    }
    text.remove_prefix(letters);
    SkipDollar(text);
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t row = 0;
    for (char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        row = row * 10 + (c - '0');
        if (row > kMaxRows) {
            return std::nullopt;
        }
    }
    if (row < 1) {
        return std::nullopt;
    }
    return CellAddress{static_cast<std::int32_t>(row), *column};
}

std::optional<std::pair<CellAddress, CellAddress>> ParseRangeAddress(std::string_view text) {
    const std::size_t colon = text.find(':');
    const auto first = ParseCellAddress(text.substr(0, colon));
    if (!first) {
        return std::nullopt;
    }
    if (colon == std::string_view::npos) {
        return std::pair{*first, *first};
    }
    const auto last = ParseCellAddress(text.substr(colon + 1));
    if (!last) {
        return std::nullopt;
    }
    return std::pair{*first, *last};
}

std::string FormatCellAddress(CellAddress address) {
    return ColumnLetters(address.column) + std::to_string(address.row);
}

}  // namespace wexal::sheet
