// libcondinst.so with libcondmgr.so: conduit registrations in the registry,
// and what the four libraries export.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "platform/registry/Registry.h"
#include "platform/syncmgr/ConduitRegistrations.h"
#include "tests/platform/palmdesktop/StandInFixture.h"
#include "tests/support/Commands.h"
#include "tests/support/MissingDependency.h"

namespace wexal::palmdesktop::testing {
namespace {

namespace fs = std::filesystem;
using registry::Registry;
using registry::Value;

class ConduitInstallTest : public StandInTest {
  protected:
    ConduitInstallTest() {
        fs::create_directories(scratch_ / "one");
        fs::create_directories(scratch_ / "two");
        wexal::testing::WriteFile(scratch_ / "one/libWexalCN.so", "conduit");
        wexal::testing::WriteFile(scratch_ / "two/libWexalCN.so", "conduit");
    }

    // InstallConduit as the desktop calls it, from the libraries in `libraries`.
    int32_t Install(const fs::path& folder, const char* creator = "TLWX",
                    const fs::path& libraries = ProgramFolder()) {
        Library condinst(libraries / "libcondinst.so");
        auto install = condinst.Entry<InstallConduitFn>("InstallConduit");
        return install(folder.c_str(), creator, folder.c_str(), "libWexalCN.so", "", "", "",
                       "Wexal Conduit", 2, "Tolvane meter reading");
    }

