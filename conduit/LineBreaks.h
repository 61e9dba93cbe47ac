// Texts typed on the handheld or kept by a billing system may hold line
// breaks; inside a line of a text file each would end the line early and
// start a forged one.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

// Turns every CR and LF of `text` from `from` on into a blank. Every line
// of an upload goes through here: memchr looks through many bytes at once
// for the rare break.
inline void BlankLineBreaks(std::string& text, std::size_t from = 0) {
    char* const end = text.data() + text.size();
    for (const char lineBreak : {'\r', '\n'}) {
        char* at = text.data() + std::min(from, text.size());
        while ((at = static_cast<char*>(
                    std::memchr(at, lineBreak, static_cast<std::size_t>(end - at)))) != nullptr) {
            *at++ = ' ';
        }
    }
}
