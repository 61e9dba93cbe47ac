// The program's title: the caption of its message boxes and the name under
// which its per-user settings are kept.
#pragma once

#include <string_view>

namespace wexal::desktop {

inline constexpr std::string_view kProgramTitle = "WexalDT";

}  // namespace wexal::desktop
