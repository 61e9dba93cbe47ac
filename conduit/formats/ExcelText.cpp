#include "conduit/formats/ExcelText.h"

#include <cstdint>

#include "platform/text/Utf8.h"
#include "platform/text/Windows1252.h"

std::string SheetTextToHandheld(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        std::uint32_t code = 0;
        const std::size_t length = wexal::text::DecodeUtf8(utf8, at, code);
        // A byte that leads no sequence becomes "?" on its own.
        out +=
            length == 0 ? '?' : static_cast<char>(wexal::text::Windows1252Byte(code).value_or('?'));
        at += length == 0 ? 1 : length;
    }
    return out;
}

std::string HandheldTextToSheet(std::string_view windows1252) {
    return wexal::text::Windows1252ToUtf8(windows1252);
}
