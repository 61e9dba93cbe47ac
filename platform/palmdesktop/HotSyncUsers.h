// The sync manager's HotSync users, kept in the registry beside the conduit
// registrations: one key per user below kUsersKey, holding the user's id as
// `UserID`; the value `NextUserID` of kUsersKey is the id the next user gets,
// so no id is ever given twice. Registry key names ignore letter case, so
// user names do too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wexal::palmdesktop {

inline constexpr const char* kUsersKey = "Software\\U.S. Robotics\\Pilot Desktop\\Users";

struct HotSyncUser {
    std::string name;
    std::uint32_t id = 0;
};

// 1 to 63 bytes, usable as a folder name and as a registry key name: no '/',
// '\' or control characters, not "." or "..".
bool IsValidHotSyncUserName(const std::string& name);

// Every user, in the order they were added. Throws registry::RegistryError.
std::vector<HotSyncUser> HotSyncUsers();
// The user of that name in any letter case.
std::optional<HotSyncUser> FindHotSyncUser(const std::string& name);
// Adds the user unless one of that name exists; true when added. Throws
// registry::RegistryError, and std::invalid_argument for an invalid name.
bool AddHotSyncUser(const std::string& name);

}  // namespace wexal::palmdesktop
