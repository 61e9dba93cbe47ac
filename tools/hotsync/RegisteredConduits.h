// The conduits registered with the sync manager: registry keys
// "Application1" to "Application99" with the values `Creator` and `Conduit`.
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

// A creator id of four characters as a 32-bit number ('TLWX'), as stored in
// `Creator` either as text or as a number.
std::uint32_t CreatorFromText(const std::string& text);

}  // namespace wexal::hotsync
