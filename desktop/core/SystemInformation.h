// Where the System Information program is, as the registry names it. The
// About box starts it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "desktop/core/clsRegistry.h"

namespace wexal::desktop {

// The value `SubKeyRef` of the key `KeyName` below the root key `KeyRoot`
// (HKEY_CLASSES_ROOT ...): a string up to its first NUL, a 32-bit number as
// decimal text, a value of another kind leaving `KeyVal` as it was; true. A
// key that cannot be opened for reading, a missing value or one of more than
// 1024 bytes: `KeyVal` empty, false. Opening needs read access only, so a
// key the user may read but not change still answers.
bool GetKeyValue(const clsRegistry::Hives& hives, std::uint32_t KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string& KeyVal);

// The program's full path: the MSINFO "PATH" value, else "MSINFO32.EXE" in
// the folder that "Shared Tools Location" names when that file is there;
// nothing when neither place gives one.
std::optional<std::string> SysInfoProgramPath(const clsRegistry::Hives& hives);

}  // namespace wexal::desktop
