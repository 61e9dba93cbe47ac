// The registry file: its REGEDIT4 text, files written by hand or by regedit,
// and damaged files.
// GCC 12 warns falsely inside <regex> when built with sanitizers.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "platform/registry/Registry.h"

#include "tests/support/NotRegularFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <iostream>
#include <regex>
#include <sstream>

namespace wexal::registry {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class RegistryFileTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return dir_ / "registry.reg"; }
    Registry Reg() const { return Registry(File()); }

    TempDir dir_;
};

TEST_F(RegistryFileTest, WritesRegedit4Text) {
    const std::string key = "Software\\Tolvane\\Wexal Conduit\\2.0";
    Reg().WriteString(key, "Path", "C:\\Wexal\\\"q\"");
    Reg().WriteString(key, "Notes", "a\nb");
    Reg().WriteDword(key, "Count", 42);
    Reg().WriteString(key, "", "default");
    Reg().CreateKey("Software\\Tolvane\\Empty");
    EXPECT_EQ(ReadFile(File()),
              "REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Tolvane]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Tolvane\\Empty]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Tolvane\\Wexal Conduit]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Tolvane\\Wexal Conduit\\2.0]\n"
              "@=\"default\"\n"
              "\"Count\"=dword:0000002a\n"
              "\"Notes\"=hex(1):61,0a,62,00\n"
              "\"Path\"=\"C:\\\\Wexal\\\\\\\"q\\\"\"\n"
              "\n");
}

TEST_F(RegistryFileTest, EveryLineIsRegedit4) {
    Reg().WriteString("Software\\A", "long", std::string(500, 'z') + "\n");
    Reg().WriteString("Software\\A", "quote\"d", "back\\slash");
    Reg().WriteDword("Software\\B\\C", "n", 0xDEADBEEF);
    Reg().WriteString("Software\\B\\C", "", "");
    const std::string text = ReadFile(File());
    EXPECT_EQ(text.find('\r'), std::string::npos);
    const std::regex section(R"(\[HKEY_CURRENT_USER(\\[^\\\]]+)+\])");
    const std::regex value(
        R"((@|"([^"\\]|\\.)*")=("([^"\\]|\\.)*"|dword:[0-9a-f]{8}|hex\(1\):([0-9a-f]{2},)*(\\|[0-9a-f]{2})))");
    const std::regex continued(R"(  ([0-9a-f]{2},)*(\\|[0-9a-f]{2}))");
    std::vector<std::string> lines = Lines(text);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "REGEDIT4");
    EXPECT_EQ(lines[1], "");
    for (size_t i = 2; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 80u) << lines[i];
        EXPECT_TRUE(lines[i].empty() || std::regex_match(lines[i], section) ||
                    std::regex_match(lines[i], value) || std::regex_match(lines[i], continued))
            << "line " << i + 1 << ": " << lines[i];
    }
}

TEST_F(RegistryFileTest, ReadsFilesWrittenByHandOrByRegedit) {
    WriteFile(File(),
              "\xEF\xBB\xBFREGEDIT4\r\n"
              "\r\n"
              "; written by hand\r\n"
              "[HKEY_CURRENT_USER\\Software\\Hand]\r\n"
              "\"Name\" = \"Value\"  \r\n"
              "\"Number\"=dword:DEADBEEF\r\n"
              "\"Wrapped\"=hex(1):68,69,\\\r\n"
              "  0A,00\r\n"
              "\"NoNul\"=hex(1):6f,6b\r\n"
              "\"Empty\"=hex(1):\r\n"
              "\"Ends with backslash\"=\"dir\\\\\"\r\n"
              "\r\n"
              "[hkey_current_user\\SOFTWARE\\hand\\Sub]\r\n"
              "@=\"sub default\"\r\n");
    EXPECT_EQ(Reg().ReadString("Software\\Hand", "name"), "Value");
    EXPECT_EQ(Reg().ReadDword("Software\\Hand", "Number"), 0xDEADBEEFu);
    EXPECT_EQ(Reg().ReadString("Software\\Hand", "Wrapped"), "hi\n");
    EXPECT_EQ(Reg().ReadString("Software\\Hand", "NoNul"), "ok");
    EXPECT_EQ(Reg().ReadString("Software\\Hand", "Empty"), "");
    EXPECT_EQ(Reg().ReadString("Software\\Hand", "Ends with backslash"), "dir\\");
    EXPECT_EQ(Reg().ReadString("Software\\Hand\\Sub", ""), "sub default");
    EXPECT_EQ(Reg().SubKeys(""), std::vector<std::string>{"Software"});  // first case seen

    // A change rewrites it in the form this registry writes, keeping the rest.
    Reg().WriteDword("Software\\Hand", "Added", 1);
    const std::string text = ReadFile(File());
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find("written by hand"), std::string::npos);  // comments are not kept
    EXPECT_EQ(text.rfind("REGEDIT4\n", 0), 0u);
    EXPECT_EQ(Reg().ReadString("Software\\Hand", "Wrapped"), "hi\n");
    EXPECT_EQ(Reg().ReadString("Software\\Hand\\Sub", ""), "sub default");
    EXPECT_EQ(Reg().ValueNames("Software\\Hand").size(), 7u);
}

