// Who the desktop program is: its title (window captions, the per-user
// settings' application name) and the version it shows.
#pragma once

#include <string>
#include <string_view>

namespace wexal::desktop {

inline constexpr std::string_view kProgramTitle = "WexalDT";

// The program's own version; its file version (the build's version note) is
// these three and a fourth part 0.
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 8;
inline constexpr int kVersionRevision = 1;

// "Version 2.8.1", as the splash and the About box show it.
inline std::string VersionLabel() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

}  // namespace wexal::desktop
