// WexalDT, the office program: chooses the billing-system interface, sets the
// handheld options, registers the conduit and queues the handheld
// application, and reports what the meter readers could not do.
#include <QApplication>
#include <QStandardPaths>

#include "desktop/core/ProgramIdentity.h"
#include "desktop/core/clsConfig.h"
#include "desktop/windows/ExecutableFolder.h"
#include "desktop/windows/IniSettingsStore.h"
#include "desktop/windows/ProgramMessages.h"
#include "desktop/windows/StandardParts.h"
#include "desktop/windows/Startup.h"
#include "desktop/windows/SystemClock.h"
#include "desktop/windows/TerminationSignals.h"

int main(int argc, char** argv) {
    using namespace wexal::desktop;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()));
    TerminationSignals termination;

    clsConfig config;
    ProgramMessages messages;
    IniSettingsStore settings;
    ExecutableFolder folder;
    SystemClock clock;
    ProgramServices services{config, messages, settings, folder, clock};

    StartupOptions options;
    options.instanceFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    Startup startup(services, StandardParts(services), options);
    QObject::connect(&termination, &TerminationSignals::Received, &startup,
                     [&startup] { startup.RequestClose(); });

    if (const std::optional<int> ended = startup.Main(QApplication::arguments())) {
        return *ended;
    }
    return QApplication::exec();
}
