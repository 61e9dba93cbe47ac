#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "desktop/core/RegistryStrings.h"
#include "tests/desktop/core/ConfigFolder.h"

namespace {

using wexal::desktop::GetRegString;
using wexal::desktop::HKEY_CURRENT_USER;
using wexal::desktop::SetRegString;
using wexal::testing::ConfigFolder;
using wexal::testing::ReadFile;
using wexal::testing::WriteFile;

constexpr const char* kKey = "Software\\U.S. Robotics\\Pilot Desktop\\Application1";

TEST(RegistryStringsTest, ValuesOfEveryKind) {
    ConfigFolder home;
    auto registry = home.Registry();
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Creator"), "");

    EXPECT_TRUE(SetRegString(HKEY_CURRENT_USER, kKey, "Creator", "TLWX"));
    EXPECT_EQ(registry.ReadString(kKey, "Creator"), "TLWX");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "creator"), "TLWX");
    EXPECT_TRUE(SetRegString(HKEY_CURRENT_USER, kKey, "Empty", ""));
    EXPECT_EQ(registry.ReadString(kKey, "Empty"), " ");

    registry.WriteDword(kKey, "Number", 0x105);
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Number"), "261");
    registry.WriteDword(kKey, "Number", 0xFFFFFFFF);
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Number"), "-1");

    registry.WriteString(kKey, "Nul", std::string("ab\0cd", 5));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Nul"), "ab");
    registry.WriteString(kKey, "Long", std::string(1023, 'x'));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Long"), std::string(1023, 'x'));
    registry.WriteString(kKey, "Long", std::string(1024, 'x'));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Long"), "");
    registry.WriteString(kKey, "Long", std::string(1023, 'x') + '\0');
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Long"), std::string(1023, 'x'));
    registry.WriteString(kKey, "Long", std::string(1025, '\0'));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Long"), "");

    // Only the current user's hive is reached.
    EXPECT_EQ(GetRegString(0x80000002, kKey, "Creator"), "");
    EXPECT_FALSE(SetRegString(0x80000002, kKey, "Creator", "x"));
}

TEST(RegistryStringsTest, ADamagedRegistryReadsAsAKeyThatCannotBeOpened) {
    ConfigFolder home;
    const auto file = home.Registry().File();
    WriteFile(file, "this is no registry\n");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Creator"), "");
    EXPECT_FALSE(SetRegString(HKEY_CURRENT_USER, kKey, "Creator", "TLWX"));
    EXPECT_EQ(ReadFile(file), "this is no registry\n");
}

TEST(RegistryStringsTest, ReadsNeedOnlyReadAccess) {
    ConfigFolder home;
    home.Registry().WriteString(kKey, "Conduit", "WexalCN");
    const auto file = home.Registry().File();
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    std::filesystem::permissions(file.parent_path(), std::filesystem::perms(0500));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kKey, "Conduit"), "WexalCN");
    if (::geteuid() != 0) {  // permissions do not stop root
        EXPECT_FALSE(SetRegString(HKEY_CURRENT_USER, kKey, "Conduit", "x"));
    }
    std::filesystem::permissions(file.parent_path(), std::filesystem::perms(0700));
}

}  // namespace
