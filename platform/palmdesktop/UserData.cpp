// libuserdata.so: the HotSync users.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/palmdesktop/EntryGuard.h"
#include "platform/palmdesktop/HotSyncUsers.h"
#include "platform/palmdesktop/PalmDesktopApi.h"
#include "platform/syncmgr/DesktopFolders.h"

using wexal::palmdesktop::Guarded;
using wexal::palmdesktop::HotSyncUser;
using wexal::palmdesktop::HotSyncUsers;

static_assert(std::is_same_v<decltype(&UmGetUserCount), UmGetUserCountFn>);
static_assert(std::is_same_v<decltype(&UmGetUserID), UmGetUserIDFn>);
static_assert(std::is_same_v<decltype(&UmGetUserName), UmGetUserNameFn>);
static_assert(std::is_same_v<decltype(&UmAddUser), UmAddUserFn>);

extern "C" {

int16_t UmGetUserCount(void) {
    return Guarded<int16_t>(kUmErrRegistry, [] {
        const std::size_t count = HotSyncUsers().size();
        return static_cast<int16_t>(std::min<std::size_t>(count, INT16_MAX));
    });
}

int16_t UmGetUserID(uint32_t index, uint32_t* userId) {
    if (userId == nullptr) {
        return kUmErrBadArgument;
    }
    return Guarded<int16_t>(kUmErrRegistry, [&]() -> int16_t {
        const std::vector<HotSyncUser> users = HotSyncUsers();
        if (index >= users.size()) {
            return kUmErrNotFound;
        }
        *userId = users[index].id;
        return kUmErrNone;
    });
}

int16_t UmGetUserName(uint32_t userId, char* buffer, uint32_t* size) {
    if (buffer == nullptr || size == nullptr) {
        return kUmErrBadArgument;
    }
    return Guarded<int16_t>(kUmErrRegistry, [&]() -> int16_t {
        for (const HotSyncUser& user : HotSyncUsers()) {
            if (user.id != userId) {
                continue;
            }
            const std::size_t room = *size;
            const std::size_t length = user.name.size();
            std::memcpy(buffer, user.name.data(), std::min(length, room));
            if (length < room) {
                buffer[length] = '\0';
            }
            *size = static_cast<uint32_t>(length + 1);
            return length < room ? kUmErrNone : kUmErrNameTooLong;
        }
        return kUmErrNotFound;
    });
}

int16_t UmAddUser(const char* userName, uint32_t /*reserved*/) {
    if (userName == nullptr || !wexal::palmdesktop::IsValidHotSyncUserName(userName)) {
        return kUmErrBadArgument;
    }
    return Guarded<int16_t>(kUmErrRegistry, [&]() -> int16_t {
        wexal::palmdesktop::AddHotSyncUser(userName);
        // The folder of the user as first added: an existing user's name may
        // differ in letter case.
        const auto user = wexal::palmdesktop::FindHotSyncUser(userName);
        std::error_code error;
        std::filesystem::create_directories(
            wexal::syncmgr::UserFolder(user ? user->name : userName), error);
        return error ? kUmErrFolder : kUmErrNone;
    });
}

}  // extern "C"
