#include "tools/hotsync/RegisteredConduits.h"

#include "platform/registry/Registry.h"
#include "platform/syncmgr/ConduitRegistrations.h"
#include "platform/syncmgr/DesktopFolders.h"

namespace wexal::hotsync {

std::vector<RegisteredConduit> RegisteredConduits() {
    // One reading of the file for the whole list, however large it is.
    const auto registry = registry::Registry::CurrentUser().Snapshot();
    std::vector<RegisteredConduit> conduits;
    for (int number = 1; number <= syncmgr::kMaxApplications; ++number) {
        const std::string key = syncmgr::ApplicationKey(number);
        auto file = registry.ReadString(key, "Conduit");
        if (!file || file->empty()) {
            continue;
        }
        RegisteredConduit conduit;
        conduit.key = "Application" + std::to_string(number);
        conduit.file = *file;
        if (auto creator = registry.ReadValue(key, "Creator")) {
            conduit.creator = syncmgr::CreatorFromValue(*creator);
        }
        conduits.push_back(std::move(conduit));
    }
    return conduits;
}

}  // namespace wexal::hotsync
