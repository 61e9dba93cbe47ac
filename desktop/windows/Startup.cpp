#include "desktop/windows/Startup.h"

#include <QApplication>
#include <exception>

#include "desktop/core/ProgramIdentity.h"
#include "desktop/core/StartupRules.h"
#include "desktop/windows/SingleInstance.h"
#include "desktop/windows/frmMain.h"
#include "desktop/windows/frmSplash.h"
#include "platform/registry/Registry.h"

namespace wexal::desktop {

namespace {

constexpr int kExitNormal = 0;
constexpr int kExitFailed = 1;

std::vector<std::string> ArgumentsAfterProgram(const QStringList& arguments) {
    std::vector<std::string> words;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        words.push_back(arguments[i].toStdString());
    }
    return words;
}

}  // namespace

Startup::Startup(ProgramServices& services, MainWindowParts parts, StartupOptions options)
    : services_(services), parts_(std::move(parts)), options_(std::move(options)) {}

Startup::~Startup() = default;

std::optional<int> Startup::Main(const QStringList& arguments) {
    if (!options_.instanceFolder.isEmpty()) {
        instance_ = std::make_unique<SingleInstance>(
            options_.instanceFolder, QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()));
        if (instance_->Claim() == SingleInstance::Role::kHandedOver) {
            return kExitNormal;
        }
        connect(instance_.get(), &SingleInstance::ActivationRequested, this, [this] {
            if (running_ && gMainForm) {
                gMainForm->Activate();
            }
        });
    }

    const bool withSplash = !SplashSwitchedOff(ArgumentsAfterProgram(arguments));
    try {
        LoadWindows(withSplash);
    } catch (...) {
        const std::string text = SubMainText(std::current_exception());
        splash_.reset();
        // Thrown away unseen and unclosed: nothing of a failed start is saved.
        gMainForm.reset();
        services_.messages.MessageBox(text, "sub main");
        return kExitFailed;
    }

    if (closeRequested_) {
        gMainForm->close();
        return kExitNormal;
    }
    if (!CheckRequiredFiles()) {
        // Unloaded unseen, which saves as a normal close does.
        gMainForm->close();
        return kExitFailed;
    }
    gMainForm->show();
    running_ = true;
    return std::nullopt;
}

void Startup::LoadWindows(bool withSplash) {
    gSplashActive = true;
    CheckRegistry();
    services_.config.LoadConfig();
    if (!services_.config.LoadFailure().empty()) {
        services_.messages.ShowMessage(services_.config.LoadFailure());
    }
    if (withSplash) {
        splash_ = std::make_unique<frmSplash>(options_.splashInterval);
        connect(splash_.get(), &frmSplash::TimerFired, this, [this] { gSplashActive = false; });
        splash_->show();
        splash_->repaint();
    }
    gMainForm = std::make_unique<frmMain>(services_, parts_);
    gMainForm->Load();
    if (withSplash) {
        while (gSplashActive && !closeRequested_) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        splash_.reset();
    }
}

void Startup::CheckRegistry() {
    registry::Registry::CurrentUser().ReadValue(
        std::string(clsConfig::kRegistryKeyPrefix) + std::string(clsConfig::kVersion),
        clsConfig::kPathValue);
}

bool Startup::CheckRequiredFiles() {
    const std::string missing = MissingRequiredFiles(services_.folder.Path());
    if (missing.find_first_not_of(' ') == std::string::npos) {
        return true;
    }
    services_.messages.ShowMessage(missing);
    return false;
}

void Startup::RequestClose() {
    if (running_ && gMainForm) {
        gMainForm->close();
    } else {
        closeRequested_ = true;
    }
}

}  // namespace wexal::desktop
