// The registry's operations: values, names, enumeration, deletion, location.
#include "platform/registry/Registry.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace wexal::registry {
namespace {

using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempDir;

constexpr const char* kConduitKey = "Software\\Tolvane\\Wexal Conduit\\2.0";

class RegistryTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return dir_ / "registry.reg"; }
    // A fresh object each time, so that nothing can come from memory.
    Registry Reg() const { return Registry(File()); }

    TempDir dir_;
};

// --- values ------------------------------------------------------------------

TEST_F(RegistryTest, StringsRoundTrip) {
    const std::vector<std::string> texts = {
        "",
        "plain text",
        "C:\\Program Files\\Wexal\\",
        "say \"hi\"",
        "\\\"",
        "\"",
        "\\",
        "line one\nline two",
        "crlf\r\nend",
        "tab\there",
        std::string("nul\0inside", 10),
        "utf-8 \xC3\xA9\xE2\x82\xAC",
        "latin-1 \xE9\xFF\x80",
        "delete \x7F char",
        "ends with newline\n",
        std::string(300, 'x') + "\n" + std::string(300, '"') + "\\",
    };
    for (size_t i = 0; i < texts.size(); ++i) {
        Reg().WriteString(kConduitKey, "Text" + std::to_string(i), texts[i]);
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(Reg().ReadString(kConduitKey, "Text" + std::to_string(i)), texts[i])
            << "text " << i;
    }
}

TEST_F(RegistryTest, DwordsRoundTrip) {
    const std::vector<std::uint32_t> numbers = {0,          1,          42,        0x105,
                                                0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (size_t i = 0; i < numbers.size(); ++i) {
        Reg().WriteDword(kConduitKey, "N" + std::to_string(i), numbers[i]);
    }
    for (size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_EQ(Reg().ReadDword(kConduitKey, "N" + std::to_string(i)), numbers[i]);
        EXPECT_EQ(Reg().ReadValue(kConduitKey, "N" + std::to_string(i)), Value(numbers[i]));
    }
}

TEST_F(RegistryTest, DefaultValueHasTheEmptyName) {
    Reg().WriteString("Software\\U.S. Robotics\\Pilot Desktop\\Core", "", "the default");
    Reg().WriteString("Software\\U.S. Robotics\\Pilot Desktop\\Core", "Path", "/home/palm");
    EXPECT_EQ(Reg().ReadString("Software\\U.S. Robotics\\Pilot Desktop\\Core", ""), "the default");
    EXPECT_EQ(Reg().ValueNames("Software\\U.S. Robotics\\Pilot Desktop\\Core"),
              (std::vector<std::string>{"", "Path"}));
    EXPECT_NE(ReadFile(File()).find("\n@=\"the default\"\n"), std::string::npos);
}

TEST_F(RegistryTest, ValuesOfTheOtherTypeReadAsEmpty) {
    Reg().WriteDword(kConduitKey, "Both", 7);
    EXPECT_EQ(Reg().ReadString(kConduitKey, "Both"), std::nullopt);
    Reg().WriteString(kConduitKey, "Both", "seven");
    EXPECT_EQ(Reg().ReadDword(kConduitKey, "Both"), std::nullopt);
    EXPECT_EQ(Reg().ReadValue(kConduitKey, "Both"), Value(std::string("seven")));
    Reg().WriteValue(kConduitKey, "Both", Value(std::uint32_t{8}));
    EXPECT_EQ(Reg().ReadDword(kConduitKey, "Both"), 8u);
}

TEST_F(RegistryTest, MissingFileIsAnEmptyRegistryAndReadingCreatesNothing) {
    Registry reg(dir_ / "not" / "yet" / "registry.reg");
    EXPECT_FALSE(reg.KeyExists("Software"));
    EXPECT_TRUE(reg.KeyExists(""));
    EXPECT_EQ(reg.ReadValue("Software", "x"), std::nullopt);
    EXPECT_TRUE(reg.SubKeys("").empty());
    EXPECT_TRUE(reg.ValueNames("Software").empty());
    EXPECT_FALSE(reg.DeleteValue("Software", "x"));
    EXPECT_FALSE(reg.DeleteKey("Software"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "not"));
}

TEST_F(RegistryTest, FirstWriteCreatesTheFolders) {
    Registry reg(dir_ / "a" / "b" / "registry.reg");
    reg.WriteDword("Software", "x", 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "a" / "b" / "registry.reg"));
    EXPECT_EQ(reg.ReadDword("Software", "x"), 1u);
}

