// Stand-in tab panels: they say what the tab will hold and store nothing.
// StandardParts() uses them for a tab whose real panel is not built yet.
#pragma once

#include <memory>

#include "desktop/windows/MainWindowParts.h"

namespace wexal::desktop {

// A panel with one centred line naming the tab.
std::unique_ptr<MainWindowTab> MakePlaceholderTab(const QString& tabName);

}  // namespace wexal::desktop
