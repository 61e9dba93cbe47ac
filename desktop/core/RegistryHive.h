// One hive of the registry as the desktop program sees it: keys addressed by
// backslash paths below the hive ("" is the hive itself), names matched
// without regard to letter case, and values of the platform's kinds with their
// data as the platform hands it over. clsRegistry reaches every hive through
// this interface, whether the hive is the registry file, the ODBC data
// sources or a test's own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Value kinds, numbered as on the platform whose registry this stands in for.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_DWORD_BIG_ENDIAN = 5;
inline constexpr std::uint32_t REG_LINK = 6;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;
inline constexpr std::uint32_t REG_RESOURCE_LIST = 8;
inline constexpr std::uint32_t REG_FULL_RESOURCE_DESCRIPTOR = 9;
inline constexpr std::uint32_t REG_RESOURCE_REQUIREMENTS_LIST = 10;

struct RegistryValue {
    std::string name;  // "" for the key's default value
    std::uint32_t kind = REG_NONE;
    // REG_SZ and REG_EXPAND_SZ: the text and its closing NUL; REG_DWORD: four
    // bytes, least significant first.
    std::string data;
};

// What a key is opened for: reading its values and subkeys, or changing them.
enum class RegistryAccess { Read, Write };

class RegistryHive {
  public:
    virtual ~RegistryHive() = default;

    // True when the key exists and this user may use it for `access`.
    virtual bool CanOpen(std::string_view key, RegistryAccess access) = 0;
    // Creates the key and any missing keys above it; true when it then exists
    // and may be changed.
    virtual bool Create(std::string_view key) = 0;
    // The key's subkey names and values in the hive's enumeration order;
    // empty for a key that cannot be read.
    virtual std::vector<std::string> SubKeys(std::string_view key) = 0;
    virtual std::vector<RegistryValue> Values(std::string_view key) = 0;
    // Adds or replaces the value; false when the hive refuses it.
    virtual bool Set(std::string_view key, const RegistryValue& value) = 0;
    // False when the value was not there or the hive refuses the change.
    virtual bool Delete(std::string_view key, std::string_view name) = 0;

    // The value of that name among Values(key).
    std::optional<RegistryValue> Query(std::string_view key, std::string_view name);
};
