// A scratch home for one test of the configuration file: the registry file
// and XDG_CONFIG_HOME point into a temporary folder for the test's life.
#pragma once

#include <filesystem>
#include <string>

#include "desktop/core/clsConfig.h"
#include "platform/registry/Registry.h"
#include "tests/support/TempDir.h"

namespace wexal::testing {

inline std::string ConfigRegistryKey() {
    return std::string(desktop::clsConfig::kRegistryKeyPrefix) +
           std::string(desktop::clsConfig::kVersion);
}

// The golden files of the tests.
inline std::string DataFile(const std::string& name) {
    return ReadFile(std::filesystem::path(WEXAL_DESKTOP_TEST_DATA) / name);
}

class ConfigFolder {
  public:
    registry::Registry Registry() const { return registry::Registry(dir_ / "registry.reg"); }
    const std::filesystem::path& Root() const { return dir_.path(); }
    // The folder used when the registry names none.
    std::filesystem::path Fallback() const { return dir_ / "config" / "wexal"; }

    // Names `folder` (created) as the configuration folder in the registry.
    std::filesystem::path UseFolder(const std::string& name = "cfg") const {
        const std::filesystem::path folder = dir_ / name;
        std::filesystem::create_directories(folder);
        Registry().WriteString(ConfigRegistryKey(), "Path", folder.string());
        return folder;
    }

  private:
    TempDir dir_;
    ScopedEnv registry_{registry::Registry::kFileVariable, (dir_ / "registry.reg").string()};
    ScopedEnv config_{"XDG_CONFIG_HOME", (dir_ / "config").string()};
};

}  // namespace wexal::testing