TEST_F(RegistryTest, ValuesOfTheHiveItself) {
    Reg().WriteString("", "TopLevel", "yes");
    EXPECT_EQ(Reg().ReadString("", "TopLevel"), "yes");
    EXPECT_NE(ReadFile(File()).find("[HKEY_CURRENT_USER]\n\"TopLevel\"=\"yes\"\n"),
              std::string::npos);
}

// --- names -------------------------------------------------------------------

TEST_F(RegistryTest, NamesMatchWithoutCaseAndKeepTheFirstCase) {
    Reg().WriteString(kConduitKey, "DataSource", "first");
    EXPECT_EQ(Reg().ReadString("SOFTWARE\\tolvane\\WEXAL CONDUIT\\2.0", "datasource"), "first");
    EXPECT_TRUE(Reg().KeyExists("software\\TOLVANE"));

    Reg().WriteString("software\\TOLVANE\\wexal conduit\\2.0", "DATASOURCE", "second");
    EXPECT_EQ(Reg().ReadString(kConduitKey, "DataSource"), "second");
    EXPECT_EQ(Reg().ValueNames(kConduitKey), std::vector<std::string>{"DataSource"});
    EXPECT_EQ(Reg().SubKeys("SOFTWARE"), std::vector<std::string>{"Tolvane"});
    EXPECT_EQ(Reg().SubKeys("software\\tolvane"), std::vector<std::string>{"Wexal Conduit"});
    EXPECT_NE(ReadFile(File()).find("[HKEY_CURRENT_USER\\Software\\Tolvane\\Wexal Conduit\\2.0]\n"
                                    "\"DataSource\"=\"second\"\n"),
              std::string::npos);
}

TEST_F(RegistryTest, CaseFoldingIsAsciiOnly) {
    Reg().WriteString("Software", "\xC3\x89t\xC3\xA9", "upper");  // "Été" in UTF-8
    Reg().WriteString("Software", "\xC3\xA9t\xC3\xA9", "lower");  // "été": another name
    EXPECT_EQ(Reg().ValueNames("Software").size(), 2u);
    EXPECT_EQ(Reg().ReadString("SOFTWARE", "\xC3\x89T\xC3\xA9"), "upper");
}

TEST_F(RegistryTest, EmptyPathPartsAreSkipped) {
    Reg().WriteString("\\Software\\\\Tolvane\\", "x", "y");
    EXPECT_EQ(Reg().ReadString("Software\\Tolvane", "x"), "y");
    EXPECT_EQ(Reg().SubKeys("\\"), std::vector<std::string>{"Software"});
}

TEST_F(RegistryTest, NamesWithControlCharactersAreRefused) {
    Reg().WriteString("Software", "keep", "me");
    const std::string before = ReadFile(File());
    EXPECT_THROW(Reg().WriteString("Software\\bad\nkey", "x", "y"), RegistryError);
    EXPECT_THROW(Reg().WriteString("Software", "bad\tname", "y"), RegistryError);
    EXPECT_THROW(Reg().CreateKey("Soft\rware"), RegistryError);
    EXPECT_EQ(ReadFile(File()), before);
    EXPECT_EQ(Reg().ReadString("Software\\bad\nkey", "x"), std::nullopt);  // reading just misses
}

std::string PathOfDepth(std::size_t depth) {
    std::string path = "Software";
    for (std::size_t i = 1; i < depth; ++i)
        path += "\\k" + std::to_string(i);
    return path;
}

TEST_F(RegistryTest, KeysNestAtMost512Deep) {
    Reg().WriteString(PathOfDepth(512), "deepest", "here");
    const std::string before = ReadFile(File());
    EXPECT_EQ(Reg().ReadString(PathOfDepth(512), "deepest"), "here");
    EXPECT_THROW(Reg().WriteString(PathOfDepth(513), "x", "y"), RegistryError);
    EXPECT_THROW(Reg().CreateKey(PathOfDepth(513)), RegistryError);
    EXPECT_EQ(ReadFile(File()), before);
}

TEST_F(RegistryTest, SnapshotReadsTheFileOnce) {
    Reg().WriteString(kConduitKey, "Path", "/first");
    const RegistrySnapshot snapshot = Reg().Snapshot();
    Reg().WriteString(kConduitKey, "Path", "/second");
    Reg().WriteDword(kConduitKey, "Count", 2);
    EXPECT_EQ(snapshot.ReadString(kConduitKey, "PATH"), "/first");
    EXPECT_EQ(snapshot.ReadDword(kConduitKey, "Count"), std::nullopt);
    EXPECT_EQ(snapshot.ValueNames(kConduitKey), std::vector<std::string>{"Path"});
    EXPECT_TRUE(snapshot.KeyExists("Software\\Tolvane"));
    EXPECT_EQ(snapshot.SubKeys("Software"), std::vector<std::string>{"Tolvane"});
    EXPECT_EQ(Reg().ReadString(kConduitKey, "Path"), "/second");
}

