// Where the sync manager keeps its files on the desktop: one folder per
// HotSync user, holding that user's sync log and the files queued for
// installation on the user's handheld, and the lock that every sync holds.
#pragma once

#include <filesystem>
#include <string>

namespace wexal::syncmgr {

// Registry key of the sync manager's own settings; its value `Path` names
// the desktop folder.
inline constexpr const char* kCoreKey = "Software\\U.S. Robotics\\Pilot Desktop\\Core";
// Conduit registrations are "Application1" to "Application99" under this key.
inline constexpr const char* kDesktopKey = "Software\\U.S. Robotics\\Pilot Desktop";
inline constexpr int kMaxApplications = 99;

// The `Path` value of the core key; else $XDG_DATA_HOME/wexal/desktop, else
// $HOME/.local/share/wexal/desktop.
std::filesystem::path DesktopFolder();
std::filesystem::path UserFolder(const std::string& userName);
std::filesystem::path SyncLogFile(const std::string& userName);
// "Install" in the user's folder (InstallQueue.h).
std::filesystem::path InstallFolder(const std::string& userName);
// "HotSync.lock" in the desktop folder (SyncLock.h).
std::filesystem::path SyncLockFile();

// A user name that can name the user's folder: 1 to 63 bytes, no '/', not "."
// or "..".
bool IsUsableUserName(const std::string& name);

}  // namespace wexal::syncmgr
