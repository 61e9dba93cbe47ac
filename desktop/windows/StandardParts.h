// The tabs and actions the program is built with.
#pragma once

#include "desktop/windows/MainWindowParts.h"

namespace wexal::desktop {

// The tabs alone; their buttons' actions do nothing.
MainWindowParts StandardParts();

// The tabs with every action wired to its window; `services` must outlive
// the main window.
MainWindowParts StandardParts(ProgramServices& services);

}  // namespace wexal::desktop
