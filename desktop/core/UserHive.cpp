#include "desktop/core/UserHive.h"

#include <cerrno>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

using wexal::registry::Registry;
using wexal::registry::RegistryError;

UserHive::UserHive(Registry registry) : registry_(std::move(registry)) {}

bool UserHive::Writable() const {
    struct stat info {};
    if (::stat(registry_.File().c_str(), &info) != 0) {
        return errno == ENOENT;  // the first change creates the file
    }
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::access(registry_.File().c_str(), W_OK) == 0;
}

bool UserHive::CanOpen(std::string_view key, RegistryAccess access) {
    try {
        return registry_.KeyExists(key) && (access == RegistryAccess::Read || Writable());
    } catch (const RegistryError&) {
        return false;
    }
}

bool UserHive::Create(std::string_view key) {
    if (!Writable()) {
        return false;
    }
    try {
        registry_.CreateKey(key);
        return true;
    } catch (const RegistryError&) {
        return false;
    }
}

std::vector<std::string> UserHive::SubKeys(std::string_view key) {
    try {
        return registry_.SubKeys(key);
    } catch (const RegistryError&) {
        return {};
    }
}

std::vector<RegistryValue> UserHive::Values(std::string_view key) {
    std::vector<RegistryValue> values;
    try {
        for (std::string& name : registry_.ValueNames(key)) {
            std::optional<wexal::registry::Value> value = registry_.ReadValue(key, name);
            if (!value) {
                continue;  // deleted by another process meanwhile
            }
            if (const std::uint32_t* number = std::get_if<std::uint32_t>(&*value)) {
                std::string bytes;
                for (int shift = 0; shift < 32; shift += 8) {
                    bytes += static_cast<char>(*number >> shift & 0xFF);
                }
                values.push_back({std::move(name), REG_DWORD, std::move(bytes)});
            } else {
                values.push_back({std::move(name), REG_SZ,
                                  std::get<std::string>(*value) + std::string(1, '\0')});
            }
        }
    } catch (const RegistryError&) {
        return {};
    }
    return values;
}

bool UserHive::Set(std::string_view key, const RegistryValue& value) {
    if (!Writable()) {
        return false;
    }
    try {
        if (value.kind == REG_SZ) {
            std::string_view text = value.data;
            if (!text.empty() && text.back() == '\0') {
                text.remove_suffix(1);
            }
            registry_.WriteString(key, value.name, text);
            return true;
        }
        if (value.kind == REG_DWORD && value.data.size() == 4) {
            std::uint32_t number = 0;
            for (int i = 3; i >= 0; --i) {
                number = number << 8 | static_cast<unsigned char>(value.data[i]);
            }
            registry_.WriteDword(key, value.name, number);
            return true;
        }
        return false;  // the file holds strings and dwords only
    } catch (const RegistryError&) {
        return false;
    }
}

bool UserHive::Delete(std::string_view key, std::string_view name) {
    if (!Writable()) {
        return false;
    }
    try {
        return registry_.DeleteValue(key, name);
    } catch (const RegistryError&) {
        return false;
    }
}
