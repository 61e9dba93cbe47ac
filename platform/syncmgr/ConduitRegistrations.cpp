#include "platform/syncmgr/ConduitRegistrations.h"

#include "platform/syncmgr/DesktopFolders.h"

namespace wexal::syncmgr {

std::string ApplicationKey(int number) {
    return std::string(kDesktopKey) + "\\Application" + std::to_string(number);
}

std::uint32_t CreatorFromText(const std::string& text) {
    std::uint32_t creator = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
        creator = (creator << 8) | c;
    }
    return creator;
}

std::uint32_t CreatorFromValue(const registry::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return CreatorFromText(*text);
    }
    return std::get<std::uint32_t>(value);
}

}  // namespace wexal::syncmgr