TEST_F(RegistryTest, NamesMayHoldQuotesBracketsAndBackslashes) {
    Reg().WriteString("Software\\[odd] \"key\" @", "va\\lue \"name\" =", "v");
    Reg().WriteString("Software", "@", "not the default");
    EXPECT_EQ(Reg().ReadString("Software\\[odd] \"key\" @", "va\\lue \"name\" ="), "v");
    EXPECT_EQ(Reg().ReadString("Software", "@"), "not the default");
    EXPECT_EQ(Reg().ReadString("Software", ""), std::nullopt);
}

// --- enumeration -------------------------------------------------------------

TEST_F(RegistryTest, EnumerationIsCaseInsensitiveAlphabetical) {
    for (const char* name : {"gamma", "Beta", "alpha", "Delta", "beta2"}) {
        Reg().CreateKey(std::string("Software\\Keys\\") + name + "\\Child");
        Reg().WriteDword("Software\\Values", name, 1);
    }
    Reg().WriteDword("Software\\Values", "", 0);
    const std::vector<std::string> expected = {"alpha", "Beta", "beta2", "Delta", "gamma"};
    EXPECT_EQ(Reg().SubKeys("Software\\Keys"), expected);
    std::vector<std::string> values = expected;
    values.insert(values.begin(), "");
    EXPECT_EQ(Reg().ValueNames("Software\\Values"), values);
    EXPECT_EQ(Reg().SubKeys("Software"), (std::vector<std::string>{"Keys", "Values"}));
    EXPECT_TRUE(Reg().SubKeys("Software\\Missing").empty());
}

TEST_F(RegistryTest, ApplicationListOfTheSyncManager) {
    const std::string base = "Software\\U.S. Robotics\\Pilot Desktop\\Application";
    for (int i = 1; i <= 12; ++i) {
        Reg().WriteDword(base + std::to_string(i), "Creator", 0x57584C00u + i);
        Reg().WriteString(base + std::to_string(i), "Conduit",
                          "libconduit" + std::to_string(i) + ".so");
    }
    for (int i = 1; i <= 99; ++i) {
        std::optional<std::string> conduit = Reg().ReadString(base + std::to_string(i), "Conduit");
        ASSERT_EQ(conduit.has_value(), i <= 12);
        if (conduit) {
            EXPECT_EQ(*conduit, "libconduit" + std::to_string(i) + ".so");
            EXPECT_EQ(Reg().ReadDword(base + std::to_string(i), "CREATOR"), 0x57584C00u + i);
        }
    }
    // Alphabetical, not numeric: Application10 comes before Application2.
    std::vector<std::string> keys = Reg().SubKeys("Software\\U.S. Robotics\\Pilot Desktop");
    ASSERT_EQ(keys.size(), 12u);
    EXPECT_EQ(keys[0], "Application1");
    EXPECT_EQ(keys[1], "Application10");
}

TEST_F(RegistryTest, FileDoesNotDependOnTheOrderOfWrites) {
    TempDir other;
    Registry a(File());
    Registry b(other / "registry.reg");
    a.WriteString("Software\\B", "y", "2");
    a.WriteString("Software\\A", "x", "1");
    a.WriteDword("Software\\A", "w", 3);
    b.WriteDword("Software\\A", "w", 3);
    b.WriteString("Software\\A", "x", "1");
    b.WriteString("Software\\B", "y", "2");
    EXPECT_EQ(ReadFile(a.File()), ReadFile(b.File()));
}

// --- keys and deletion -------------------------------------------------------

TEST_F(RegistryTest, CreateKeyMakesAnEmptyKeyWithItsParents) {
    Reg().CreateKey("Software\\Tolvane\\Empty");
    EXPECT_TRUE(Reg().KeyExists("Software\\Tolvane\\Empty"));
    EXPECT_TRUE(Reg().KeyExists("Software\\Tolvane"));
    EXPECT_TRUE(Reg().ValueNames("Software\\Tolvane\\Empty").empty());
    EXPECT_NE(ReadFile(File()).find("[HKEY_CURRENT_USER\\Software\\Tolvane\\Empty]\n"),
              std::string::npos);
    Reg().CreateKey("SOFTWARE\\TOLVANE\\EMPTY");  // already there: nothing changes
    EXPECT_EQ(Reg().SubKeys("Software\\Tolvane"), std::vector<std::string>{"Empty"});
}

