// The program's one printer: Page Setup changes it and the exceptions report
// prints on it, so the report comes out as the page was set up.
#pragma once

class QPrinter;

namespace wexal::desktop {

// Made on first use (a QApplication must exist); gone with the application.
QPrinter& ApplicationPrinter();

}  // namespace wexal::desktop
