// The current user's registry: keys addressed by backslash paths, holding
// string and 32-bit values. Kept in one REGEDIT4 text file so a person can
// read it; every change rewrites the file atomically under an advisory lock,
// so a running sync and the desktop program never see half a file and two
// writers never lose each other's changes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace wexal::registry {

// A registry file that cannot be read or written (or is no regular file), or
// a key or value name that the file cannot hold (one with a control
// character, or a key nested deeper than the file may hold). The message
// names the file and, for a damaged file, the line. Every member below that touches the
// file may raise it; a damaged file is never overwritten.
class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A value is either a string (REG_SZ) or a 32-bit number (REG_DWORD).
using Value = std::variant<std::string, std::uint32_t>;

namespace detail {
struct Key;
}

// The registry as one reading of the file found it, for a caller that reads
// many values: the file is read and parsed once however many are read. The
// members read as Registry's do.
class RegistrySnapshot {
  public:
    bool KeyExists(std::string_view key) const;
    std::optional<Value> ReadValue(std::string_view key, std::string_view name) const;
    std::optional<std::string> ReadString(std::string_view key, std::string_view name) const;
    std::optional<std::uint32_t> ReadDword(std::string_view key, std::string_view name) const;
    std::vector<std::string> SubKeys(std::string_view key) const;
    std::vector<std::string> ValueNames(std::string_view key) const;

  private:
    friend class Registry;
    explicit RegistrySnapshot(std::shared_ptr<const detail::Key> root);

    std::shared_ptr<const detail::Key> root_;
};

// The registry as one Registry::Change sees it: reads see what the change has
// written so far. Paths and names are matched as by Registry.
class RegistryEdit {
  public:
    bool KeyExists(std::string_view key) const;
    std::optional<Value> ReadValue(std::string_view key, std::string_view name) const;
    std::vector<std::string> SubKeys(std::string_view key) const;
    // Creates the key and its parents when missing.
    void WriteValue(std::string_view key, std::string_view name, const Value& value);

  private:
    friend class Registry;
    RegistryEdit(detail::Key& root, const std::filesystem::path& file) : root_(root), file_(file) {}
    detail::Key& root_;
    const std::filesystem::path& file_;
    bool changed_ = false;
};

class Registry {
  public:
    // The environment variable that names the registry file.
    static constexpr const char* kFileVariable = "WEXAL_REGISTRY";

    // $WEXAL_REGISTRY, else $XDG_CONFIG_HOME/wexal/registry.reg, else
    // $HOME/.config/wexal/registry.reg (unset or empty variables, and a
    // relative XDG_CONFIG_HOME, are skipped). A missing file is an empty
    // registry (so is a zero-byte file); the first write creates it and its
    // folders. The file format is described in RegistryFormat.h.
    static std::filesystem::path DefaultFile();

    // The user's own folder for this system's settings: $XDG_CONFIG_HOME/wexal,
    // else $HOME/.config/wexal (the folder DefaultFile() uses when
    // WEXAL_REGISTRY is not set). Not created here.
    static std::filesystem::path UserFolder();

    // The registry of the current user, in DefaultFile().
    static Registry CurrentUser();

    explicit Registry(std::filesystem::path file);

    const std::filesystem::path& File() const { return file_; }

    // Key paths are relative to HKEY_CURRENT_USER, separated by backslashes,
    // matched without regard to letter case (the case first written is kept).
    // Value names are matched the same way; the empty name is the key's
    // default value. Empty path parts are skipped, so "" and "\\" name the
    // hive itself, which always exists. Writers refuse a path of more than 512
    // keys (RegistryError). Strings are bytes, kept as given.
    // Every call reads the file anew (no caching): another process's change is
    // seen at once.
    bool KeyExists(std::string_view key) const;
    std::optional<Value> ReadValue(std::string_view key, std::string_view name) const;
    // Empty when the value is missing or of the other type.
    std::optional<std::string> ReadString(std::string_view key, std::string_view name) const;
    std::optional<std::uint32_t> ReadDword(std::string_view key, std::string_view name) const;

    // Subkey names (last path component) and value names, in a stable order
    // (case-insensitive alphabetical: ASCII letters folded to lower case, then
    // byte order; the default value's empty name comes first). Empty for a
    // missing key.
    std::vector<std::string> SubKeys(std::string_view key) const;
    std::vector<std::string> ValueNames(std::string_view key) const;
    // The whole registry as the file holds it now.
    RegistrySnapshot Snapshot() const;

    // Writers create the key and its parents when missing. Each is one
    // read-modify-write of the file under an exclusive lock; a call that
    // changes nothing leaves the file as it is.
    void CreateKey(std::string_view key);
    void WriteString(std::string_view key, std::string_view name, std::string_view value);
    void WriteDword(std::string_view key, std::string_view name, std::uint32_t value);
    void WriteValue(std::string_view key, std::string_view name, const Value& value);
    // False when there was nothing to delete.
    bool DeleteValue(std::string_view key, std::string_view name);
    // Deletes the key with all its subkeys and values (the hive itself cannot
    // be deleted: false).
    bool DeleteKey(std::string_view key);

    // Several reads and writes as one: `edit` runs under the exclusive lock
    // and the file is rewritten once afterwards when it changed something, so
    // no other writer comes in between and a crash leaves all or none of the
    // writes. Nothing is written when `edit` throws. `edit` may run twice (the
    // first time on an empty registry when the registry's folder is missing):
    // it must change nothing but the edit it is given.
    void Change(const std::function<void(RegistryEdit&)>& edit);

  private:
    std::filesystem::path file_;
};

}  // namespace wexal::registry