TEST_F(RegistryTest, DeleteValue) {
    Reg().WriteString(kConduitKey, "Gone", "soon");
    Reg().WriteString(kConduitKey, "Stays", "here");
    EXPECT_TRUE(Reg().DeleteValue(kConduitKey, "GONE"));
    EXPECT_FALSE(Reg().DeleteValue(kConduitKey, "Gone"));
    EXPECT_FALSE(Reg().DeleteValue("Software\\Missing", "Gone"));
    EXPECT_EQ(Reg().ReadString(kConduitKey, "Gone"), std::nullopt);
    EXPECT_EQ(Reg().ValueNames(kConduitKey), std::vector<std::string>{"Stays"});
    EXPECT_TRUE(Reg().DeleteValue(kConduitKey, "Stays"));
    EXPECT_TRUE(Reg().KeyExists(kConduitKey));  // the key outlives its values
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeTree) {
    Reg().WriteString("Software\\Tolvane\\Wexal Conduit\\2.0\\Deep", "a", "b");
    Reg().WriteString("Software\\Tolvane\\Wexal Conduit", "c", "d");
    Reg().WriteString("Software\\Tolvane\\Other", "e", "f");
    EXPECT_TRUE(Reg().DeleteKey("software\\tolvane\\WEXAL CONDUIT"));
    EXPECT_FALSE(Reg().KeyExists("Software\\Tolvane\\Wexal Conduit"));
    EXPECT_FALSE(Reg().KeyExists("Software\\Tolvane\\Wexal Conduit\\2.0\\Deep"));
    EXPECT_EQ(Reg().ReadString("Software\\Tolvane\\Other", "e"), "f");
    EXPECT_EQ(ReadFile(File()).find("Wexal Conduit"), std::string::npos);
    EXPECT_FALSE(Reg().DeleteKey("Software\\Tolvane\\Wexal Conduit"));
    EXPECT_FALSE(Reg().DeleteKey(""));
    EXPECT_TRUE(Reg().KeyExists("Software"));
}

TEST_F(RegistryTest, ChangesThatChangeNothingLeaveTheFileAlone) {
    Reg().WriteString(kConduitKey, "Same", "value");
    const auto before = std::filesystem::last_write_time(File());
    const std::string text = ReadFile(File());
    std::filesystem::last_write_time(File(), before - std::chrono::hours(1));
    Reg().WriteString(kConduitKey, "SAME", "value");
    Reg().CreateKey(kConduitKey);
    Reg().DeleteValue(kConduitKey, "missing");
    EXPECT_EQ(std::filesystem::last_write_time(File()), before - std::chrono::hours(1));
    EXPECT_EQ(ReadFile(File()), text);
}

// --- location ----------------------------------------------------------------

TEST(RegistryLocation, WexalRegistryComesFirst) {
    TempDir dir;
    ScopedEnv file(Registry::kFileVariable, (dir / "mine.reg").string());
    ScopedEnv config("XDG_CONFIG_HOME", (dir / "config").string());
    EXPECT_EQ(Registry::DefaultFile(), dir / "mine.reg");
    Registry::CurrentUser().WriteDword("Software", "x", 5);
    EXPECT_TRUE(std::filesystem::exists(dir / "mine.reg"));
    EXPECT_EQ(Registry(dir / "mine.reg").ReadDword("Software", "x"), 5u);
}

TEST(RegistryLocation, ThenXdgConfigHome) {
    TempDir dir;
    ScopedEnv file(Registry::kFileVariable, "");
    ScopedEnv config("XDG_CONFIG_HOME", (dir / "config").string());
    EXPECT_EQ(Registry::DefaultFile(), dir / "config" / "wexal" / "registry.reg");
    EXPECT_EQ(Registry::CurrentUser().File(), dir / "config" / "wexal" / "registry.reg");
    Registry::CurrentUser().CreateKey("Software\\Tolvane");
    EXPECT_TRUE(std::filesystem::exists(dir / "config" / "wexal" / "registry.reg"));
}

TEST(RegistryLocation, ThenHome) {
    TempDir dir;
    ScopedEnv file(Registry::kFileVariable, "");
    ScopedEnv config("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", dir.path().string());
    EXPECT_EQ(Registry::DefaultFile(), dir / ".config" / "wexal" / "registry.reg");
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");  // ignored, as XDG says
    EXPECT_EQ(Registry::DefaultFile(), dir / ".config" / "wexal" / "registry.reg");
}

TEST(RegistryLocation, ASymlinkedFileStaysASymlink) {
    TempDir dir;
    std::filesystem::create_directory(dir / "real");
    std::filesystem::create_symlink(dir / "real" / "registry.reg", dir / "link.reg");
    Registry(dir / "link.reg").WriteString("Software", "x", "through the link");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.reg"));
    EXPECT_EQ(Registry(dir / "real" / "registry.reg").ReadString("Software", "x"),
              "through the link");
}

}  // namespace
}  // namespace wexal::registry
