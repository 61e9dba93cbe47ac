#include "desktop/core/TextDecoding.h"

#include <cstdint>

#include "platform/text/Windows1252.h"

namespace wexal::desktop {

std::string Utf8OrWindows1252(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : text::Windows1252ToUtf8(bytes);
}

}  // namespace wexal::desktop
