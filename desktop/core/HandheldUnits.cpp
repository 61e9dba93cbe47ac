#include "desktop/core/HandheldUnits.h"

#include <charconv>
#include <cstdio>

namespace wexal::desktop {

namespace {

constexpr std::int32_t kDefaultUnitCount = 20;

}  // namespace

std::int32_t UnitCount(const SettingsStore& settings) {
    const std::string text = settings.GetSetting("Settings", "UnitCount", "");
    std::int32_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count < 1) {
        return kDefaultUnitCount;
    }
    return count;
}

std::string UnitUserName(std::int32_t unit) {
    char text[24];
    std::snprintf(text, sizeof text, "UNIT%02d", static_cast<int>(unit));
    return text;
}

std::vector<std::string> UnitRow(const SettingsStore& settings, std::int32_t unit) {
    const std::string key = std::to_string(unit);
    return {key, settings.GetSetting("UNITINSTALL", key, "Never"),
            settings.GetSetting("UNITVERSION", key, ""),
            settings.GetSetting("UNITHOTSYNC", key, "Never"),
            settings.GetSetting("UNITREADS", key, "0")};
}

void RecordUnitInstall(SettingsStore& settings, std::int32_t unit, const Clock& clock,
                       const std::string& version) {
    const LocalDateTime now = clock.Now();
    char today[40];
    std::snprintf(today, sizeof today, "%02d/%02d/%02d", now.Month, now.Day, now.Year % 100);
    const std::string key = std::to_string(unit);
    settings.SaveSetting("UNITINSTALL", key, today);
    settings.SaveSetting("UNITVERSION", key, version);
}

bool NeedsInstall(const std::string& lastInstall, const std::string& version,
                  const std::string& conduitDate) {
    return version < conduitDate || lastInstall == "Never";
}

}  // namespace wexal::desktop
