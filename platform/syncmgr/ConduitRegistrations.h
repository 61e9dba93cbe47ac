// How conduits are registered with the sync manager: keys "Application1" to
// "Application99" below kDesktopKey (DesktopFolders.h), each with the values
// `Creator` (the creator id: a 32-bit number, or its four characters as text),
// `Conduit` (the conduit library's full path), `Name`, `Information`,
// `Priority` and `Directory`. A key without a `Conduit` registers nothing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry/Registry.h"

namespace wexal::syncmgr {

// The registry path of "Application<number>".
std::string ApplicationKey(int number);

// A creator id of four characters as a 32-bit number ('TLWX' = 0x544C5758),
// the first character in the high byte; a shorter text is padded with blanks.
std::uint32_t CreatorFromText(const std::string& text);
// The creator id that a `Creator` value holds in either form.
std::uint32_t CreatorFromValue(const registry::Value& value);

}  // namespace wexal::syncmgr