    std::optional<Value> Registered(int number, const char* name) const {
        return Registry::CurrentUser().ReadValue(syncmgr::ApplicationKey(number), name);
    }
};

TEST_F(ConduitInstallTest, RegistersUpdatesAndRefusesTwice) {
    EXPECT_EQ(Install(scratch_ / "one"), kCondErrNone);
    EXPECT_EQ(Registered(1, "Creator"), Value(std::uint32_t{0x544C5758}));
    EXPECT_EQ(Registered(1, "Conduit"), Value((scratch_ / "one/libWexalCN.so").string()));
    EXPECT_EQ(Registered(1, "Name"), Value("Wexal Conduit"));
    EXPECT_EQ(Registered(1, "Information"), Value("Tolvane meter reading"));
    EXPECT_EQ(Registered(1, "Priority"), Value(std::uint32_t{2}));
    EXPECT_EQ(Registered(1, "Directory"), Value((scratch_ / "one").string()));
    EXPECT_NE(
        wexal::testing::ReadFile(scratch_ / "registry.reg").find("\"Creator\"=dword:544c5758"),
        std::string::npos);

    EXPECT_EQ(Install(scratch_ / "one"), kCondErrAlreadyInstalled);
    EXPECT_EQ(Install(scratch_ / "two"), kCondErrNone);  // the same creator moves
    EXPECT_EQ(Registered(1, "Conduit"), Value((scratch_ / "two/libWexalCN.so").string()));
    EXPECT_EQ(Install(scratch_ / "one", "ABCD"), kCondErrNone);  // another creator
    EXPECT_EQ(Registered(2, "Creator"), Value(std::uint32_t{0x41424344}));

    EXPECT_EQ(Install(scratch_ / "three"), kCondErrNoConduit);
    EXPECT_EQ(Install(scratch_ / "one", "TLW"), kCondErrBadArgument);
    EXPECT_FALSE(Registry::CurrentUser().KeyExists(syncmgr::ApplicationKey(3)));
}

TEST_F(ConduitInstallTest, CreatorsWrittenAsTextAreFound) {
    Registry::CurrentUser().WriteString(syncmgr::ApplicationKey(4), "Creator", "TLWX");
    EXPECT_EQ(Install(scratch_ / "one"), kCondErrNone);
    EXPECT_EQ(Registered(4, "Creator"), Value(std::uint32_t{0x544C5758}));
    EXPECT_FALSE(Registry::CurrentUser().KeyExists(syncmgr::ApplicationKey(1)));
}

TEST_F(ConduitInstallTest, RegistryFailuresAreTheBaseError) {
    for (int number = 1; number <= 99; ++number) {
        Registry::CurrentUser().WriteDword(syncmgr::ApplicationKey(number), "Creator", number);
    }
    EXPECT_EQ(Install(scratch_ / "one"), kCondErrBase);
    wexal::testing::WriteFile(scratch_ / "registry.reg", "REGEDIT4\n\ndamaged\n");
    EXPECT_EQ(Install(scratch_ / "one"), kCondErrBase);
    EXPECT_EQ(wexal::testing::ReadFile(scratch_ / "registry.reg"), "REGEDIT4\n\ndamaged\n");
}

// libcondinst.so loads the manager from its own folder, wherever it lies.
TEST_F(ConduitInstallTest, TheManagerMustLieBesideTheInstaller) {
    const fs::path alone = scratch_ / "alone";
    fs::create_directories(alone);
    fs::copy_file(ProgramFolder() / "libcondinst.so", alone / "libcondinst.so");
    EXPECT_EQ(Install(scratch_ / "one", "TLWX", alone), kCondErrLoadCondMgr);
    // A library by that name without the manager's entry.
    fs::copy_file(ProgramFolder() / "libuserdata.so", alone / "libcondmgr.so");
    EXPECT_EQ(Install(scratch_ / "one", "TLWX", alone), kCondErrInvalidCondMgr);
    EXPECT_FALSE(Registry::CurrentUser().KeyExists(syncmgr::ApplicationKey(1)));
}

TEST(StandInLibrariesTest, ExportTheirEntriesOnlyAndCarryTheirVersion) {
    const std::map<std::string, std::set<std::string>> entries = {
        {"libuserdata.so", {"UmGetUserCount", "UmGetUserID", "UmGetUserName", "UmAddUser"}},
        {"libinstaide.so", {"PltInstallFile", "PltRemoveInstallFile"}},
        {"libcondinst.so", {"InstallConduit"}},
        {"libcondmgr.so", {"CmInstallConduit"}},
    };
    for (const auto& [library, names] : entries) {
        const std::string file = (fs::path(STANDIN_FOLDER) / library).string();
        std::set<std::string> exported;
        std::istringstream lines(
            wexal::testing::Execute("nm -D --defined-only " + wexal::testing::Quote(file)).output);
        for (std::string address, kind, name; lines >> address >> kind >> name;) {
            exported.insert(name);
        }
        EXPECT_EQ(exported, names) << library;
        // 2.6.32.0: 2 << 16 | 6, then 32 << 16 | 0, little-endian words.
        const std::string notes =
            wexal::testing::Execute("readelf -n " + wexal::testing::Quote(file)).output;
        EXPECT_NE(notes.find("Wexal"), std::string::npos) << notes;
        EXPECT_NE(notes.find("06 00 02 00 00 00 20 00"), std::string::npos) << notes;
    }
}

// The build's stand-in for the handheld application, read by an independent
// reader of the file format.
TEST(StandInLibrariesTest, GeneratedApplicationIsAPalmResourceDatabase) {
    const fs::path pdbdump = "/usr/share/doc/libpalm-perl/examples/pdbdump";
    if (!fs::exists(pdbdump)) {
        WEXAL_MISSING_DEPENDENCY("pdbdump (libpalm-perl) is not installed");
    }
    const auto dump =
        wexal::testing::Execute("perl " + wexal::testing::Quote(pdbdump) + " " +
                                wexal::testing::Quote(fs::path(STANDIN_FOLDER) / "wexal.prc"));
    ASSERT_EQ(dump.exitCode, 0) << dump.output;
    for (const char* line : {"Name:           Wexal", "RESOURCE", "Type:           appl",
                             "Creator:        TLWX", "# records:      1", "Type:           tSTR",
                             "ID:             1000", "Wexal handheld application stand-in"}) {
        EXPECT_NE(dump.output.find(line), std::string::npos) << line << "\n" << dump.output;
    }
}

}  // namespace
}  // namespace wexal::palmdesktop::testing
