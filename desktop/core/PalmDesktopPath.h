// The Palm Desktop folder: the sync manager's desktop folder, the one
// `hotsync` keeps its users' folders in, so the desktop and the sync manager
// agree on it.
#pragma once

#include <string>

namespace wexal::desktop {

// The folder's path; empty when the registry cannot be read.
std::string GetPalmDesktopPath();

}  // namespace wexal::desktop
