#include "desktop/core/clsRegistry.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#include "desktop/core/MachineHive.h"
#include "desktop/core/ReadOnlyHive.h"
#include "desktop/core/UserHive.h"

namespace {

// The buffers of the platform calls that this class was written against: a
// name or data that does not fit ends a listing or fails a query, and callers
// have come to rely on where those limits lie.
constexpr std::size_t kBuffer = 1024;
// GetKeyInfo's buffer for subkey names and their default values.
constexpr std::size_t kInfoBuffer = 256;

constexpr std::array<std::string_view, 7> kHiveNames = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

// A name passed to the platform as a C string ends at its first NUL.
std::string_view CString(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Appends one path element: a backslash first unless the path is empty or
// already ends with one, then the element less its NUL characters.
void AppendKey(std::string& path, std::string_view element) {
    if (!path.empty() && path.back() != '\\') {
        path += '\\';
    }
    std::copy_if(element.begin(), element.end(), std::back_inserter(path),
                 [](char c) { return c != '\0'; });
}

// What follows a value's name in a dump; nothing for an unknown kind.
std::optional<std::string> KindText(const RegistryValue& value) {
    switch (value.kind) {
        case REG_NONE:
            return " = [none]";
        case REG_SZ:
            return " = \"" + value.data.substr(0, value.data.empty() ? 0 : value.data.size() - 1) +
                   "\"";
        case REG_EXPAND_SZ:
            return " = [expand sz]";
        case REG_BINARY:
            return " = [binary]";
        case REG_DWORD: {
            std::string bytes = value.data;
            bytes.resize(4, '\0');  // what the zero-filled buffer held
            char text[16];
            std::snprintf(
                text, sizeof text, "&H%02X%02X%02X%02X", static_cast<unsigned char>(bytes[3]),
                static_cast<unsigned char>(bytes[2]), static_cast<unsigned char>(bytes[1]),
                static_cast<unsigned char>(bytes[0]));
            return std::string(" = ") + text;
        }
        case REG_DWORD_BIG_ENDIAN:
            return " = [dword big endian]";
        case REG_LINK:
            return " = [link]";
        case REG_MULTI_SZ:
            return " = [multi sz]";
        case REG_RESOURCE_LIST:
            return " = [resource list]";
        case REG_FULL_RESOURCE_DESCRIPTOR:
            return " = [full resource descriptor]";
        case REG_RESOURCE_REQUIREMENTS_LIST:
            return " = [resource requirements list]";
        default:
            return std::nullopt;
    }
}

// The default value of a subkey as a dump shows it: its data less the
// closing NUL, empty when unset, "Error" when the subkey cannot be read or
// the data does not fit the buffer.
std::string DefaultText(RegistryHive& hive, const std::string& subkey) {
    if (!hive.CanOpen(subkey, RegistryAccess::Read)) {
        return "Error";
    }
    std::optional<RegistryValue> value = hive.Query(subkey, "");
    if (!value) {
        return "";
    }
    if (value->data.size() > kInfoBuffer) {
        return "Error";
    }
    return value->data.substr(0, value->data.empty() ? 0 : value->data.size() - 1);
}

}  // namespace

clsRegistry::Hives clsRegistry::StandardHives() {
    Hives hives;
    for (auto& hive : hives) {
        hive = std::make_shared<ReadOnlyHive>();
    }
    hives[HKEY_CURRENT_USER - HKEY_CLASSES_ROOT] =
        std::make_shared<UserHive>(wexal::registry::Registry::CurrentUser());
    hives[HKEY_LOCAL_MACHINE - HKEY_CLASSES_ROOT] = MakeMachineHive();
    return hives;
}

clsRegistry::clsRegistry(Hives hives, MessageBox messageBox)
    : hives_(std::move(hives)), messageBox_(std::move(messageBox)) {}

bool clsRegistry::KeyPath(std::uint32_t& RootKey, std::string& CombinedPath,
                          const PathArray& HiveName) {
    bool found = false;
    CombinedPath.clear();
    for (std::size_t i = 0; i < HiveName.size(); ++i) {
        if (i > 0) {
            AppendKey(CombinedPath, HiveName[i]);
            continue;
        }
        auto hive = std::find(kHiveNames.begin(), kHiveNames.end(), HiveName[0]);
        if (hive != kHiveNames.end()) {
            RootKey = HKEY_CLASSES_ROOT + static_cast<std::uint32_t>(hive - kHiveNames.begin());
            found = true;
        }
    }
    return found;
}

clsRegistry::Key clsRegistry::OpenKey(bool CreateIfNeeded, RegistryAccess access,
                                      const PathArray& HiveName) const {
    std::uint32_t root = 0;
    std::string path;
    KeyPath(root, path, HiveName);
    if (root < HKEY_CLASSES_ROOT || root - HKEY_CLASSES_ROOT >= hives_.size()) {
        return {};
    }
    RegistryHive* hive = hives_[root - HKEY_CLASSES_ROOT].get();
    if (hive != nullptr &&
        (hive->CanOpen(path, access) || (CreateIfNeeded && hive->Create(path)))) {
        return {hive, std::move(path)};
    }
    return {};
}

clsRegistry::Value clsRegistry::GetValue(const PathArray& HiveName) {
    if (HiveName.empty()) {
        return {};
    }
    const Key key = OpenKey(false, RegistryAccess::Read, {HiveName.begin(), HiveName.end() - 1});
    if (!key) {
        return {};
    }
    std::optional<RegistryValue> value = key.hive->Query(key.path, CString(HiveName.back()));
    if (!value || value->data.size() > kBuffer) {
        return {};
    }
    if (value->kind == REG_SZ || value->kind == REG_EXPAND_SZ) {
        return std::string(CString(value->data));
    }
    if (value->kind == REG_DWORD) {
        std::string bytes = value->data;
        bytes.resize(4, '\0');
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number = number << 8 | static_cast<unsigned char>(bytes[i]);
        }
        return static_cast<std::int32_t>(number);
    }
    return {};
}

