// The per-user settings store: text values by section and key under the
// program's title (one INI file per user in the windows layer).
#pragma once

#include <string>
#include <string_view>

namespace wexal::desktop {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The stored text, or `defaultValue` when the key holds none.
    virtual std::string GetSetting(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const = 0;
    virtual void SaveSetting(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
};

}  // namespace wexal::desktop
