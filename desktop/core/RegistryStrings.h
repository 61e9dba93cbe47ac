// Reading and writing one text value of the registry, the way the desktop
// keeps the configuration folder (and reads the Palm Desktop's values).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wexal::desktop {

// The predefined root key of the current user's registry (the platform's
// handle value). It is the only hive these routines reach.
inline constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001;

// Stores `Value` as a string under `ValueName` of `SubKey`, creating the key
// when missing; an empty value is stored as one blank. False when the value
// could not be stored (another root, a registry file that cannot be read or
// written).
bool SetRegString(std::uint32_t Root, std::string_view SubKey, std::string_view ValueName,
                  std::string_view Value);

// The text of a string value up to its first NUL, or a 32-bit number value as
// signed decimal text. Empty for a missing key or value, a value of another
// kind, one of more than 1024 bytes or of exactly 1024 without a NUL, another
// root, and a damaged or unreadable registry file (read as a key that cannot
// be opened).
std::string GetRegString(std::uint32_t Root, std::string_view SubKey, std::string_view ValueName);

// As GetRegString, but false (with `Value` empty) when the registry file
// cannot be read or is damaged, for a caller that must not take that for an
// absent value.
bool ReadRegString(std::uint32_t Root, std::string_view SubKey, std::string_view ValueName,
                   std::string& Value);

}  // namespace wexal::desktop
