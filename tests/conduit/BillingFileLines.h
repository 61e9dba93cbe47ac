// The lines of the readings file and the exceptions-capture file as a
// billing clerk would count them: each reading by its service and value, so
// that a reading lost or written twice shows, and every line that is not
// whole.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace wexal::testing {

using KeyCounts = std::map<std::string, int>;

// The standard readings line and the exceptions-capture line, with CR LF.
inline constexpr std::size_t kStandardReadingLine = 137;
inline constexpr std::size_t kExceptionLine = 370;

inline std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A reading's key: its service and its value.
inline std::string ReadingKey(const std::string& service, const std::string& reading) {
    return TrimBlanks(service) + "|" + TrimBlanks(reading);
}

struct FileLines {
    KeyCounts keys;            // of the whole lines
    std::size_t badLines = 0;  // lines with a line end but of another length
    bool cutLast = false;      // bytes after the last line end
    std::size_t Whole() const {
        std::size_t whole = 0;
        for (const auto& [key, count] : keys) {
            whole += static_cast<std::size_t>(count);
        }
        return whole;
    }
};

// Every line ends with CR LF and is `width` bytes long with it; a line cut
// short and followed by more lines shows as a bad line.
inline FileLines ParseLines(const std::string& text, std::size_t width, std::size_t serviceWidth,
                            std::size_t readingAt, std::size_t readingWidth) {
    FileLines lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.cutLast = true;
            break;
        }
        if (end - at + 2 != width) {
            ++lines.badLines;
        } else {
            ++lines.keys[ReadingKey(text.substr(at, serviceWidth),
                                    text.substr(at + readingAt, readingWidth))];
        }
        at = end + 2;
    }
    return lines;
}

inline FileLines StandardReadingLines(const std::string& text) {
    return ParseLines(text, kStandardReadingLine, 17, 88, 9);
}

inline FileLines ExceptionLines(const std::string& text) {
    return ParseLines(text, kExceptionLine, 20, 87, 10);
}

// Keys found a number of times other than expected, and expected keys
// missing.
inline std::vector<std::string> Mismatches(const KeyCounts& found, const KeyCounts& expected) {
    std::vector<std::string> wrong;
    for (const auto& [key, count] : found) {
        const auto it = expected.find(key);
        if (it == expected.end() || it->second != count) {
            wrong.push_back(key + " x" + std::to_string(count));
        }
    }
    for (const auto& [key, count] : expected) {
        if (found.find(key) == found.end()) {
            wrong.push_back(key + " missing");
        }
    }
    return wrong;
}

}  // namespace wexal::testing
