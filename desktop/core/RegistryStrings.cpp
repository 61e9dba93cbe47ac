#include "desktop/core/RegistryStrings.h"

#include <exception>
#include <optional>
#include <variant>

#include "platform/registry/Registry.h"

namespace wexal::desktop {

namespace {

// The value buffer of the original routine; longer values read as empty.
constexpr std::size_t kValueBuffer = 1024;

}  // namespace

bool SetRegString(std::uint32_t Root, std::string_view SubKey, std::string_view ValueName,
                  std::string_view Value) {
    if (Root != HKEY_CURRENT_USER) {
        return false;
    }
    try {
        registry::Registry::CurrentUser().WriteString(SubKey, ValueName,
                                                      Value.empty() ? " " : Value);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string GetRegString(std::uint32_t Root, std::string_view SubKey, std::string_view ValueName) {
    std::string value;
    ReadRegString(Root, SubKey, ValueName, value);
    return value;
}

bool ReadRegString(std::uint32_t Root, std::string_view SubKey, std::string_view ValueName,
                   std::string& Value) {
    Value.clear();
    if (Root != HKEY_CURRENT_USER) {
        return true;
    }
    std::optional<registry::Value> value;
    try {
        value = registry::Registry::CurrentUser().ReadValue(SubKey, ValueName);
    } catch (const std::exception&) {
        return false;
    }
    if (!value) {
        return true;
    }
    if (const auto* number = std::get_if<std::uint32_t>(&*value)) {
        Value = std::to_string(static_cast<std::int32_t>(*number));
        return true;
    }
    const std::string& text = std::get<std::string>(*value);
    const std::size_t end = text.find('\0');
    if (text.size() < kValueBuffer || (text.size() == kValueBuffer && end != std::string::npos)) {
        Value = text.substr(0, end);
    }
    return true;
}

}  // namespace wexal::desktop
