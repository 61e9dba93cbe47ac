// The conduits registered with the sync manager (ConduitRegistrations.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wexal::hotsync {

struct RegisteredConduit {
    std::string key;  // "Application7"
    std::uint32_t creator = 0;
    std::filesystem::path file;
};

// In key number order; entries without a `Conduit` value are left out.
// Throws registry::RegistryError for a damaged registry.
std::vector<RegisteredConduit> RegisteredConduits();

}  // namespace wexal::hotsync
