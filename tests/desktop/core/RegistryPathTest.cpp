// Registry access by path array: path building, the dump, the buffer limits
// and the value kinds through a test hive, and the hives the program sees:
// the registry file (also read only and damaged), the ODBC data sources and
// the empty ones.
#include "desktop/core/clsRegistry.h"

#include <sys/stat.h>

#include <cstdio>
#include <map>

#include <gtest/gtest.h>

#include "desktop/core/ReadOnlyHive.h"
#include "desktop/core/UserHive.h"
#include "platform/registry/Registry.h"
#include "tests/support/TempDir.h"

namespace {

using wexal::registry::Registry;
using wexal::testing::ReadFile;
using wexal::testing::ScopedEnv;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;

using Path = clsRegistry::PathArray;

// Keys by exact path, each with its values and subkeys in the order given.
class TestHive : public RegistryHive {
  public:
    struct Key {
        std::vector<RegistryValue> values;
        std::vector<std::string> subkeys;
    };
    std::map<std::string, Key, std::less<>> keys;

    bool CanOpen(std::string_view key, RegistryAccess access) override {
        return keys.count(key) != 0 && access == RegistryAccess::Read;
    }
    bool Create(std::string_view) override { return false; }
    std::vector<std::string> SubKeys(std::string_view key) override {
        return keys.count(key) != 0 ? keys.find(key)->second.subkeys : std::vector<std::string>{};
    }
    std::vector<RegistryValue> Values(std::string_view key) override {
        return keys.count(key) != 0 ? keys.find(key)->second.values : std::vector<RegistryValue>{};
    }
    bool Set(std::string_view, const RegistryValue&) override { return false; }
    bool Delete(std::string_view, std::string_view) override { return false; }
};

clsRegistry::Hives EmptyHives() {
    clsRegistry::Hives hives;
    for (auto& hive : hives) {
        hive = std::make_shared<ReadOnlyHive>();
    }
    return hives;
}

// A registry whose HKEY_CURRENT_USER is `hive`; its message boxes land in
// `messages`.
clsRegistry WithUserHive(std::shared_ptr<RegistryHive> hive, std::vector<std::string>& messages) {
    clsRegistry::Hives hives = EmptyHives();
    hives[1] = std::move(hive);
    return clsRegistry(hives, [&messages](const std::string& text) { messages.push_back(text); });
}

std::string Sz(const std::string& text) {
    return text + std::string(1, '\0');
}

TEST(RegistryPathTest, KeyPathNamesTheRootKeyAndJoinsTheKeys) {
    struct Case {
        Path path;
        bool found;
        std::uint32_t root;
        std::string combined;
    };
    const std::vector<Case> cases = {
        {{"HKEY_LOCAL_MACHINE", "SOFTWARE", "ODBC", "ODBC.INI"},
         true,
         0x80000002,
         "SOFTWARE\\ODBC\\ODBC.INI"},
        {{"HKEY_DYN_DATA", "Ends\\", "Next"}, true, 0x80000006, "Ends\\Next"},
        {{"HKEY_CLASSES_ROOT", std::string("N\0U\0L", 5), "x"}, true, 0x80000000, "NUL\\x"},
        {{"HKEY_USERS"}, true, 0x80000003, ""},
        // Outside the table: the path is still built, the root key kept.
        {{"hkey_current_user", "Software"}, false, 7, "Software"},
    };
    for (const Case& c : cases) {
        std::uint32_t root = 7;
        std::string combined = "stale";
        EXPECT_EQ(clsRegistry::KeyPath(root, combined, c.path), c.found) << c.combined;
        EXPECT_EQ(root, c.root) << c.combined;
        EXPECT_EQ(combined, c.combined);
    }
}

TEST(RegistryPathTest, DumpShowsEveryValueKind) {
    auto hive = std::make_shared<TestHive>();
    std::vector<RegistryValue>& values = hive->keys["K"].values;
    const std::vector<std::pair<std::uint32_t, std::string>> kinds = {
        {REG_NONE, ""},
        {REG_SZ, Sz("text")},
        {REG_EXPAND_SZ, Sz("%HOME%")},
        {REG_BINARY, "\x01\x02"},
        {REG_DWORD, std::string("\x0A\x00\x00\x80", 4)},
        {REG_DWORD_BIG_ENDIAN, std::string("\x00\x00\x00\x0A", 4)},
        {REG_LINK, "l"},
        {REG_MULTI_SZ, std::string("a\0b\0\0", 5)},
        {REG_RESOURCE_LIST, "r"},
        {REG_FULL_RESOURCE_DESCRIPTOR, "f"},
        {REG_RESOURCE_REQUIREMENTS_LIST, "q"},
        {11, "unknown kinds get no line"},
    };
    for (const auto& [kind, data] : kinds) {
        values.push_back({"v" + std::to_string(kind), kind, data});
    }
    std::vector<std::string> messages;
    clsRegistry registry = WithUserHive(hive, messages);
    EXPECT_EQ(registry.GetKeyInfo(2, {"HKEY_CURRENT_USER", "K"}),
              "  > v0 = [none]\r\n"
              "  > v1 = \"text\"\r\n"
              "  > v2 = [expand sz]\r\n"
              "  > v3 = [binary]\r\n"
              "  > v4 = &H8000000A\r\n"
              "  > v5 = [dword big endian]\r\n"
              "  > v6 = [link]\r\n"
              "  > v7 = [multi sz]\r\n"
              "  > v8 = [resource list]\r\n"
              "  > v9 = [full resource descriptor]\r\n"
              "  > v10 = [resource requirements list]\r\n");

    // GetValue reads texts and numbers only; an expandable text as stored.
    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "K", "v1"}), clsRegistry::Value("text"));
    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "K", "V2"}), clsRegistry::Value("%HOME%"));
    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "K", "v4"}),
              clsRegistry::Value(std::int32_t(0x8000000A - 0x100000000LL)));
    for (const char* name : {"v3", "v5", "v7", "missing"}) {
        EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "K", name}), clsRegistry::Value())
            << name;
    }
    EXPECT_TRUE(messages.empty());
}

