// The registry file parser on any text, then the registry itself on the same
// text as its file. A hive that parses must come back unchanged from the text
// it is written as, since every change rewrites the whole file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/ScratchFolder.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryFormat.h"

namespace {

namespace registry = wexal::registry;

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

bool SameKey(const registry::detail::Key& a, const registry::detail::Key& b) {
    if (a.name != b.name || a.values != b.values || a.subkeys.size() != b.subkeys.size()) {
        return false;
    }
    for (auto i = a.subkeys.begin(), j = b.subkeys.begin(); i != a.subkeys.end(); ++i, ++j) {
        if (i->first != j->first || !SameKey(*i->second, *j->second)) {
            return false;
        }
    }
    return true;
}

// Reads every key and value of the hive through the file, as the conduit
// and the desktop do.
void ReadAll(const registry::Registry& file, const std::string& key) {
    Check(file.KeyExists(key));
    for (const std::string& name : file.ValueNames(key)) {
        Check(file.ReadValue(key, name).has_value());
    }
    for (const std::string& sub : file.SubKeys(key)) {
        ReadAll(file, key + "\\" + sub);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    registry::detail::Key hive;
    try {
        hive = registry::detail::Parse(text, "input");
    } catch (const registry::RegistryError&) {
        return 0;
    }
    const std::string written = registry::detail::Serialize(hive);
    const registry::detail::Key again = registry::detail::Parse(written, "written");
    Check(SameKey(hive, again));
    Check(registry::detail::Serialize(again) == written);

    const auto path = wexal::fuzz::WriteScratchFile("registry.reg", data, size);
    ReadAll(registry::Registry(path), "");
    return 0;
}
