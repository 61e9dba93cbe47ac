// The conduit's name and version as the sync manager shows them.
#pragma once

#include <cstdint>

inline constexpr char kConduitName[] = "Wexal Conduit 2.6.32";
inline constexpr std::int32_t kConduitVersion = 0x102;
// The creator id under which the handheld databases are made ('TLWX').
inline constexpr std::uint32_t kConduitCreator = 0x544C5758;
