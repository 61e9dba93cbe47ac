// Each line below is where one window family plugs into the main window:
// replace a placeholder by the real factory or action, nothing else changes.
#include "desktop/windows/StandardParts.h"

#include "desktop/windows/DialogFileChooser.h"
#include "desktop/windows/InterfaceTab.h"
#include "desktop/windows/OperationTab.h"
#include "desktop/windows/PlaceholderTabs.h"

namespace wexal::desktop {

MainWindowParts StandardParts() {
    MainWindowParts parts;
    const auto chooser = std::make_shared<DialogFileChooser>();
    parts.Interface = [chooser](MainWindowContext& context) {
        return std::make_unique<InterfaceTab>(context, chooser);
    };
    parts.Operation = [chooser](MainWindowContext& context) {
        return std::make_unique<OperationTab>(context, chooser);
    };
    parts.Installation = [](MainWindowContext&) { return MakeInstallationPlaceholderTab(); };
    parts.actions.ReportExceptions = {};
    parts.actions.RollReadings = {};
    parts.actions.MapRouteFields = {};
    parts.actions.MapReadingFields = {};
    parts.actions.EditResponseCodes = {};
    return parts;
}

}  // namespace wexal::desktop
