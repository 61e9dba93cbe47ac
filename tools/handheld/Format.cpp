#include "tools/handheld/Format.h"

#include <cstdio>
#include <ctime>

namespace wexal::handheld {

namespace {
bool Printable(unsigned char c) {
    return c >= 0x20 && c < 0x7F;
}
}  // namespace

std::string FourCCText(uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        auto c = static_cast<unsigned char>(code >> shift);
        if (!Printable(c)) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "0x%08X", code);
            return buf;
        }
        text += static_cast<char>(c);
    }
    return text;
}

std::string QuoteText(const std::string& bytes) {
    std::string out = "\"";
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (Printable(c)) {
            out += ch;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    out += '"';
    return out;
}

std::string HexDump(const std::vector<uint8_t>& bytes, const std::string& indent) {
    std::string out;
    for (std::size_t line = 0; line < bytes.size(); line += 16) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04zX ", line);
        out += indent;
        out += buf;
        std::string ascii;
        for (std::size_t i = line; i < line + 16; ++i) {
            if (i == line + 8) {
                out += ' ';
            }
            if (i < bytes.size()) {
                std::snprintf(buf, sizeof buf, " %02X", bytes[i]);
                out += buf;
                ascii += Printable(bytes[i]) ? static_cast<char>(bytes[i]) : '.';
            } else {
                out += "   ";
            }
        }
        out += "  |" + ascii + "|\n";
    }
    return out;
}

DecodedRecord DecodeRecord(const std::vector<uint8_t>& bytes, std::size_t wordCount) {
    DecodedRecord rec;
    if (bytes.size() < 2 * wordCount) {
        rec.tooShort = true;
        return rec;
    }
    std::size_t pos = 0;
    for (std::size_t i = 0; i < wordCount; ++i, pos += 2) {
        rec.words.push_back(static_cast<uint16_t>((bytes[pos] << 8) | bytes[pos + 1]));
    }
    std::string text;
    for (; pos < bytes.size(); ++pos) {
        if (bytes[pos] == 0) {
            rec.texts.push_back(text);
            text.clear();
        } else {
            text += static_cast<char>(bytes[pos]);
        }
    }
    if (!text.empty()) {
        rec.hasTrailing = true;
        rec.trailing = text;
    }
    return rec;
}

std::string UtcText(int64_t secondsSince1970) {
    std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm tm{};
    if (gmtime_r(&t, &tm) == nullptr) {
        return std::to_string(secondsSince1970);
    }
    char buf[64];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S UTC", &tm);
    return buf;
}

}  // namespace wexal::handheld
