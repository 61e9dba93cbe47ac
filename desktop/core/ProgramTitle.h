// The program's title: the caption of its own message window and of the
// plain message boxes that carry "the program's title".
#pragma once

#include <string_view>

namespace wexal::desktop {

inline constexpr std::string_view kProgramTitle = "WexalDT";

}  // namespace wexal::desktop
