#include "platform/syncmgr/DesktopFolders.h"

#include <cstdlib>

#include "platform/registry/Registry.h"

namespace wexal::syncmgr {

std::filesystem::path DesktopFolder() {
    try {
        auto path = registry::Registry::CurrentUser().ReadString(kCoreKey, "Path");
        if (path && !path->empty() && *path != " ") {
            return *path;
        }
    } catch (const registry::RegistryError&) {
        // A damaged registry falls back to the default folder; the caller
        // that writes the registry reports the damage.
    }
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
        return std::filesystem::path(data) / "wexal" / "desktop";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/tmp") / ".local" / "share" / "wexal" /
           "desktop";
}

std::filesystem::path UserFolder(const std::string& userName) {
    return DesktopFolder() / userName;
}

std::filesystem::path SyncLogFile(const std::string& userName) {
    return UserFolder(userName) / "HotSync.log";
}

std::filesystem::path InstallFolder(const std::string& userName) {
    return UserFolder(userName) / "Install";
}

std::filesystem::path SyncLockFile() {
    return DesktopFolder() / "HotSync.lock";
}

bool IsUsableUserName(const std::string& name) {
    return !name.empty() && name.size() < 64 && name != "." && name != ".." &&
           name.find('/') == std::string::npos;
}

}  // namespace wexal::syncmgr
