#include "platform/sheet/OoxmlText.h"

#include <cctype>
#include <cstdint>

namespace wexal::sheet {

namespace {

constexpr std::size_t kEscapeLength = 7;  // _xHHHH_

// The value of a hexadecimal digit, or -1.
int HexValue(char c) {
    if (std::isxdigit(static_cast<unsigned char>(c)) == 0) {
        return -1;
    }
    return std::isdigit(static_cast<unsigned char>(c)) != 0
               ? c - '0'
               : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
}

// The code of the escape starting at `at`, or -1 when none starts there.
long EscapeAt(std::string_view text, std::size_t at) {
    if (text.size() - at < kEscapeLength || text[at] != '_' || text[at + 1] != 'x' ||
        text[at + 6] != '_') {
        return -1;
    }
    long code = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) {
            return -1;
        }
        code = code * 16 + digit;
    }
    return code;
}

bool IsSurrogate(long code) {
    return code >= 0xD800 && code <= 0xDFFF;
}

char HexDigit(unsigned value) {
    return "0123456789ABCDEF"[value & 0xF];
}

std::string Escape(unsigned code) {
    return std::string("_x00") + HexDigit(code >> 4) + HexDigit(code) + "_";
}

}  // namespace

void DecodeEscapesInPlace(std::string& text, std::size_t from) {
    // An escape's character takes at most three bytes of its seven, so the
    // decoded text never overtakes the text still to be read.
    std::size_t to = from;
    std::string character;
    for (std::size_t at = from; at < text.size();) {
        const long code = EscapeAt(text, at);
        if (code < 0) {
            text[to++] = text[at++];
            continue;
        }
        // A lone half of a surrogate pair names no character.
        character.clear();
        AppendUtf8(character, IsSurrogate(code) ? 0xFFFD : static_cast<std::uint32_t>(code));
        text.replace(to, character.size(), character);
        to += character.size();
        at += kEscapeLength;
    }
    text.resize(to);
}

std::string DecodeEscapes(std::string_view text) {
    std::string out(text);
    DecodeEscapesInPlace(out, 0);
    return out;
}

std::string EncodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        // A carriage return is escaped too: XML readers would turn it into a
        // line feed.
        if (c < 0x20 && c != '\t' && c != '\n') {
            out += Escape(c);
        } else if (c == '_' && EscapeAt(text, at) >= 0) {
            out += Escape('_');
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace wexal::sheet
