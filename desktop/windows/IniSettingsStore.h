// The per-user settings store: one INI file, by default
// $XDG_CONFIG_HOME/wexal/WexalDT.ini beside the registry file.
#pragma once

#include <QSettings>
#include <filesystem>

#include "desktop/core/SettingsStore.h"

namespace wexal::desktop {

class IniSettingsStore final : public SettingsStore {
  public:
    // The user's own file.
    IniSettingsStore();
    explicit IniSettingsStore(const std::filesystem::path& file);

    static std::filesystem::path DefaultFile();

    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override;
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override;

  private:
    // Mutable because QSettings reads the file lazily, also from const readers.
    mutable QSettings settings_;
};

}  // namespace wexal::desktop