TEST(RegistryPathTest, BuffersEndListingsWhereTheyAlwaysDid) {
    auto hive = std::make_shared<TestHive>();
    const std::string fits = Sz(std::string(1023, 'a'));  // 1024 bytes
    const std::string over = Sz(std::string(1024, 'b'));
    hive->keys["Big"] = {{{"fits", REG_SZ, fits},
                          {"unterminated", REG_SZ, std::string(1024, 'c')},
                          {std::string(1023, 'n'), REG_NONE, ""},
                          {"over", REG_SZ, over},
                          {"after", REG_SZ, Sz("x")}},
                         {std::string(1023, 'k'), std::string(1024, 'l'), "after"}};
    hive->keys["Names"] = {{{std::string(1024, 'n'), REG_NONE, ""}}, {}};
    hive->keys["Info"] = {{}, {"short", "default256", "default257", std::string(256, 's'), "x"}};
    hive->keys["Info\\short"] = {};
    hive->keys["Info\\default256"] = {{{"", REG_SZ, Sz(std::string(255, 'd'))}}, {}};
    hive->keys["Info\\default257"] = {{{"", REG_SZ, Sz(std::string(256, 'e'))}}, {}};
    std::vector<std::string> messages;
    clsRegistry registry = WithUserHive(hive, messages);

    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "Big", "fits"}),
              clsRegistry::Value(std::string(1023, 'a')));
    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "Big", "unterminated"}),
              clsRegistry::Value(std::string(1024, 'c')));
    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "Big", "over"}), clsRegistry::Value());
    EXPECT_EQ(registry.GetValues({"HKEY_CURRENT_USER", "Big"}),
              (std::vector<std::string>{"fits", "unterminated", std::string(1023, 'n')}));
    EXPECT_TRUE(registry.GetValues({"HKEY_CURRENT_USER", "Names"}).empty());
    EXPECT_EQ(registry.GetKeys({"HKEY_CURRENT_USER", "Big"}),
              std::vector<std::string>{std::string(1023, 'k')});

    // The dump: 256 bytes for subkey names and their default values; a value
    // that does not fit ends the values, as the 1024-byte ones do.
    EXPECT_EQ(registry.GetKeyInfo(0, {"HKEY_CURRENT_USER", "Info"}),
              "short: \r\n"
              "default256: " +
                  std::string(255, 'd') +
                  "\r\n"
                  "    >  = \"" +
                  std::string(255, 'd') +
                  "\"\r\n"
                  "default257: Error\r\n"
                  "    >  = \"" +
                  std::string(256, 'e') + "\"\r\n");
    EXPECT_EQ(registry.GetKeyInfo(0, {"HKEY_CURRENT_USER", "Big"}).find("over"), std::string::npos);
    EXPECT_TRUE(messages.empty());
}

class RegistryFileTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return dir_ / "registry.reg"; }
    clsRegistry Reg() {
        return WithUserHive(std::make_shared<UserHive>(Registry(File())), messages_);
    }

    TempDir dir_;
    std::vector<std::string> messages_;
};

