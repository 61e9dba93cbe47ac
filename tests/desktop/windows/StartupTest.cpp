// Start-up in-process: the companion-file check, the "sub main" handler that
// saves nothing, the splash switch and the splash's wait, a close asked for
// while starting.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTimer>
#include <chrono>
#include <filesystem>

#include "desktop/windows/StandardParts.h"
#include "desktop/windows/Startup.h"
#include "desktop/windows/frmMain.h"
#include "tests/desktop/core/ConfigFolder.h"
#include "tests/desktop/windows/ProgramHome.h"
#include "tests/desktop/windows/ShowRecorder.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

namespace fs = std::filesystem;
using testing::DataFile;
using testing::ProgramHome;
using testing::ReadFile;
using testing::ScriptedMessages;
using testing::ShowRecorder;
using testing::WriteFile;
using namespace std::chrono_literals;

const QStringList kNoSplash = {QStringLiteral("WexalDT"), QStringLiteral("NOSPLASH")};

// What a file holds and when it was last written.
struct FileState {
    std::string bytes;
    fs::file_time_type written;
    friend bool operator==(const FileState&, const FileState&) = default;
};

FileState StateOf(const fs::path& file) {
    return {ReadFile(file), fs::last_write_time(file)};
}

// Written long ago, so that any rewrite shows in the modification time.
void WriteOld(const fs::path& file, const std::string& bytes) {
    WriteFile(file, bytes);
    fs::last_write_time(file, fs::file_time_type::clock::now() - 24h * 400);
}

StartupOptions Quick() {
    StartupOptions options;
    options.splashInterval = 400ms;
    return options;
}

// One run of start-up; a window that came up is closed as the user would.
struct StartOutcome {
    std::optional<int> exit;
    std::vector<ScriptedMessages::Shown> messages;
    bool windowShown = false;
};

StartOutcome StartProgram(ProgramHome& home, const QStringList& arguments = kNoSplash,
                          MainWindowParts parts = StandardParts(),
                          StartupOptions options = Quick()) {
    home.AddFiles({"libWexalCN.so"});  // or the Installation tab warns at load
    ShowRecorder shows;
    Startup startup(home.NewRun(), std::move(parts), options);
    StartOutcome run;
    run.exit = startup.Main(arguments);
    run.windowShown = shows.FirstShown("frmMain").has_value();
    if (!run.exit) {
        startup.MainForm()->close();
    }
    run.messages = home.Messages().All();
    return run;
}

TEST(StartupTest, MissingCompanionFilesAreListedAndTheConfigurationIsWrittenAsOnClose) {
    ProgramHome home;
    WriteFile(home.ConfigFile(), DataFile("hand-edited.cfg"));
    const StartOutcome missing = StartProgram(home);
    const std::string missingConfig = ReadFile(home.ConfigFile());
    const std::string missingSettings = ReadFile(home.SettingsFile());

    EXPECT_EQ(missing.exit, 1);
    EXPECT_FALSE(missing.windowShown);
    ASSERT_EQ(missing.messages.size(), 1u);
    EXPECT_EQ(missing.messages[0].kind, ScriptedMessages::Kind::kMessageWindow);
    EXPECT_EQ(missing.messages[0].text,
              "Required file 'libuserdata.so' not found\r\n"
              "Required file 'libcondinst.so' not found\r\n"
              "Required file 'wexal.prc' not found\r\n"
              "Required file 'libcondmgr.so' not found\r\n");

    // The same start with the files there (the handheld application in
    // capitals, as it may come), closed at once, writes the same.
    WriteFile(home.ConfigFile(), DataFile("hand-edited.cfg"));
    fs::remove(home.SettingsFile());
    home.AddFiles({"libuserdata.so", "libcondinst.so", "WEXAL.PRC", "libcondmgr.so"});
    const StartOutcome normal = StartProgram(home);
    EXPECT_EQ(normal.exit, std::nullopt);
    EXPECT_TRUE(normal.windowShown);
    EXPECT_TRUE(normal.messages.empty());
    EXPECT_EQ(missingConfig, ReadFile(home.ConfigFile()));
    EXPECT_EQ(missingConfig, DataFile("hand-edited.expected.cfg"));
    EXPECT_EQ(missingSettings, ReadFile(home.SettingsFile()));
    EXPECT_NE(missingSettings.find("SelectedTab=1"), std::string::npos) << missingSettings;
}

