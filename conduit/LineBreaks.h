// Texts typed on the handheld or kept by a billing system may hold line
// breaks; inside a line of a text file each would end the line early and
// start a forged one.
#pragma once

#include <algorithm>
#include <string>

// Turns every CR and LF of `text` from `from` on into a blank.
inline void BlankLineBreaks(std::string& text, std::size_t from = 0) {
    std::replace_if(
        text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
        [](char c) { return c == '\r' || c == '\n'; }, ' ');
}
