#include "desktop/core/LetterCase.h"

#include <unicode/uchar.h>

#include <cstdint>

#include "platform/text/Utf8.h"

namespace wexal::desktop {

std::string UpperCaseUtf8(std::string_view text) {
    std::string upper;
    upper.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code = 0;
        const std::size_t length = text::DecodeUtf8(text, at, code);
        if (length == 0) {
            upper += text[at];
            ++at;
            continue;
        }
        // ICU's root mapping: no locale of the process takes part.
        text::AppendUtf8(upper, static_cast<std::uint32_t>(u_toupper(static_cast<UChar32>(code))));
        at += length;
    }
    return upper;
}

}  // namespace wexal::desktop
