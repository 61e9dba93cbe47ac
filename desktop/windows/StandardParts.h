// The tabs and actions the program is built with.
#pragma once

#include <memory>

#include "desktop/core/FileChooser.h"
#include "desktop/windows/MainWindowParts.h"
#include "desktop/windows/ReportPrintDialog.h"

namespace wexal::desktop {

// The platform's own dialogs that the windows open; a test answers them by
// script instead.
struct PlatformDialogs {
    std::shared_ptr<FileChooser> files;
    std::shared_ptr<ReportPrintDialog> print;
};

// The file dialogs and the print dialog of the platform.
PlatformDialogs SystemDialogs();

// The tabs alone; their buttons' actions do nothing.
MainWindowParts StandardParts();

// The tabs with every action wired to its window; `services` must outlive
// the main window.
MainWindowParts StandardParts(ProgramServices& services, PlatformDialogs dialogs = SystemDialogs());

}  // namespace wexal::desktop