TEST_F(RegistryFileTest, DumpOfTheExampleKey) {
    Registry(File()).WriteString("Software\\Example", "Name", "abc");
    Registry(File()).WriteDword("Software\\Example\\Sub", "X", 10);
    EXPECT_EQ(Reg().GetKeyInfo(0, {"HKEY_CURRENT_USER", "Software", "Example"}),
              "> Name = \"abc\"\r\n"
              "Sub: \r\n"
              "    > X = &H0000000A\r\n");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(RegistryFileTest, WritesCreateKeysReadsDoNot) {
    clsRegistry registry = Reg();
    const Path count = {"HKEY_CURRENT_USER", "Software", "Tolvane", "Count"};
    EXPECT_TRUE(registry.SaveValue("5", count));
    EXPECT_EQ(Registry(File()).ReadString("Software\\Tolvane", "Count"), "5");
    EXPECT_EQ(registry.GetValue(count), clsRegistry::Value("5"));
    EXPECT_TRUE(registry.SaveValue("", count));
    EXPECT_EQ(registry.GetValue(count), clsRegistry::Value(""));
    Registry(File()).WriteDword("Software\\Tolvane", "All", 0xFFFFFFFF);
    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "Software", "Tolvane", "All"}),
              clsRegistry::Value(-1));
    EXPECT_EQ(registry.GetValues({"HKEY_CURRENT_USER", "Software", "Tolvane"}),
              (std::vector<std::string>{"All", "Count"}));

    EXPECT_EQ(registry.DeleteValue(count), true);
    EXPECT_EQ(registry.DeleteValue(count), false);
    EXPECT_EQ(registry.GetValue(count), clsRegistry::Value());

    EXPECT_TRUE(registry.GetKeys({"HKEY_CURRENT_USER", "Software", "Absent"}).empty());
    EXPECT_FALSE(Registry(File()).KeyExists("Software\\Absent"));
    EXPECT_EQ(registry.DeleteValue({"HKEY_CURRENT_USER", "Software", "Absent", "V"}), false);
    EXPECT_TRUE(Registry(File()).KeyExists("Software\\Absent"));

    // A hive name outside the table opens nothing.
    const Path wrongCase = {"hkey_current_user", "Software", "Tolvane", "All"};
    EXPECT_FALSE(registry.SaveValue("x", wrongCase));
    EXPECT_EQ(registry.DeleteValue(wrongCase), std::nullopt);
    EXPECT_EQ(registry.GetValue(wrongCase), clsRegistry::Value());
    EXPECT_EQ(registry.GetKeyInfo(0, {"hkey_current_user"}), "");
    EXPECT_EQ(messages_, std::vector<std::string>{"Error opening key."});
}

TEST_F(RegistryFileTest, ReadOnlyFileReadsButIsNotChanged) {
    Registry(File()).WriteString("Software\\Example", "Name", "abc");
    Registry(File()).CreateKey("Software\\Example\\Sub");
    ASSERT_EQ(::chmod(File().c_str(), 0444), 0);
    const std::string before = ReadFile(File());
    clsRegistry registry = Reg();
    const Path key = {"HKEY_CURRENT_USER", "Software", "Example"};

    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "Software", "Example", "Name"}),
              clsRegistry::Value("abc"));
    EXPECT_EQ(registry.GetKeys(key), std::vector<std::string>{"Sub"});
    EXPECT_EQ(registry.GetValues(key), std::vector<std::string>{"Name"});
    EXPECT_EQ(registry.GetKeyInfo(0, key), "> Name = \"abc\"\r\nSub: \r\n");

    EXPECT_FALSE(registry.SaveValue("x", {"HKEY_CURRENT_USER", "Software", "Example", "Name"}));
    EXPECT_EQ(registry.DeleteValue({"HKEY_CURRENT_USER", "Software", "Example", "Name"}),
              std::nullopt);
    EXPECT_EQ(registry.DeleteValue({"HKEY_CURRENT_USER", "Software", "New", "Name"}), std::nullopt);
    EXPECT_EQ(ReadFile(File()), before);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(RegistryFileTest, DamagedFileHasNoKeyThatOpens) {
    WriteFile(File(), "REGEDIT4\n\nnot a registry line\n");
    clsRegistry registry = Reg();
    EXPECT_EQ(registry.GetValue({"HKEY_CURRENT_USER", "Software", "Path"}), clsRegistry::Value());
    EXPECT_TRUE(registry.GetKeys({"HKEY_CURRENT_USER"}).empty());
    EXPECT_FALSE(registry.SaveValue("x", {"HKEY_CURRENT_USER", "Software", "Path"}));
    EXPECT_EQ(registry.DeleteValue({"HKEY_CURRENT_USER", "Software", "Path"}), std::nullopt);
    EXPECT_EQ(registry.GetKeyInfo(0, {"HKEY_CURRENT_USER"}), "");
    EXPECT_EQ(messages_, std::vector<std::string>{"Error opening key."});
    EXPECT_EQ(ReadFile(File()), "REGEDIT4\n\nnot a registry line\n");
}

