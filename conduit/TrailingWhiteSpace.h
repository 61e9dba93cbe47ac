// Trimming as the conduit does it: trailing white space only, leading blanks
// stay.
#pragma once

#include <string>

inline void TrimTrailingWhiteSpace(std::string& text) {
    const std::size_t end = text.find_last_not_of(" \t\r\n\v\f");
    text.erase(end == std::string::npos ? 0 : end + 1);
}
