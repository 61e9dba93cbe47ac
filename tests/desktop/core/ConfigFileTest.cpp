#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "desktop/core/DesktopError.h"
#include "desktop/core/clsConfig.h"
#include "tests/desktop/core/ConfigFolder.h"
#include "tests/desktop/core/FullConfig.h"
#include "tests/support/NotRegularFiles.h"

namespace {

namespace fs = std::filesystem;
using wexal::desktop::clsConfig;
using wexal::desktop::DesktopError;
using wexal::desktop::InterfaceRec;
using wexal::desktop::MapSlots;
using wexal::desktop::WorkbookSlots;
using wexal::testing::ConfigFolder;
using wexal::testing::ConfigRegistryKey;
using wexal::testing::DataFile;
using wexal::testing::FillFull;
using wexal::testing::ReadFile;
using wexal::testing::WriteFile;

class ConfigFileTest : public ::testing::Test {
  protected:
    fs::path File() const { return folder_ / "WexalDT.cfg"; }

    // The text a fresh object loads from `text` and saves back.
    std::string LoadAndSave(const std::string& text) {
        WriteFile(File(), text);
        clsConfig config;
        config.LoadConfig();
        EXPECT_TRUE(config.SaveConfig());
        return ReadFile(File());
    }

    std::string Saved(clsConfig& config) {
        EXPECT_TRUE(config.SaveConfig());
        return ReadFile(File());
    }