TEST_F(RegistryFileTest, SectionsRepeatedOrOutOfOrderAreMerged) {
    WriteFile(File(),
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\Software\\Z\\Deep]\n\"a\"=\"1\"\n\n"
              "[HKEY_CURRENT_USER\\Software\\A]\n\"b\"=\"2\"\n\n"
              "[HKEY_CURRENT_USER\\Software\\z\\DEEP]\n\"c\"=\"3\"\n");
    EXPECT_EQ(Reg().SubKeys("Software"), (std::vector<std::string>{"A", "Z"}));
    EXPECT_EQ(Reg().ValueNames("Software\\Z\\Deep"), (std::vector<std::string>{"a", "c"}));
    EXPECT_TRUE(Reg().KeyExists("Software\\Z"));  // a parent that has no section of its own
}

TEST_F(RegistryFileTest, AZeroByteFileIsAnEmptyRegistry) {
    WriteFile(File(), "");
    EXPECT_FALSE(Reg().KeyExists("Software"));
    Reg().WriteDword("Software", "x", 1);
    EXPECT_EQ(Reg().ReadDword("Software", "x"), 1u);
}

TEST_F(RegistryFileTest, LockFileLivesBesideTheRegistry) {
    Reg().WriteDword("Software", "x", 1);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "registry.reg.lock"));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(RegistryFileTest, OnlyARegularFileIsRead) {
    // Each stands where the registry file should be. A FIFO held a reader
    // until some writer came; a device like /dev/zero never ends.
    std::vector<std::pair<testing::NotRegularFile, std::string>> cases;
    for (const auto& kind : testing::NotRegularFiles())
        cases.emplace_back(kind, "not a regular file");
    cases.emplace_back(testing::NotRegularFile{"folder",
                                               [](const std::filesystem::path& at) {
                                                   return std::filesystem::create_directory(at);
                                               }},
                       "Is a directory");
    for (const auto& [kind, says] : cases) {
        SCOPED_TRACE(kind.kind);
        TempDir dir;
        const std::filesystem::path file = dir / "registry.reg";
        if (!kind.make(file)) {
            std::cout << "cannot make a " << kind.kind << " here: not tried\n";
            continue;
        }
        try {
            Registry(file).ReadString("Software", "x");
            ADD_FAILURE() << "no RegistryError";
        } catch (const RegistryError& error) {
            EXPECT_NE(std::string(error.what()).find(file.string() + ": " + says),
                      std::string::npos)
                << error.what();
        }
        EXPECT_THROW(Registry(file).WriteString("Software", "x", "y"), RegistryError);
        EXPECT_FALSE(std::filesystem::is_regular_file(file)) << "replaced";
    }
}

// --- damaged files -----------------------------------------------------------

struct Damage {
    const char* name;
    std::string text;
    int line;
    const char* says;  // a piece of the message
};

void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.name;
}

const std::string kHead =
    "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"ok\"=\"fine\"\n";  // lines 1-4

class DamagedFileTest : public RegistryFileTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFileTest, RaisesRegistryErrorNamingFileAndLine) {
    WriteFile(File(), GetParam().text);
    try {
        Reg().ReadString("Software", "ok");
        FAIL() << "no RegistryError";
    } catch (const RegistryError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(File().string()), std::string::npos) << message;
        EXPECT_NE(message.find("line " + std::to_string(GetParam().line) + ":"), std::string::npos)
            << message;
        EXPECT_NE(message.find(GetParam().says), std::string::npos) << message;
    }
    EXPECT_THROW(Reg().KeyExists("Software"), RegistryError);
    EXPECT_THROW(Reg().SubKeys(""), RegistryError);
}

