#include "desktop/core/SystemInformation.h"

#include <filesystem>
#include <system_error>

namespace wexal::desktop {

namespace {

constexpr std::size_t kBuffer = 1024;

}  // namespace

bool GetKeyValue(const clsRegistry::Hives& hives, std::uint32_t KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string& KeyVal) {
    const std::uint32_t index = KeyRoot - clsRegistry::HKEY_CLASSES_ROOT;
    RegistryHive* hive = KeyRoot >= clsRegistry::HKEY_CLASSES_ROOT && index < hives.size()
                             ? hives[index].get()
                             : nullptr;
    if (hive == nullptr || !hive->CanOpen(KeyName, RegistryAccess::Read)) {
        KeyVal.clear();
        return false;
    }
    const std::optional<RegistryValue> value = hive->Query(KeyName, SubKeyRef);
    if (!value || value->data.size() > kBuffer) {
        KeyVal.clear();
        return false;
    }
    if (value->kind == REG_SZ) {
        KeyVal = value->data.substr(0, value->data.find('\0'));
    } else if (value->kind == REG_DWORD) {
        std::uint32_t number = 0;
        for (std::size_t i = value->data.size() < 4 ? value->data.size() : 4; i-- > 0;) {
            number = number << 8 | static_cast<unsigned char>(value->data[i]);
        }
        KeyVal = std::to_string(number);
    }
    return true;
}

std::optional<std::string> SysInfoProgramPath(const clsRegistry::Hives& hives) {
    std::string value;
    if (GetKeyValue(hives, clsRegistry::HKEY_LOCAL_MACHINE,
                    "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value)) {
        return value;
    }
    if (GetKeyValue(hives, clsRegistry::HKEY_LOCAL_MACHINE,
                    "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", value)) {
        const std::string program = value + "/MSINFO32.EXE";
        std::error_code error;
        if (std::filesystem::exists(program, error)) {
            return program;
        }
    }
    return std::nullopt;
}

}  // namespace wexal::desktop
