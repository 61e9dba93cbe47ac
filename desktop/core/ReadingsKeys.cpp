#include "desktop/core/ReadingsKeys.h"

#include <cstdint>

#include "desktop/core/ExceptionRecord.h"
#include "desktop/core/TextFileLines.h"

namespace wexal::desktop {

namespace {

// Upper case of the Windows-1252 letters: both files are in that code page.
char FoldLetter(char c) {
    const auto byte = static_cast<std::uint8_t>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
        return static_cast<char>(byte - 0x20);
    }
    switch (byte) {
        case 0x9A:  // s caron
        case 0x9C:  // oe
        case 0x9E:  // z caron
            return static_cast<char>(byte - 0x10);
        case 0xFF:  // y diaeresis
            return static_cast<char>(0x9F);
        default:
            return c;
    }
}

std::string Folded(std::string_view key) {
    std::string folded(key);
    for (char& c : folded) {
        c = FoldLetter(c);
    }
    return folded;
}

}  // namespace

ReadingsKeys ReadingsKeys::Load(const std::string& path) {
    ReadingsKeys keys;
    TextFileLines lines(path);
    std::string line;
    while (lines.Next(line)) {
        keys.Add(WithoutLineEnd(line));
    }
    return keys;
}

void ReadingsKeys::Add(std::string_view line) {
    const std::string_view key = line.substr(0, kExceptionKeyWidth);
    if (!key.empty()) {
        keys_.insert(Folded(key));
    }
}

bool ReadingsKeys::Present(std::string_view key) const {
    return !key.empty() && keys_.count(Folded(key)) > 0;
}

}  // namespace wexal::desktop
