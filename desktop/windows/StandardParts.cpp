// Each line below is where one window family plugs into the main window:
// the factories and actions named here are all that ties a window to it.
#include "desktop/windows/StandardParts.h"

#include "desktop/core/ReadingsRoll.h"
#include "desktop/windows/ApplicationBeeper.h"
#include "desktop/windows/ApplicationPrinter.h"
#include "desktop/windows/DialogFileChooser.h"
#include "desktop/windows/ExceptionsReport.h"
#include "desktop/windows/InstallationTab.h"
#include "desktop/windows/InterfaceTab.h"
#include "desktop/windows/OperationTab.h"
#include "desktop/windows/ReportPrintDialog.h"
#include "desktop/windows/SystemClipboard.h"
#include "desktop/windows/frmExcelReadingMap.h"
#include "desktop/windows/frmExcelRouteMap.h"
#include "desktop/windows/frmResponseCodes.h"

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
    parts.Installation = [](MainWindowContext& context) -> std::unique_ptr<MainWindowTab> {
        return std::make_unique<InstallationTab>(context,
                                                 StandardInstallationSources(context.services));
    };
    parts.actions.ReportExceptions = {};
    parts.actions.RollReadings = {};
    parts.actions.MapRouteFields = {};
    parts.actions.MapReadingFields = {};
    parts.actions.EditResponseCodes = {};
    return parts;
}

MainWindowParts StandardParts(ProgramServices& services) {
    MainWindowParts parts = StandardParts();
    parts.actions.ReportExceptions = [&services](QWidget* owner) {
        SystemReportPrintDialog printDialog;
        ReportExceptions(owner, services.config,
                         {services.messages, services.clock, ApplicationPrinter(), printDialog});
    };
    parts.actions.RollReadings = [&services](QWidget*, const std::string& readingsFile,
                                             const std::string& rollFolder) {
        RollReadings(readingsFile, rollFolder, services.clock, services.messages);
    };
    parts.actions.MapRouteFields = [&services](QWidget* owner) {
        ShowExcelRouteMap(services.config, services.messages, owner);
    };
    parts.actions.MapReadingFields = [&services](QWidget* owner) {
        ShowExcelReadingMap(services.config, services.messages, owner);
    };
    parts.actions.EditResponseCodes = [&services](QWidget* owner) {
        DialogFileChooser files;
        ApplicationBeeper beeper;
        SystemClipboard clipboard;
        frmResponseCodes editor(services.config, files,
                                {services.messages, beeper, clipboard, services.clock}, owner);
        editor.Display();
    };
    return parts;
}

}  // namespace wexal::desktop
