#include "desktop/core/ReadOnlyHive.h"

#include <algorithm>
#include <utility>

#include "platform/registry/RegistryFormat.h"

using wexal::registry::detail::Fold;
using wexal::registry::detail::SplitPath;

ReadOnlyHive::ReadOnlyHive(KeyList keys) : keys_(std::move(keys)) {}

bool ReadOnlyHive::Find(std::string_view key, std::vector<std::string>* subkeys) {
    const std::vector<std::string_view> wanted = SplitPath(key);
    bool found = wanted.empty();
    std::vector<std::string> seen;  // folded names of `subkeys`
    for (const std::string& listed : keys_ ? keys_() : std::vector<std::string>{}) {
        const std::vector<std::string_view> parts = SplitPath(listed);
        if (parts.size() < wanted.size() || !std::equal(wanted.begin(), wanted.end(), parts.begin(),
                                                        [](std::string_view a, std::string_view b) {
                                                            return Fold(a) == Fold(b);
                                                        })) {
            continue;
        }
        found = true;
        if (subkeys != nullptr && parts.size() > wanted.size()) {
            std::string_view next = parts[wanted.size()];
            if (std::find(seen.begin(), seen.end(), Fold(next)) == seen.end()) {
                seen.push_back(Fold(next));
                subkeys->emplace_back(next);
            }
        }
    }
    return found;
}

bool ReadOnlyHive::CanOpen(std::string_view key, RegistryAccess access) {
    return access == RegistryAccess::Read && Find(key, nullptr);
}

bool ReadOnlyHive::Create(std::string_view) {
    return false;
}

std::vector<std::string> ReadOnlyHive::SubKeys(std::string_view key) {
    std::vector<std::string> subkeys;
    Find(key, &subkeys);
    return subkeys;
}

std::vector<RegistryValue> ReadOnlyHive::Values(std::string_view) {
    return {};
}

bool ReadOnlyHive::Set(std::string_view, const RegistryValue&) {
    return false;
}

bool ReadOnlyHive::Delete(std::string_view, std::string_view) {
    return false;
}
