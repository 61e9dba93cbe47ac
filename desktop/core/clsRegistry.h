// Registry access by path array: element 0 names the hive ("HKEY_CURRENT_USER"
// and the other root-key names, letter case included), the further elements
// name the keys down the path and, for the value operations, end with the
// value's name. Reads open their key for reading only, so a key that the user
// may read but not change still reads; writes and deletes open it for
// changing. The object holds no state between calls but the hives it reaches.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "desktop/core/RegistryHive.h"

class clsRegistry {
  public:
    using PathArray = std::vector<std::string>;
    // Nothing, a text or a 32-bit number.
    using Value = std::variant<std::monostate, std::string, std::int32_t>;
    // The hive of each root key, from HKEY_CLASSES_ROOT (0x80000000) to
    // HKEY_DYN_DATA (0x80000006); a null entry opens nothing.
    using Hives = std::array<std::shared_ptr<RegistryHive>, 7>;
    // Shows a message box with one OK button under the program's title.
    using MessageBox = std::function<void(const std::string& text)>;

    static constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000;
    static constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001;
    static constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002;

    // HKEY_CURRENT_USER the registry file, HKEY_LOCAL_MACHINE the ODBC data
    // sources, every other hive empty and read only.
    static Hives StandardHives();

    explicit clsRegistry(Hives hives = StandardHives(), MessageBox messageBox = {});

    // Looks element 0 up among the hive names: true and RootKey set when it is
    // one, false and RootKey unchanged when not. CombinedPath gets the other
    // elements joined by backslashes, NUL characters removed, with no second
    // backslash after an element that ends in one.
    static bool KeyPath(std::uint32_t& RootKey, std::string& CombinedPath,
                        const PathArray& HiveName);

    // A text (REG_SZ, or REG_EXPAND_SZ as stored), a number (REG_DWORD, whose
    // highest bit makes it negative), or nothing: no key or value, another
    // kind, or data of more than 1024 bytes.
    Value GetValue(const PathArray& HiveName);
    // The key's subkey names, up to the first one of 1024 characters or more;
    // empty for a key that cannot be opened, which is not created.
    std::vector<std::string> GetKeys(const PathArray& HiveName);
    // The key's value names, up to the first value whose name has 1024
    // characters or more or whose data has more than 1024 bytes.
    std::vector<std::string> GetValues(const PathArray& HiveName);
    // Writes `value` as REG_SZ, creating the key when missing.
    bool SaveValue(std::string_view value, const PathArray& HiveName);
    // Creates the key when missing, then deletes the value: true when it was
    // deleted, false when not, nothing when the key cannot be opened.
    std::optional<bool> DeleteValue(const PathArray& HiveName);
    // A text dump of the key's values and of every key below it, each line
    // indented by Indent spaces (four more per level) and ending in CR LF. A
    // key that cannot be opened shows "Error opening key." and adds nothing.
    std::string GetKeyInfo(int Indent, const PathArray& HiveName);

  private:
    struct Key {
        RegistryHive* hive = nullptr;
        std::string path;
        explicit operator bool() const { return hive != nullptr; }
    };

    Key OpenKey(bool CreateIfNeeded, RegistryAccess access, const PathArray& HiveName) const;

    Hives hives_;
    MessageBox messageBox_;
};
