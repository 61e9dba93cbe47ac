// The handheld units of the site: how many there are, their HotSync user
// names and what the desktop remembers about each in the per-user settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/core/Clock.h"
#include "desktop/core/SettingsStore.h"

namespace wexal::desktop {

// [Settings] UnitCount; 20 when absent or not a positive whole number.
std::int32_t UnitCount(const SettingsStore& settings);

// "UNIT" and the number with at least two digits: UNIT01, UNIT12, UNIT100.
std::string UnitUserName(std::int32_t unit);

// The grid row of unit `unit`: its number, last install, version, last
// HotSync and lifetime reads, with their defaults.
std::vector<std::string> UnitRow(const SettingsStore& settings, std::int32_t unit);

// Remembers that the handheld application was queued for the unit today
// (mm/dd/yy) with the conduit date `version`.
void RecordUnitInstall(SettingsStore& settings, std::int32_t unit, const Clock& clock,
                       const std::string& version);

// Whether the unit is offered preselected: its version text sorts before the
// conduit date, or it was never installed.
bool NeedsInstall(const std::string& lastInstall, const std::string& version,
                  const std::string& conduitDate);

}  // namespace wexal::desktop
