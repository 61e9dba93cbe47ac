#include "desktop/core/PalmDesktopPath.h"

#include <exception>

#include "platform/syncmgr/DesktopFolders.h"

namespace wexal::desktop {

std::string GetPalmDesktopPath() {
    try {
        return syncmgr::DesktopFolder().string();
    } catch (const std::exception&) {
        return "";
    }
}

}  // namespace wexal::desktop
