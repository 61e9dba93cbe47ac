// The registry in memory and its REGEDIT4 text form. Internal to
// wexal_registry (Registry.cpp loads, changes and stores through it); the
// tests use it to check the format without touching a file.
//
// The text form, as written:
//
//   REGEDIT4
//   <blank line>
//   [HKEY_CURRENT_USER\Software\Tolvane]          one section per key, parents
//   <blank line>                                  first, siblings in
//   [HKEY_CURRENT_USER\Software\Tolvane\Wexal]    case-insensitive order
//   @="default value"
//   "Name"="text with \\ and \" escaped"
//   "Count"=dword:0000002a
//   "Notes"=hex(1):61,0a,62,00                    a string holding control
//   <blank line>                                  characters: its bytes and a
//                                                 closing NUL (long ones go on
//                                                 over lines ending in a
//                                                 backslash, as regedit does)
//
// Values of the hive itself go in a [HKEY_CURRENT_USER] section, written only
// when there are some. On reading, CR LF or LF line ends, a UTF-8 byte order
// mark, blank lines and ';' comment lines are accepted (comments are not kept).
// Anything else that does not parse, including value kinds other than strings
// and dwords and keys nested deeper than kMaxKeyDepth, raises RegistryError
// naming the file and the line.
#pragma once

#include "platform/registry/Registry.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wexal::registry::detail {

// Keys nest at most this deep below the hive, as in the Windows registry. A
// file with a deeper key is damaged: its tree would be freed and written by
// recursion, and a million levels overflow the stack.
inline constexpr std::size_t kMaxKeyDepth = 512;

// Name lower-cased in ASCII: names are matched and sorted by it.
std::string Fold(std::string_view name);

// False for a name holding a control character (bytes 0-31 and 127), which the
// text form cannot hold in a key or value name.
bool IsWritableName(std::string_view name);

// The non-empty parts of a backslash-separated key path.
std::vector<std::string_view> SplitPath(std::string_view path);

struct Key {
    std::string name;  // as first written; empty for the hive
    std::map<std::string, std::pair<std::string, Value>> values;  // Fold(name) → (name, value)
    std::map<std::string, std::unique_ptr<Key>> subkeys;          // Fold(name) → key
};

// The key at `parts` below `root`, or nullptr.
const Key* Find(const Key& root, const std::vector<std::string_view>& parts);
Key* Find(Key& root, const std::vector<std::string_view>& parts);
// The key at `parts`, created with its parents when missing; `created` tells.
Key& Ensure(Key& root, const std::vector<std::string_view>& parts, bool* created = nullptr);

// The hive parsed from REGEDIT4 text (a zero-byte text is an empty hive).
// `file` names the file in error messages.
Key Parse(std::string_view text, const std::string& file);

// The REGEDIT4 text of the hive, LF line ends.
std::string Serialize(const Key& root);

}  // namespace wexal::registry::detail
