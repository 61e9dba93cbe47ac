#include "tools/hotsync/RegisteredConduits.h"

#include "platform/registry/Registry.h"
#include "platform/syncmgr/DesktopFolders.h"

namespace wexal::hotsync {

std::uint32_t CreatorFromText(const std::string& text) {
    std::uint32_t creator = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
        creator = (creator << 8) | c;
    }
    return creator;
}

std::vector<RegisteredConduit> RegisteredConduits() {
    // One reading of the file for the whole list, however large it is.
    const auto registry = registry::Registry::CurrentUser().Snapshot();
    std::vector<RegisteredConduit> conduits;
    for (int number = 1; number <= syncmgr::kMaxApplications; ++number) {
        const std::string key =
            std::string(syncmgr::kDesktopKey) + "\\Application" + std::to_string(number);
        auto file = registry.ReadString(key, "Conduit");
        if (!file || file->empty()) {
            continue;
        }
        RegisteredConduit conduit;
        conduit.key = "Application" + std::to_string(number);
        conduit.file = *file;
        if (auto creator = registry.ReadValue(key, "Creator")) {
            if (auto* text = std::get_if<std::string>(&*creator)) {
                conduit.creator = CreatorFromText(*text);
            } else {
                conduit.creator = std::get<std::uint32_t>(*creator);
            }
        }
        conduits.push_back(std::move(conduit));
    }
    return conduits;
}

}  // namespace wexal::hotsync