TEST_P(DamagedFileTest, IsLeftUntouchedByWrites) {
    WriteFile(File(), GetParam().text);
    EXPECT_THROW(Reg().WriteString("Software", "new", "value"), RegistryError);
    EXPECT_THROW(Reg().WriteDword("Software\\Other", "n", 1), RegistryError);
    EXPECT_THROW(Reg().CreateKey("Software\\Other"), RegistryError);
    EXPECT_THROW(Reg().DeleteValue("Software", "ok"), RegistryError);
    EXPECT_THROW(Reg().DeleteKey("Software"), RegistryError);
    EXPECT_EQ(ReadFile(File()), GetParam().text);
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "registry.reg" || name == "registry.reg.lock") << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedFileTest,
    ::testing::Values(
        Damage{"NoHeader", "[HKEY_CURRENT_USER\\Software]\n\"ok\"=\"fine\"\n", 1, "REGEDIT4"},
        Damage{"OtherHeader", "Windows Registry Editor Version 5.00\r\n\r\n", 1, "REGEDIT4"},
        Damage{"Binary", std::string("\x00\x01\x02garbage\n", 11), 1, "REGEDIT4"},
        Damage{"ValueBeforeSection", "REGEDIT4\n\n\"ok\"=\"fine\"\n", 3, "before any"},
        Damage{"LineOfText", kHead + "hello there\n", 5, "cannot parse"},
        Damage{"BadEscape", kHead + "\"x\"=\"a\\nb\"\n", 5, "bad escape"},
        Damage{"BadEscapeInName", kHead + "\"\\x\"=\"a\"\n", 5, "bad escape"},
        Damage{"Unterminated", kHead + "\"x\"=\"abc\n", 5, "closing double quote"},
        Damage{"TextAfterString", kHead + "\"x\"=\"abc\" more\n", 5, "after the closing"},
        Damage{"NoEquals", kHead + "\"x\" \"abc\"\n", 5, "'='"},
        Damage{"DwordShort", kHead + "\"x\"=dword:2a\n", 5, "8 hex digits"},
        Damage{"DwordLong", kHead + "\"x\"=dword:0000000002\n", 5, "8 hex digits"},
        Damage{"DwordNotHex", kHead + "\"x\"=dword:0000002g\n", 5, "8 hex digits"},
        Damage{"UnknownValue", kHead + "\"x\"=42\n", 5, "cannot parse the value"},
        Damage{"BinaryValue", kHead + "\"x\"=hex:01,02\n", 5, "unsupported"},
        Damage{"ExpandString", kHead + "\"x\"=hex(2):41,00\n", 5, "unsupported"},
        Damage{"BadHexByte", kHead + "\"x\"=hex(1):61,6g,00\n", 5, "bad hex byte"},
        Damage{"HexTrailingComma", kHead + "\"x\"=hex(1):61,\n", 5, "comma"},
        Damage{"HexContinuesPastEnd", kHead + "\"x\"=hex(1):61,\\\n", 6, "continued"},
        Damage{"DeleteValueSyntax", kHead + "\"x\"=-\n", 5, "not supported"},
        Damage{"SectionUnclosed", kHead + "[HKEY_CURRENT_USER\\Software\\X\n", 5, "']'"},
        Damage{"OtherHive", kHead + "[HKEY_LOCAL_MACHINE\\Software]\n", 5, "HKEY_CURRENT_USER"},
        Damage{"DeleteKeySyntax", kHead + "[-HKEY_CURRENT_USER\\Software]\n", 5, "not supported"},
        Damage{"EmptyKeyName", kHead + "[HKEY_CURRENT_USER\\Software\\\\X]\n", 5, "empty name"},
        Damage{"DuplicateValue", kHead + "\n\n\"OK\"=dword:00000001\n", 7, "twice"},
        // Freeing or writing a tree this deep overflowed the stack.
        Damage{"NestedAMillionDeep",
               [] {
                   std::string text = kHead + "[HKEY_CURRENT_USER";
                   for (int i = 0; i < 1000000; ++i)
                       text += "\\a";
                   return text + "]\n";
               }(),
               5, "deeper than 512 keys"},
        Damage{"CrLfDamage", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=dword:1\r\n", 4,
               "8 hex digits"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wexal::registry