std::vector<std::string> clsRegistry::GetKeys(const PathArray& HiveName) {
    std::vector<std::string> names;
    if (const Key key = OpenKey(false, RegistryAccess::Read, HiveName)) {
        for (const std::string& name : key.hive->SubKeys(key.path)) {
            if (name.size() >= kBuffer) {
                break;
            }
            names.emplace_back(CString(name));
        }
    }
    return names;
}

std::vector<std::string> clsRegistry::GetValues(const PathArray& HiveName) {
    std::vector<std::string> names;
    if (const Key key = OpenKey(false, RegistryAccess::Read, HiveName)) {
        for (RegistryValue& value : key.hive->Values(key.path)) {
            if (value.name.size() >= kBuffer || value.data.size() > kBuffer) {
                break;
            }
            names.push_back(std::move(value.name));
        }
    }
    return names;
}

bool clsRegistry::SaveValue(std::string_view value, const PathArray& HiveName) {
    if (HiveName.empty()) {
        return false;
    }
    const Key key = OpenKey(true, RegistryAccess::Write, {HiveName.begin(), HiveName.end() - 1});
    if (!key) {
        return false;
    }
    std::string data(value);
    data += '\0';
    return key.hive->Set(key.path, {std::string(CString(HiveName.back())), REG_SZ, data});
}

std::optional<bool> clsRegistry::DeleteValue(const PathArray& HiveName) {
    if (HiveName.empty()) {
        return std::nullopt;
    }
    const Key key = OpenKey(true, RegistryAccess::Write, {HiveName.begin(), HiveName.end() - 1});
    if (!key) {
        return std::nullopt;
    }
    return key.hive->Delete(key.path, CString(HiveName.back()));
}

std::string clsRegistry::GetKeyInfo(int Indent, const PathArray& HiveName) {
    const Key key = OpenKey(false, RegistryAccess::Read, HiveName);
    if (!key) {
        if (messageBox_) {
            messageBox_("Error opening key.");
        }
        return "";
    }
    const std::string indent(static_cast<std::size_t>(std::max(Indent, 0)), ' ');
    std::string dump;
    for (const RegistryValue& value : key.hive->Values(key.path)) {
        if (value.name.size() >= kBuffer || value.data.size() > kBuffer) {
            break;
        }
        if (std::optional<std::string> kind = KindText(value)) {
            dump += indent + "> " + value.name + *kind + "\r\n";
        }
    }
    // Every subkey with its default value is read before any is descended into.
    std::vector<std::pair<std::string, std::string>> subkeys;
    for (const std::string& name : key.hive->SubKeys(key.path)) {
        if (name.size() >= kInfoBuffer) {
            break;
        }
        std::string subkey = key.path;
        AppendKey(subkey, name);
        subkeys.emplace_back(CString(name), DefaultText(*key.hive, subkey));
    }
    for (const auto& [name, defaultValue] : subkeys) {
        dump += indent + name + ": " + defaultValue + "\r\n";
        dump += GetKeyInfo(Indent + 4, {HiveName[0], key.path, name});
    }
    return dump;
}
