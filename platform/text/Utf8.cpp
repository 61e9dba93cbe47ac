#include "platform/text/Utf8.h"

namespace wexal::text {

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::size_t DecodeUtf8(std::string_view bytes, std::size_t at, std::uint32_t& code) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    std::uint32_t decoded = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        decoded = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        decoded = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        decoded = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() - at < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        decoded = (decoded << 6) | (next & 0x3F);
    }
    constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (decoded < kSmallest[length] || decoded > 0x10FFFF ||
        (decoded >= 0xD800 && decoded <= 0xDFFF)) {
        return 0;
    }
    code = decoded;
    return length;
}

bool IsValidUtf8(std::string_view bytes) {
    std::uint32_t code = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = DecodeUtf8(bytes, at, code);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string_view WithoutByteOrderMark(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    return bytes.starts_with(kByteOrderMark) ? bytes.substr(kByteOrderMark.size()) : bytes;
}

}  // namespace wexal::text
