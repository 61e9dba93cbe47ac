// A scratch world for one in-process run of the program: the registry file,
// the configuration and settings folder and a program folder in a temporary
// folder, with the program-wide objects a window needs, messages answered by
// script and the clock fixed.
#pragma once

#include <filesystem>
#include <string>

#include "desktop/core/ProgramFolder.h"
#include "desktop/core/clsConfig.h"
#include "desktop/windows/IniSettingsStore.h"
#include "desktop/windows/MainWindowParts.h"
#include "platform/registry/Registry.h"
#include "tests/desktop/windows/FixedClock.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/support/TempDir.h"

namespace wexal::testing {

class ProgramHome {
  public:
    ProgramHome() {
        std::filesystem::create_directories(ConfigFolder());
        std::filesystem::create_directories(ProgramFolder());
    }

    // Where WexalDT.cfg and WexalDT.ini lie (the registry names no folder).
    std::filesystem::path ConfigFolder() const { return dir_ / "config" / "wexal"; }
    std::filesystem::path ConfigFile() const { return ConfigFolder() / "WexalDT.cfg"; }
    std::filesystem::path SettingsFile() const { return ConfigFolder() / "WexalDT.ini"; }
    std::filesystem::path RegistryFile() const { return dir_ / "registry.reg"; }
    // The folder the program runs from; empty until files are put in.
    std::filesystem::path ProgramFolder() const { return dir_ / "bin"; }
    const std::filesystem::path& Root() const { return dir_.path(); }

    // Puts the companion files that start-up checks for into the program
    // folder, as named here.
    void AddFiles(std::initializer_list<const char*> names) const {
        for (const char* name : names) {
            WriteFile(ProgramFolder() / name, "stand-in\n");
        }
    }
    void AddAllRequiredFiles() const {
        AddFiles({"libuserdata.so", "libcondinst.so", "wexal.prc", "libcondmgr.so"});
    }

    // The program-wide objects of the current run, made on first use.
    desktop::ProgramServices& Services() { return CurrentRun().services; }
    ScriptedMessages& Messages() { return CurrentRun().messages; }
    desktop::clsConfig& Config() { return CurrentRun().config; }
    desktop::SettingsStore& Settings() { return CurrentRun().settings; }
    // Fresh program-wide objects, as the next start of the program has them.
    desktop::ProgramServices& NewRun() {
        run_.reset();
        return Services();
    }

  private:
    struct Folder final : desktop::ProgramFolder {
        explicit Folder(std::filesystem::path where) : where_(std::move(where)) {}
        std::filesystem::path Path() const override { return where_; }
        std::filesystem::path where_;
    };
    struct Run {
        Run(const std::filesystem::path& settingsFile, const std::filesystem::path& programFolder)
            : settings(settingsFile), folder(programFolder) {}
        desktop::clsConfig config;
        ScriptedMessages messages;
        desktop::IniSettingsStore settings;
        Folder folder;
        FixedClock clock;
        desktop::ProgramServices services{config, messages, settings, folder, clock};
    };

    Run& CurrentRun() {
        if (!run_) {
            run_ = std::make_unique<Run>(SettingsFile(), ProgramFolder());
        }
        return *run_;
    }

    TempDir dir_;
    ScopedEnv registry_{registry::Registry::kFileVariable, RegistryFile().string()};
    ScopedEnv config_{"XDG_CONFIG_HOME", (dir_ / "config").string()};
    ScopedEnv data_{"XDG_DATA_HOME", (dir_ / "data").string()};
    std::unique_ptr<Run> run_;
};

}  // namespace wexal::testing
