// Texts from files the office writes by hand: UTF-8 today, Windows-1252 from
// older editors.
#pragma once

#include <string>
#include <string_view>

#include "platform/text/Utf8.h"

namespace wexal::desktop {

using text::IsValidUtf8;

// The text as UTF-8: unchanged when it is valid UTF-8, else read as
// Windows-1252 (its five unassigned bytes become the control characters of
// the same number, so nothing is lost).
std::string Utf8OrWindows1252(std::string_view bytes);

}  // namespace wexal::desktop