// The data sources as `odbcinst -q -s` lists them with the same settings.
std::vector<std::string> OdbcinstSources() {
    std::vector<std::string> names;
    FILE* pipe = ::popen("odbcinst -q -s", "r");
    if (pipe == nullptr) {
        return names;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.pop_back();
        }
        if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
            names.push_back(text.substr(1, text.size() - 2));
        }
    }
    ::pclose(pipe);
    return names;
}

TEST(RegistryHivesTest, MachineHiveHoldsTheOdbcDataSourcesReadOnly) {
    TempDir dir;
    WriteFile(dir / "odbc.ini",
              "[zeta]\nDriver=PostgreSQL Unicode\n\n[alpha]\nDriver=PostgreSQL Unicode\n"
              "\n[Billing Office]\nDriver=SQLite3\n");
    std::filesystem::create_directory(dir / "system");
    WriteFile(dir / "system" / "odbc.ini", "[shared]\nDriver=PostgreSQL ANSI\n");
    WriteFile(dir / "system" / "odbcinst.ini", "");
    ScopedEnv user("ODBCINI", (dir / "odbc.ini").string());
    ScopedEnv system("ODBCSYSINI", (dir / "system").string());
    ScopedEnv registryFile(Registry::kFileVariable, (dir / "registry.reg").string());

    std::vector<std::string> messages;
    clsRegistry registry(clsRegistry::StandardHives(),
                         [&messages](const std::string& text) { messages.push_back(text); });
    const Path sources = {"HKEY_LOCAL_MACHINE", "SOFTWARE", "ODBC", "ODBC.INI"};
    const std::vector<std::string> expected = {"zeta", "alpha", "Billing Office", "shared"};
    EXPECT_EQ(OdbcinstSources(), expected);
    EXPECT_EQ(registry.GetKeys(sources), expected);
    EXPECT_EQ(registry.GetKeys({"HKEY_LOCAL_MACHINE"}), std::vector<std::string>{"SOFTWARE"});
    EXPECT_EQ(registry.GetKeys({"HKEY_LOCAL_MACHINE", "software", "odbc"}),
              std::vector<std::string>{"ODBC.INI"});
    EXPECT_TRUE(registry.GetKeys({"HKEY_LOCAL_MACHINE", "SOFTWARE", "Other"}).empty());
    EXPECT_EQ(registry.GetKeyInfo(0, {"HKEY_LOCAL_MACHINE", "SOFTWARE", "ODBC"}),
              "ODBC.INI: \r\n    zeta: \r\n    alpha: \r\n    Billing Office: \r\n"
              "    shared: \r\n");

    EXPECT_FALSE(registry.SaveValue("x", {"HKEY_LOCAL_MACHINE", "SOFTWARE", "ODBC", "V"}));
    EXPECT_EQ(registry.DeleteValue({"HKEY_LOCAL_MACHINE", "SOFTWARE", "V"}), std::nullopt);

    // The other hives are empty and read only.
    for (const char* hive : {"HKEY_CLASSES_ROOT", "HKEY_USERS", "HKEY_PERFORMANCE_DATA",
                             "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"}) {
        EXPECT_TRUE(registry.GetKeys({hive}).empty()) << hive;
        EXPECT_EQ(registry.GetKeyInfo(0, {hive}), "") << hive;
        EXPECT_FALSE(registry.SaveValue("x", {hive, "Key", "V"})) << hive;
    }
    EXPECT_TRUE(messages.empty());

    // HKEY_CURRENT_USER is the registry file.
    EXPECT_TRUE(registry.SaveValue("C:\\Palm", {"HKEY_CURRENT_USER", "Software", "U.S. Robotics",
                                                "Pilot Desktop", "Core", "Path"}));
    EXPECT_EQ(Registry(dir / "registry.reg")
                  .ReadString("Software\\U.S. Robotics\\Pilot Desktop\\Core", "Path"),
              "C:\\Palm");
}

}  // namespace
