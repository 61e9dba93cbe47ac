// Each line below is where one window family plugs into the main window:
// replace a placeholder by the real factory or action, nothing else changes.
#include "desktop/windows/StandardParts.h"

#include "desktop/windows/InstallationTab.h"
#include "desktop/windows/PlaceholderTabs.h"

namespace wexal::desktop {

MainWindowParts StandardParts() {
    MainWindowParts parts;
    parts.Interface = [](MainWindowContext&) {
        return MakePlaceholderTab(QStringLiteral("Interface"));
    };
    parts.Operation = [](MainWindowContext&) {
        return MakePlaceholderTab(QStringLiteral("Operation"));
    };
    parts.Installation = [](MainWindowContext& context) -> std::unique_ptr<MainWindowTab> {
        return std::make_unique<InstallationTab>(context,
                                                 StandardInstallationSources(context.services));
    };
    parts.actions.ReportExceptions = {};
    parts.actions.RollReadings = {};
    parts.actions.MapRouteFields = {};
    parts.actions.MapReadingFields = {};
    return parts;
}

}  // namespace wexal::desktop
