// What start-up decides before a window shows: the splash switch, the
// companion files, the "sub main" text, and the stored placement's numbers.
#include <gtest/gtest.h>

#include <filesystem>

#include "desktop/core/DesktopError.h"
#include "desktop/core/StartupRules.h"
#include "desktop/core/WindowPlacement.h"
#include "platform/registry/Registry.h"
#include "tests/support/TempDir.h"

namespace wexal::desktop {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(StartupRulesTest, SplashSwitch) {
    const std::vector<std::pair<std::vector<std::string>, bool>> cases = {
        {{}, false},
        {{"NOSPLASH"}, true},
        {{"nosplash"}, true},
        {{"-x", "NoSpLaSh"}, true},
        {{"/aNOSPLASHb"}, true},
        {{"NO", "SPLASH"}, false},
        {{"NOSPLAS"}, false},
    };
    for (const auto& [arguments, off] : cases) {
        EXPECT_EQ(SplashSwitchedOff(arguments), off) << ::testing::PrintToString(arguments);
    }
}

TEST(StartupRulesTest, RequiredFiles) {
    const std::string all =
        "Required file 'libuserdata.so' not found\r\n"
        "Required file 'libcondinst.so' not found\r\n"
        "Required file 'wexal.prc' not found\r\n"
        "Required file 'libcondmgr.so' not found\r\n";
    struct Case {
        std::vector<std::string> files;
        std::vector<std::string> folders;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{}, {}, all},
        {{"libuserdata.so", "libcondinst.so", "wexal.prc"},
         {},
         "Required file 'libcondmgr.so' not found\r\n"},
        {{"libuserdata.so", "libcondinst.so", "Wexal.prc", "libcondmgr.so"}, {}, ""},
        {{"LIBUSERDATA.SO", "libCondInst.so", "WEXAL.PRC", "libcondmgr.so"}, {}, ""},
        // A folder of the name is not the file.
        {{"libuserdata.so", "libcondinst.so", "libcondmgr.so"},
         {"wexal.prc"},
         "Required file 'wexal.prc' not found\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.files));
        TempDir folder;
        for (const std::string& file : c.files) {
            WriteFile(folder / file, "x");
        }
        for (const std::string& name : c.folders) {
            std::filesystem::create_directory(folder / name);
        }
        EXPECT_EQ(MissingRequiredFiles(folder.path()), c.message);
    }
    EXPECT_EQ(MissingRequiredFiles("/no/such/folder"), all);
}

TEST(StartupRulesTest, SubMainText) {
    const auto text = [](auto error) { return SubMainText(std::make_exception_ptr(error)); };
    EXPECT_EQ(text(DesktopError(kErrorTypeMismatch, "Type mismatch")), "13Type mismatch");
    EXPECT_EQ(text(DesktopError(kErrorOverflow, "Overflow", "AutoOffMinutes", "40000", "/c/W.cfg")),
              "6Overflow (AutoOffMinutes=40000 in /c/W.cfg)");
    EXPECT_EQ(text(registry::RegistryError("/r/registry.reg line 3: not a key")),
              "5/r/registry.reg line 3: not a key");
    EXPECT_EQ(text(42), "5Application-defined or object-defined error");
}

TEST(StartupRulesTest, StoredPlacementNumbers) {
    const std::vector<std::pair<std::string, std::optional<std::int64_t>>> twips = {
        {"1000", 1000},   {" 1500 ", 1500}, {"-300", -300},   {"+45", 45},
        {"1000.5", 1000}, {"1001.5", 1002}, {"", {}},         {"abc", {}},
        {"12px", {}},     {"1e3", {}},      {"99999999", {}},
    };
    for (const auto& [text, value] : twips) {
        EXPECT_EQ(ReadTwips(text), value) << '"' << text << '"';
    }
    const std::vector<std::pair<std::string, int>> tabs = {
        {"1", 1},  {"3", 3},   {" 2 ", 2}, {"0", 1}, {"4", 1},
        {"-1", 1}, {"2.5", 1}, {"x", 1},   {"", 1},
    };
    for (const auto& [text, tab] : tabs) {
        EXPECT_EQ(ReadSelectedTab(text, 3), tab) << '"' << text << '"';
    }
    EXPECT_EQ(TwipsToPixels(1000), 67);
    EXPECT_EQ(TwipsToPixels(4000), 267);
    EXPECT_EQ(PixelsToTwips(67), 1005);
}

}  // namespace
}  // namespace wexal::desktop
