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

namespace {

MainWindowParts TabParts(const std::shared_ptr<FileChooser>& chooser) {
    MainWindowParts parts;
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

}  // namespace

PlatformDialogs SystemDialogs() {
    return {std::make_shared<DialogFileChooser>(), std::make_shared<SystemReportPrintDialog>()};
}

MainWindowParts StandardParts() {
    return TabParts(std::make_shared<DialogFileChooser>());
}

MainWindowParts StandardParts(ProgramServices& services, PlatformDialogs dialogs) {
    MainWindowParts parts = TabParts(dialogs.files);
    parts.actions.ReportExceptions = [&services, print = dialogs.print](QWidget* owner) {
        ReportExceptions(owner, services.config,
                         {services.messages, services.clock, ApplicationPrinter(), *print});
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
    parts.actions.EditResponseCodes = [&services, files = dialogs.files](QWidget* owner) {
        ApplicationBeeper beeper;
        SystemClipboard clipboard;
        frmResponseCodes editor(services.config, *files,
                                {services.messages, beeper, clipboard, services.clock}, owner);
        editor.Display();
    };
    return parts;
}

}  // namespace wexal::desktop
