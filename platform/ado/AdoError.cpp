#include "platform/ado/AdoError.h"

#include <cstdio>
#include <string_view>

namespace wexal::ado {

AdoError::AdoError(std::int32_t code, std::u16string message, std::u16string sqlState)
    : code_(code), message_(std::move(message)), sqlState_(std::move(sqlState)) {
    what_ = ToUtf8(ErrorMessage());
}

bool AdoError::IsTimeoutOrLostConnection() const {
    const std::u16string_view state = sqlState_;
    return state == u"HYT00" || state == u"HYT01" || state == u"57014" ||
           state.starts_with(u"08") || state == u"57P01" || state == u"57P02" || state == u"57P03";
}

std::u16string AdoError::ErrorMessage() const {
    if (!message_.empty()) {
        std::u16string text = message_;
        if (text.ends_with(u"\r\n")) {
            text.resize(text.size() - 2);
        } else if (text.ends_with(u"\n")) {
            text.pop_back();
        }
        return text;
    }
    const auto bits = static_cast<std::uint32_t>(code_);
    char text[48];
    if (bits >= 0x80040201u && bits <= 0x8004FFFFu) {
        std::snprintf(text, sizeof text, "IDispatch error #%u", bits - 0x80040200u);
    } else {
        std::snprintf(text, sizeof text, "Unknown error 0x%X", bits);
    }
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

std::string ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t point = text[i];
        if (point >= 0xD800 && point <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (point >= 0xD800 && point <= 0xDFFF) {
            point = 0xFFFD;
        }
        if (point < 0x80) {
            out += static_cast<char>(point);
        } else if (point < 0x800) {
            out += static_cast<char>(0xC0 | (point >> 6));
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            out += static_cast<char>(0xE0 | (point >> 12));
            out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (point >> 18));
            out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        }
    }
    return out;
}

}  // namespace wexal::ado
