// WexalDT on a real X display server (Xvfb through xvfb-run), with the
// platform plugin the system gives it: it shows its window, the display is
// pictured into build/screenshots/, and SIGTERM closes it as "E&xit" does,
// writing its configuration and settings.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "tests/desktop/windows/ProgramHome.h"
#include "tests/support/Commands.h"
#include "tests/support/MissingDependency.h"

namespace wexal::testing {
namespace {

namespace fs = std::filesystem;

TEST(XDisplaySmokeTest, ShowsItsWindowAndWritesItsConfigurationOnSigterm) {
    const CommandRun server = Execute("xvfb-run -a true");
    if (server.exitCode != 0) {
        WEXAL_MISSING_DEPENDENCY("xvfb-run cannot start an X server here: " + server.output);
    }
    ProgramHome home;
    const fs::path runtime = home.Root() / "runtime";
    fs::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    const ScopedEnv runtimeFolder("XDG_RUNTIME_DIR", runtime.string());
    const fs::path picture = fs::path(WEXAL_SCREENSHOT_DIR) / "x-display-wexaldt.png";
    fs::create_directories(picture.parent_path());
    fs::remove(picture);

    const CommandRun run =
        Execute("xvfb-run -a -s '-screen 0 1024x768x24' " + Quote(XDISPLAY_SMOKE_SCRIPT) + " " +
                Quote(WEXAL_DT_PROGRAM) + " " + Quote(picture));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("window shown"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("exit 0"), std::string::npos) << run.output;
    ASSERT_TRUE(fs::exists(picture)) << run.output;
    EXPECT_GT(fs::file_size(picture), 1000u) << "a picture of an empty display";

    // The first start's configuration and the window's place and tab.
    // A first start's configuration holds the one option that has a value.
    EXPECT_EQ(ReadFile(home.ConfigFile()), "AutoOffMinutes=0\r\n");
    const std::string settings = ReadFile(home.SettingsFile());
    for (const char* key :
         {"MainLeft=", "MainTop=", "MainWidth=", "MainHeight=", "SelectedTab=1"}) {
        EXPECT_NE(settings.find(key), std::string::npos) << key << "\n" << settings;
    }
}

}  // namespace
}  // namespace wexal::testing
