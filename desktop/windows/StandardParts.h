// The tabs and actions the program is built with.
#pragma once

#include "desktop/windows/MainWindowParts.h"

namespace wexal::desktop {

MainWindowParts StandardParts();

}  // namespace wexal::desktop
