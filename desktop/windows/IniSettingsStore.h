// The per-user settings store: one INI file, by default
// $XDG_CONFIG_HOME/wexal/WexalDT.ini beside the registry file. A FIFO or a
// device in its place is neither read nor written: every value reads as its
// default and nothing is kept.
#pragma once

#include <QSettings>
#include <filesystem>
#include <memory>

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
    // Mutable because QSettings reads the file lazily, also from const readers;
    // none when the file is refused.
    mutable std::unique_ptr<QSettings> settings_;
};

}  // namespace wexal::desktop
