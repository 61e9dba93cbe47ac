#include "platform/palmdesktop/HotSyncUsers.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include <strings.h>

#include "platform/registry/Registry.h"
#include "platform/syncmgr/DesktopFolders.h"

namespace wexal::palmdesktop {
namespace {

constexpr const char* kUserIdValue = "UserID";
constexpr const char* kNextUserIdValue = "NextUserID";

std::string UserKey(const std::string& name) {
    return std::string(kUsersKey) + "\\" + name;
}

std::optional<std::uint32_t> IdOf(const std::optional<registry::Value>& value) {
    if (value) {
        if (const auto* id = std::get_if<std::uint32_t>(&*value)) {
            return *id;
        }
    }
    return std::nullopt;
}

// The users that the registry `edit` (a Registry or a RegistryEdit) holds.
template <typename Registry>
std::vector<HotSyncUser> UsersIn(const Registry& edit) {
    std::vector<HotSyncUser> users;
    for (const std::string& name : edit.SubKeys(kUsersKey)) {
        if (auto id = IdOf(edit.ReadValue(UserKey(name), kUserIdValue))) {
            users.push_back({name, *id});
        }
    }
    std::stable_sort(users.begin(), users.end(),
                     [](const HotSyncUser& a, const HotSyncUser& b) { return a.id < b.id; });
    return users;
}

}  // namespace

bool IsValidHotSyncUserName(const std::string& name) {
    return syncmgr::IsUsableUserName(name) && std::none_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return c == '\\' || byte < 32 || byte == 127;
           });
}

std::vector<HotSyncUser> HotSyncUsers() {
    return UsersIn(registry::Registry::CurrentUser());
}

std::optional<HotSyncUser> FindHotSyncUser(const std::string& name) {
    for (HotSyncUser& user : HotSyncUsers()) {
        if (::strcasecmp(user.name.c_str(), name.c_str()) == 0) {
            return std::move(user);
        }
    }
    return std::nullopt;
}

bool AddHotSyncUser(const std::string& name) {
    if (!IsValidHotSyncUserName(name)) {
        throw std::invalid_argument("\"" + name + "\" cannot be a HotSync user's name");
    }
    bool added = false;
    registry::Registry::CurrentUser().Change([&](registry::RegistryEdit& edit) {
        added = false;
        const std::string key = UserKey(name);
        if (IdOf(edit.ReadValue(key, kUserIdValue))) {
            return;
        }
        // Above every id given so far, even when NextUserID was edited by hand.
        std::uint64_t next = IdOf(edit.ReadValue(kUsersKey, kNextUserIdValue)).value_or(1);
        for (const HotSyncUser& user : UsersIn(edit)) {
            next = std::max<std::uint64_t>(next, std::uint64_t{user.id} + 1);
        }
        if (next == 0 || next >= std::numeric_limits<std::uint32_t>::max()) {
            throw registry::RegistryError("no HotSync user id is left for " + name);
        }
        edit.WriteValue(key, kUserIdValue, static_cast<std::uint32_t>(next));
        edit.WriteValue(kUsersKey, kNextUserIdValue, static_cast<std::uint32_t>(next + 1));
        added = true;
    });
    return added;
}

}  // namespace wexal::palmdesktop
