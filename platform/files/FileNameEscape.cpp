#include "platform/files/FileNameEscape.h"

namespace wexal::files {

namespace {

bool Kept(unsigned char c, std::size_t at) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
           c == '_' || c == '-' || (c == '.' && at != 0);
}

}  // namespace

std::string EscapedForFileName(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (Kept(byte, i)) {
            out += static_cast<char>(byte);
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

}  // namespace wexal::files