    ConfigFolder home_;
    fs::path folder_ = home_.UseFolder();
};

TEST_F(ConfigFileTest, GoldenFiles) {
    clsConfig minimal;
    EXPECT_EQ(Saved(minimal), DataFile("minimal.cfg"));

    clsConfig full;
    FillFull(full);
    EXPECT_EQ(Saved(full), DataFile("full.cfg"));
    EXPECT_EQ(LoadAndSave(DataFile("full.cfg")), DataFile("full.cfg"));

    // LF ends, keys in the wrong letter case, blank lines, blanks around
    // values, map lines renumbered from 1, blank-named records dropped whole.
    EXPECT_EQ(LoadAndSave(DataFile("hand-edited.cfg")), DataFile("hand-edited.expected.cfg"));
}

TEST_F(ConfigFileTest, WriterRules) {
    clsConfig config;
    config.AddInterface({.Name = "NORTHSTAR", .RoutePath = "/r", .ReadingsPath = "/w"});
    EXPECT_EQ(Saved(config),
              "AutoOffMinutes=0\r\nInterface=NORTHSTAR\r\nRoutePath=/r\r\nReadingsPath=/w\r\n");

    clsConfig blanks;
    blanks.ExceptionsFile = "  /x y  ";
    blanks.AddInterface({.Name = "ODBC", .Password = "   "});
    EXPECT_EQ(Saved(blanks), "AutoOffMinutes=0\r\nExceptionsFile=/x y\r\nInterface=ODBC\r\n");

    // Only "EXCEL" exactly gets the workbook lines; a reading-map slot is
    // written under its own number whatever the route map holds.
    clsConfig excel;
    MapSlots reading;
    reading[7] = "CurReading/A";
    excel.UpdateInterface("excel", {.Workbook = WorkbookSlots{"/book"}, .ReadingMap = reading});
    excel.AddInterface({.Name = "EXCEL"});
    excel.UpdateInterface(2, {.ReadingMap = reading});
    EXPECT_EQ(Saved(excel),
              "AutoOffMinutes=0\r\nInterface=excel\r\nInterface=EXCEL\r\nSelectedSpreadsheet=0\r\n"
              "WorksheetDataStart=0\r\nWorksheetUsageRow=0\r\nReadingMap7=CurReading/A\r\n");

    // A value ends at its first CR or LF, so it cannot add lines of its own.
    clsConfig injected;
    injected.ExceptionsFile = "/x\r\nRestorePIN=0000";
    injected.RestorePIN = "\n1111";
    injected.AddResponseCode("07", "two\rlines", "Y\nY", "");
    EXPECT_EQ(Saved(injected),
              "AutoOffMinutes=0\r\nExceptionsFile=/x\r\nResponse=07\r\nResponseText=two\r\n"
              "NoRead=Y\r\n");
}

TEST_F(ConfigFileTest, LoaderRules) {
    std::string lines = "Server=early\r\nInterface=EXCEL\r\n";
    for (int i = 0; i < 55; ++i) {
        lines += "RouteMap" + std::to_string(i) + "=F" + std::to_string(i) + "/A\r\n";
    }
    lines +=
        "UseInitials=Y\r\n"  // an option between blocks still sets the option
        "RouteMap=Z/B\r\n"   // beyond the 49 slots: dropped
        "Password=a=b\r\n"
        "SelectedSpreadsheet=2 and more\r\n"
        "Interface=ODBC\r\n"
        "SelectedSpreadsheet=x\r\n"
        "Server =ignored\r\n"
        "Database=db\r\n";
    WriteFile(File(), lines);
    clsConfig config;
    EXPECT_EQ(config.LoadConfig(), 0);
    InterfaceRec excel;
    ASSERT_TRUE(config.GetInterface(1, excel));
    EXPECT_EQ(excel.Server, "early");
    EXPECT_EQ(excel.Password, "a=b");
    EXPECT_EQ(excel.SelectedSpreadsheet, 2);
    EXPECT_TRUE(excel.RouteMap[0].empty());
    EXPECT_EQ(excel.RouteMap[1], "F0/A");
    EXPECT_EQ(excel.RouteMap[49], "F48/A");
    InterfaceRec odbc;
    ASSERT_TRUE(config.GetInterface("odbc", odbc));
    EXPECT_EQ(odbc.Server, "");
    EXPECT_EQ(odbc.Database, "db");
    EXPECT_EQ(config.UseInitials, "Y");
    EXPECT_EQ(config.RestorePIN, "2580");

    // Two EXCEL blocks: the second block's workbook settings replace the
    // first's, in the first record.
    WriteFile(File(),
              "Interface=EXCEL\r\nWorkbook1=/first\r\nInterface=EXCEL\r\nWorkbook3=/second\r\n"
              "SelectedSpreadsheet=3.5\r\n");
    clsConfig twice;
    twice.LoadConfig();
    InterfaceRec first;
    ASSERT_TRUE(twice.GetInterface(1, first));
    EXPECT_EQ(first.Workbook, (WorkbookSlots{"", "", "", "/second", ""}));
    EXPECT_EQ(first.SelectedSpreadsheet, 4);
    InterfaceRec second;
    ASSERT_TRUE(twice.GetInterface(2, second));
    EXPECT_EQ(second.Name, "EXCEL");
    EXPECT_EQ(second.Workbook, WorkbookSlots{});

    // A lone CR ends a line too; a CR LF pair is one line end, not two.
    WriteFile(File(), "UseInitials=Y\rRestorePIN=4321\r\n\r\nJournalling=Y\nDebug=3");
    clsConfig ends;
    ends.LoadConfig();
    EXPECT_EQ(ends.UseInitials, "Y");
    EXPECT_EQ(ends.RestorePIN, "4321");
    EXPECT_EQ(ends.Journalling, "Y");
    EXPECT_EQ(ends.DebugFlag, "3");
}

TEST_F(ConfigFileTest, MalformedNumbersStopTheLoad) {
    struct Case {
        std::string line;
        std::int32_t number;
        std::string key;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"AutoOffMinutes=abc", 13, "AutoOffMinutes", "abc"},
        {"AutoOffMinutes=", 13, "AutoOffMinutes", ""},
        {"AutoOffMinutes=40000", 6, "AutoOffMinutes", "40000"},
        {"WorksheetDataStart=12x", 13, "WorksheetDataStart", "12x"},
        {"WorksheetUsageRow=-32769", 6, "WorksheetUsageRow", "-32769"},
        {"SelectedSpreadsheet=99999", 6, "SelectedSpreadsheet", "99999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteFile(File(), "UseInitials=Y\r\n" + c.line + "\r\nJournalling=Y\r\n");
        clsConfig config;
        try {
            config.LoadConfig();
            ADD_FAILURE() << "no error";
        } catch (const DesktopError& error) {
            EXPECT_EQ(error.Number(), c.number);
            EXPECT_EQ(error.Description(), c.number == 6 ? "Overflow" : "Type mismatch");
            EXPECT_EQ(error.Key(), c.key);
            EXPECT_EQ(error.Value(), c.value);
            EXPECT_EQ(error.File(), File().string());
        }
        EXPECT_EQ(config.UseInitials, "Y");
        EXPECT_EQ(config.Journalling, "");
        // What memory holds is not the file: it must not replace it.
        EXPECT_FALSE(config.SaveConfig());
        EXPECT_EQ(ReadFile(File()), "UseInitials=Y\r\n" + c.line + "\r\nJournalling=Y\r\n");
    }
}

// Makes every write past `bytes` of any file fail (EFBIG) while alive.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }

  private:
    rlimit old_{};
    void (*old_handler_)(int) = nullptr;
};

fs::perms Mode(const fs::path& file) {
    return fs::status(file).permissions();
}

TEST_F(ConfigFileTest, SavingReplacesTheFileWhole) {
    const std::string old = DataFile("hand-edited.cfg");
    WriteFile(File(), old);
    fs::permissions(File(), fs::perms(0644));
    clsConfig config;
    FillFull(config);
    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(config.SaveConfig());
    }
    EXPECT_EQ(ReadFile(File()), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
        << "a temporary file was left behind";

    // An existing file keeps its mode; a symlinked one stays a link to the
    // file that now holds the new text.
    EXPECT_TRUE(config.SaveConfig());
    EXPECT_EQ(ReadFile(File()), DataFile("full.cfg"));
    EXPECT_EQ(Mode(File()), fs::perms(0644));
    fs::create_directory(folder_ / "real");
    fs::rename(File(), folder_ / "real" / "WexalDT.cfg");
    fs::create_symlink("real/WexalDT.cfg", File());
    clsConfig minimal;
    EXPECT_TRUE(minimal.SaveConfig());
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(ReadFile(folder_ / "real" / "WexalDT.cfg"), DataFile("minimal.cfg"));
}

TEST_F(ConfigFileTest, NewFileIsTheOwnersOnly) {
    const mode_t mask = ::umask(0);
    clsConfig config;
    EXPECT_TRUE(config.SaveConfig());
    ::umask(mask);
    EXPECT_EQ(Mode(File()), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ConfigFileTest, AFileThatCouldNotBeReadIsNeverOverwritten) {
    // A folder in the file's place cannot be read; by the time of the save a
    // file stands there, which the save must not replace with defaults.
    fs::create_directory(File());
    clsConfig config;
    config.LoadConfig();
    fs::remove(File());
    WriteFile(File(), "UseInitials=Y\r\n");
    EXPECT_FALSE(config.SaveConfig());
    EXPECT_FALSE(config.SaveConfig());
    EXPECT_EQ(ReadFile(File()), "UseInitials=Y\r\n");

    if (::geteuid() != 0) {  // permissions do not stop root
        fs::permissions(File(), fs::perms::none);
        clsConfig locked;
        locked.LoadConfig();
        fs::permissions(File(), fs::perms(0600));
        EXPECT_FALSE(locked.SaveConfig());
        EXPECT_EQ(ReadFile(File()), "UseInitials=Y\r\n");
    }
}

// What stands at `path`: its kind and, for a regular file (links followed),
// its bytes.
std::string Standing(const fs::path& path) {
    return std::to_string(static_cast<int>(fs::symlink_status(path).type())) +
           (fs::is_regular_file(path) ? ReadFile(path) : "");
}

TEST_F(ConfigFileTest, OnlyWhatLoadsAsAConfigurationIsEverRewritten) {
    struct Case {
        std::string kind;  // what stands where the file should be
        std::function<bool(const fs::path&)> make;
        std::string reason;  // why the load refuses it; empty: it loads
    };
    const auto holding = [](std::string bytes) {
        return [bytes](const fs::path& at) {
            WriteFile(at, bytes);
            return true;
        };
    };
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("SelectedInterface=NORTHSTAR\r\nPassword=secret\r\n")) {
        utf16 += {c, '\0'};
    }
    const std::string letter = "Dear clerk,\nthe readings are late.\nKey = value\n";
    const std::string noLine = "no configuration line in it";
    std::vector<Case> cases = {
        {"UTF-8 byte-order mark", holding("\xEF\xBB\xBFSelectedInterface=NORTHSTAR\r\n"), ""},
        {"UTF-16", holding(utf16), noLine},
        {"no line recognised", holding(letter), noLine},
        {"link to a letter",
         [&](const fs::path& at) {
             WriteFile(folder_ / "letter.txt", letter);
             fs::create_symlink("letter.txt", at);
             return true;
         },
         noLine},
    };
    for (const auto& kind : wexal::testing::NotRegularFiles()) {
        cases.push_back({kind.kind, kind.make, "not a regular file"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        fs::remove(File());
        if (!c.make(File())) {
            continue;  // this machine may not make devices
        }
        const std::string before = Standing(File());
        clsConfig config;
        config.LoadConfig();
        const bool loads = c.reason.empty();
        EXPECT_EQ(
            config.LoadFailure(),
            loads ? "" : "Unable to open configuration file " + File().string() + ": " + c.reason);
        EXPECT_EQ(config.SelectedInterface, loads ? "NORTHSTAR" : "");
        EXPECT_EQ(config.SaveConfig(), loads);
        if (!loads) {
            EXPECT_EQ(Standing(File()), before);
        }
    }
}

TEST_F(ConfigFileTest, ARegistryDamagedSinceTheLoadFailsTheSave) {
    WriteFile(File(), "UseInitials=Y\r\n");
    clsConfig config;
    config.LoadConfig();
    WriteFile(home_.Root() / "registry.reg", "this is no registry\n");
    EXPECT_FALSE(config.SaveConfig());
    EXPECT_EQ(ReadFile(File()), "UseInitials=Y\r\n");
    EXPECT_FALSE(fs::exists(home_.Fallback()));
}

TEST_F(ConfigFileTest, AFolderThatIsGoneFailsTheSave) {
    fs::remove_all(folder_);
    clsConfig config;
    EXPECT_FALSE(config.SaveConfig());
    EXPECT_FALSE(fs::exists(folder_));
}

TEST(ConfigFolderTest, FirstSaveMakesTheUsersFolderAndNamesIt) {
    for (const char* path : {"", " "}) {
        SCOPED_TRACE(std::string("Path \"") + path + "\"");
        ConfigFolder home;
        if (*path != '\0') {
            home.Registry().WriteString(ConfigRegistryKey(), "Path", path);
        }
        clsConfig config;
        config.UseInitials = "Y";
        config.LoadConfig();  // no file: nothing changes
        EXPECT_EQ(config.UseInitials, "Y");
        EXPECT_EQ(config.RestorePIN, "");
        EXPECT_FALSE(fs::exists(home.Fallback()));

        EXPECT_TRUE(config.SaveConfig());
        EXPECT_EQ(ReadFile(home.Fallback() / "WexalDT.cfg"),
                  "UseInitials=Y\r\nAutoOffMinutes=0\r\n");
        EXPECT_EQ(home.Registry().ReadString(ConfigRegistryKey(), "Path"),
                  home.Fallback().string());

        // The next run loads from there.
        clsConfig next;
        next.LoadConfig();
        EXPECT_EQ(next.UseInitials, "Y");
    }
}

}  // namespace
