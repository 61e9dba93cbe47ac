#include "conduit/formats/ExcelText.h"

#include <array>
#include <cstdint>

#include "platform/sheet/OoxmlText.h"

namespace {

// The characters of bytes 0x80 to 0x9F; the five unassigned bytes stand for
// the control characters of the same number, as Windows maps them.
constexpr std::array<std::uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t CodePointOf(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

char ByteOf(std::uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
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
