#include "platform/files/FileNameEscape.h"

namespace wexal::files {

std::string EscapedForFileName(std::string_view text,
                               bool (*kept)(unsigned char byte, std::size_t index)) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (kept(byte, i)) {
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
