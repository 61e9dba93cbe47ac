// The windows layer's answers to the core's seams.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <fstream>
#include <sstream>

#include "desktop/windows/ExecutableFolder.h"
#include "desktop/windows/IniSettingsStore.h"
#include "tests/support/TempDir.h"
#include "tests/support/Watchdog.h"

namespace wexal::desktop {
namespace {

TEST(IniSettingsStoreTest, KeepsSectionsAndKeysAsNamedAcrossRuns) {
    wexal::testing::TempDir folder;
    const auto file = folder.path() / "WexalDT.ini";
    {
        IniSettingsStore store(file);
        EXPECT_EQ(store.GetSetting("Settings", "MainLeft", "-1"), "-1");
        store.SaveSetting("Settings", "MainLeft", "120");
        store.SaveSetting("UNITINSTALL", "UNIT01", "12/09/2026");
        store.SaveSetting("Settings", "Note", "Grüße, 1 = 2");
    }
    IniSettingsStore again(file);
    EXPECT_EQ(again.GetSetting("Settings", "MainLeft", "-1"), "120");
    EXPECT_EQ(again.GetSetting("UNITINSTALL", "UNIT01", ""), "12/09/2026");
    EXPECT_EQ(again.GetSetting("Settings", "Note", ""), "Grüße, 1 = 2");
    EXPECT_EQ(again.GetSetting("UNITVERSION", "UNIT01", "none"), "none");

    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("[UNITINSTALL]"), std::string::npos) << text.str();
}

TEST(IniSettingsStoreTest, AFifoInPlaceOfTheFileReadsAsDefaultsAndIsLeftAlone) {
    wexal::testing::TempDir folder;
    const auto file = folder.path() / "WexalDT.ini";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const wexal::testing::Watchdog watchdog("settings store on a FIFO");
    IniSettingsStore store(file);
    EXPECT_EQ(store.GetSetting("Settings", "MainLeft", "-1"), "-1");
    store.SaveSetting("Settings", "MainLeft", "120");
    EXPECT_TRUE(std::filesystem::is_fifo(file));
}

TEST(IniSettingsStoreTest, DefaultFileLiesBesideTheRegistryInTheUsersFolder) {
    wexal::testing::TempDir folder;
    setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    EXPECT_EQ(IniSettingsStore::DefaultFile(), folder.path() / "wexal" / "WexalDT.ini");
}

TEST(ExecutableFolderTest, IsTheFolderOfTheRunningProgram) {
    EXPECT_EQ(
        ExecutableFolder().Path(),
        std::filesystem::path(QCoreApplication::applicationFilePath().toStdString()).parent_path());
}

}  // namespace
}  // namespace wexal::desktop