TEST(StartupTest, ErrorsOfStartUpShowSubMainAndSaveNothing) {
    struct Case {
        const char* name;
        std::string config;    // WexalDT.cfg before the start
        std::string registry;  // the registry file before the start
        bool tabFails;         // the Operation tab's load throws
        std::string textStart;
    };
    const std::vector<Case> cases = {
        {"malformed number", "UseInitials=Y\r\nAutoOffMinutes=abc\r\n", "", false,
         "13Type mismatch"},
        {"number too large", "AutoOffMinutes=40000\r\n", "", false, "6Overflow"},
        {"damaged registry", "UseInitials=Y\r\n", "this is no registry\n", false, "5"},
        {"a tab's load fails", "UseInitials=Y\r\n", "", true, "5The tab broke"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramHome home;
        home.AddAllRequiredFiles();
        WriteOld(home.ConfigFile(), c.config);
        WriteOld(home.SettingsFile(), "[Settings]\nMainLeft=1234\n");
        if (!c.registry.empty()) {
            WriteOld(home.RegistryFile(), c.registry);
        }
        const FileState config = StateOf(home.ConfigFile());
        const FileState settings = StateOf(home.SettingsFile());

        MainWindowParts parts = StandardParts();
        if (c.tabFails) {
            struct FailingTab final : MainWindowTab {
                void FillAtLoad() override { throw std::runtime_error("The tab broke"); }
            };
            parts.Operation = [](MainWindowContext&) { return std::make_unique<FailingTab>(); };
        }
        const StartOutcome run = StartProgram(home, kNoSplash, std::move(parts));

        EXPECT_EQ(run.exit, 1);
        EXPECT_FALSE(run.windowShown);
        ASSERT_EQ(run.messages.size(), 1u);
        EXPECT_EQ(run.messages[0].kind, ScriptedMessages::Kind::kMessageBox);
        EXPECT_EQ(run.messages[0].title, "sub main");
        EXPECT_EQ(run.messages[0].buttons, Messages::Buttons::kOk);
        EXPECT_EQ(run.messages[0].text.rfind(c.textStart, 0), 0u) << run.messages[0].text;
        EXPECT_EQ(StateOf(home.ConfigFile()), config);
        EXPECT_EQ(StateOf(home.SettingsFile()), settings);
        if (!c.registry.empty()) {
            EXPECT_NE(run.messages[0].text.find(home.RegistryFile().string()), std::string::npos)
                << "the registry's own message names its file: " << run.messages[0].text;
        }
    }
}

TEST(StartupTest, AConfigurationThatCannotBeReadIsNamedAndLeftAsItIs) {
    ProgramHome home;
    home.AddAllRequiredFiles();
    ASSERT_EQ(::mkfifo(home.ConfigFile().c_str(), 0600), 0);
    const StartOutcome run = StartProgram(home);
    EXPECT_TRUE(run.windowShown);
    ASSERT_EQ(run.messages.size(), 2u);
    EXPECT_EQ(run.messages[0].text, "Unable to open configuration file " +
                                        home.ConfigFile().string() + ": not a regular file");
    EXPECT_EQ(run.messages[1].text, "Unable to save configuration");
    EXPECT_TRUE(fs::is_fifo(home.ConfigFile()));
}

TEST(StartupTest, NosplashInAnyCaseAnywhereShowsNoSplash) {
    const std::vector<QStringList> commandLines = {
        {"WexalDT", "nosplash"},
        {"WexalDT", "-x", "NoSplash"},
        {"WexalDT", "/aNOSPLASHb"},
    };
    for (const QStringList& arguments : commandLines) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        ProgramHome home;
        home.AddAllRequiredFiles();
        ShowRecorder shows;
        // A splash timer as long as the bound of a hang: a start that waited
        // for it would show, however fast or slow the machine.
        StartupOptions longSplash;
        longSplash.splashInterval = testing::kHangBound;
        const StartOutcome run = StartProgram(home, arguments, StandardParts(), longSplash);
        EXPECT_EQ(run.exit, std::nullopt);
        EXPECT_TRUE(run.windowShown);
        EXPECT_FALSE(shows.FirstShown("frmSplash"));
        EXPECT_LT(shows.ElapsedMs(), testing::kHangBoundMs);
    }
}

TEST(StartupTest, TheWindowShowsOnlyAfterTheSplashTimer) {
    ProgramHome home;
    home.AddAllRequiredFiles();
    ShowRecorder shows;
    // The program's own name does not count: only the arguments after it.
    const StartOutcome run = StartProgram(home, {"/opt/nosplash/WexalDT", "SPLASH"});
    EXPECT_EQ(run.exit, std::nullopt);
    const std::optional<qint64> splash = shows.FirstShown("frmSplash");
    const std::optional<qint64> window = shows.FirstShown("frmMain");
    ASSERT_TRUE(splash);
    ASSERT_TRUE(window);
    // Measured from before the start: the splash's own show may come late on
    // a loaded machine, while its timer already runs.
    EXPECT_LT(*splash, *window);
    EXPECT_GE(*window, 400 - 20);
}

TEST(StartupTest, ACloseAskedForWhileStartingClosesAsExitDoes) {
    ProgramHome home;
    home.AddAllRequiredFiles();
    ShowRecorder shows;
    Startup startup(home.Services(), StandardParts(), Quick());
    QTimer::singleShot(50ms, [&startup] { startup.RequestClose(); });
    EXPECT_EQ(startup.Main({"WexalDT"}), 0);
    EXPECT_FALSE(shows.FirstShown("frmMain"));
    EXPECT_TRUE(fs::exists(home.ConfigFile()));
    EXPECT_NE(ReadFile(home.SettingsFile()).find("MainLeft=1000"), std::string::npos);
}

}  // namespace
}  // namespace wexal::desktop
