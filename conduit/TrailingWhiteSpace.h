// Trimming as the conduit does it: trailing white space only, leading blanks
// stay.
#pragma once

#include <string>
#include <string_view>

// White space as isspace knows it in the "C" locale: trimmed behind texts,
// passed over before numbers.
constexpr bool IsWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The length of `text` without its trailing white space, or without its
// trailing blanks alone. Walks back from the end: a set of characters given
// to find_last_not_of would be searched once per character.
constexpr std::size_t LengthWithoutTrailingWhiteSpace(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsWhiteSpace(text[end - 1])) {
        --end;
    }
    return end;
}
constexpr std::size_t LengthWithoutTrailingBlanks(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') {
        --end;
    }
    return end;
}

inline void TrimTrailingWhiteSpace(std::string& text) {
    text.resize(LengthWithoutTrailingWhiteSpace(text));
}
