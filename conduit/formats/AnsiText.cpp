#include "conduit/formats/AnsiText.h"

#include <iconv.h>

#include <array>
#include <bit>
#include <optional>

#include "platform/text/Utf8.h"
#include "platform/text/Windows1252.h"

namespace {

constexpr char kMissing = '?';

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The wide text of valid UTF-8; nothing for any other bytes (a stray byte, a
// cut sequence, an overlong form, a surrogate).
std::optional<std::u16string> Utf8ToWide(std::string_view text) {
    const char* const wideCode =
        std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
    const iconv_t converter = iconv_open(wideCode, "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    // No UTF-8 sequence gives more 16-bit units than it has bytes.
    std::u16string wide(text.size(), u'\0');
    char* in = const_cast<char*>(text.data());  // iconv does not write through it
    std::size_t inLeft = text.size();
    char* out = reinterpret_cast<char*>(wide.data());
    std::size_t outLeft = wide.size() * sizeof(char16_t);
    const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    wide.resize(wide.size() - outLeft / sizeof(char16_t));
    return wide;
}

}  // namespace

std::u16string AnsiToWide(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text) {
        wide += wexal::text::Windows1252Char(static_cast<unsigned char>(c));
    }
    return wide;
}

std::string WideToAnsi(std::u16string_view text) {
    std::string ansi;
    ansi.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char byte = static_cast<char>(wexal::text::Windows1252Byte(c).value_or(kMissing));
        // A character beyond the basic plane is one character, shown once.
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
        }
        ansi += byte;
    }
    return ansi;
}

std::string AnsiToUtf8(std::string_view text) {
    return wexal::text::Windows1252ToUtf8(text);
}

std::string PathToUtf8(std::string_view path) {
    std::string shown;
    shown.reserve(path.size());
    for (std::size_t start = 0;;) {
        const std::size_t separator = path.find_first_of("/\\", start);
        const std::string_view name = path.substr(start, separator - start);
        shown += wexal::text::IsValidUtf8(name) ? std::string(name) : AnsiToUtf8(name);
        if (separator == std::string_view::npos) {
            return shown;
        }
        shown += path[separator];
        start = separator + 1;
    }
}

std::u16string ConfigTextToWide(std::string_view text) {
    std::optional<std::u16string> wide = Utf8ToWide(text);
    return wide ? std::move(*wide) : AnsiToWide(text);
}

std::string ConfigTextToAnsi(std::string_view text) {
    const std::optional<std::u16string> wide = Utf8ToWide(text);
    return wide ? WideToAnsi(*wide) : std::string(text);
}
