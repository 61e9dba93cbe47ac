#include "conduit/formats/ExcelText.h"

#include <array>
#include <cstdint>

#include "platform/sheet/OoxmlText.h"
#include "platform/text/Windows1252.h"

namespace {

std::uint32_t CodePointOf(unsigned char byte) {
    return wexal::text::Windows1252Char(byte);
}

char ByteOf(std::uint32_t code) {
    return static_cast<char>(wexal::text::Windows1252Byte(code).value_or('?'));
}

// The length of the UTF-8 sequence led by `lead`, 0 for a byte that leads
// none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}

}  // namespace

std::string SheetTextToHandheld(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = SequenceLength(lead);
        if (length == 0 || utf8.size() - at < length) {
            out += '?';
            ++at;
            continue;
        }
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(utf8[at + i]);
            valid = valid && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        out += valid ? ByteOf(code) : '?';
        at += valid ? length : 1;
    }
    return out;
}

std::string HandheldTextToSheet(std::string_view windows1252) {
    std::string out;
    out.reserve(windows1252.size());
    for (char c : windows1252) {
        wexal::sheet::AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    }
    return out;
}
