// The pictures of the report preview's toolbar buttons, drawn in code.
#pragma once

#include <QIcon>
#include <string_view>

namespace wexal::desktop {

// `key` is the button's action word: "PRINT", "FIRST", "PREV", "NEXT", "LAST"
// or "CLOSE".
QIcon ReportToolbarIcon(std::string_view key);

}  // namespace wexal::desktop
