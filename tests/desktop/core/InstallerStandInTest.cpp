// clsInstaller with the stand-in libraries of the program's folder, the real
// sync manager and the real conduit: register, queue, sync.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "desktop/core/clsInstaller.h"
#include "platform/palm/PdbFile.h"
#include "platform/syncmgr/InstallQueue.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/support/Commands.h"
#include "tests/support/TempDir.h"

namespace wexal::desktop {
namespace {

namespace fs = std::filesystem;
using wexal::testing::Execute;
using wexal::testing::Quote;
using wexal::testing::ReadFile;

class FixedFolder final : public ProgramFolder {
  public:
    explicit FixedFolder(fs::path path) : path_(std::move(path)) {}
    fs::path Path() const override { return path_; }

  private:
    fs::path path_;
};

// A program folder of its own: copies of the stand-ins and wexal.prc (a
// library loaded once is found again under any name that reaches the same
// file, so links would share one), a link to the conduit; `leaveOut` names
// files it lacks.
struct ProgramUnderTest {
    ProgramUnderTest(const fs::path& folder, const std::vector<std::string>& leaveOut = {})
        : folder(folder) {
        fs::create_directories(folder);
        auto wanted = [&](const std::string& name) {
            return std::find(leaveOut.begin(), leaveOut.end(), name) == leaveOut.end();
        };
        for (const char* name :
             {"libuserdata.so", "libinstaide.so", "libcondinst.so", "libcondmgr.so"}) {
            if (wanted(name)) {
                fs::copy_file(fs::path(STANDIN_FOLDER) / name, folder / name);
            }
        }
        if (wanted("libWexalCN.so")) {
            fs::create_symlink(WEXAL_CONDUIT_LIBRARY, folder / "libWexalCN.so");
        }
        fs::copy_file(fs::path(STANDIN_FOLDER) / "wexal.prc", folder / "wexal.prc");
    }

    FixedFolder folder;
    ProgramFolderLibraries libraries{folder};
    testing::ScriptedMessages messages;
    clsInstaller installer{libraries, messages, folder, "WexalDT"};

    int16_t RegisterConduit() {
        return installer.Conduit("TLWX", "libWexalCN.so", "Wexal Conduit",
                                 "Meter reading by Tolvane");
    }
    std::string LastMessage() const {
        return messages.All().empty() ? "" : messages.All().back().text;
    }
};

class InstallerStandInTest : public ::testing::Test {
  protected:
    ~InstallerStandInTest() override { fs::current_path(before_); }

    fs::path Folder(const std::string& name) const { return fs::canonical(scratch_.path()) / name; }

    wexal::testing::CommandRun HotSync(const fs::path& handheld, const std::string& extra = "") {
        return Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld) + " " + extra);
    }
    wexal::testing::CommandRun Handheld(const fs::path& handheld, const std::string& command) {
        return Execute(std::string(HANDHELD_TOOL) + " " + Quote(handheld) + " " + command);
    }

    const fs::path before_ = fs::current_path();
    wexal::testing::TempDir scratch_;
    wexal::testing::ScopedEnv registry_{"WEXAL_REGISTRY", (scratch_ / "registry.reg").string()};
    wexal::testing::ScopedEnv data_{"XDG_DATA_HOME", (scratch_ / "data").string()};
};

TEST_F(InstallerStandInTest, RegistersTheConduitThatAPlainHotSyncThenRuns) {
    ProgramUnderTest first(Folder("first"));
    EXPECT_EQ(first.RegisterConduit(), 0);
    EXPECT_EQ(first.LastMessage(), "Conduit Installed");
    EXPECT_EQ(first.RegisterConduit(), -1005);
    EXPECT_EQ(first.LastMessage(), "Conduit is already installed");

    // From another folder: the registration follows the conduit there.
    ProgramUnderTest second(Folder("second"));
    EXPECT_EQ(second.RegisterConduit(), 0);
    const std::string registry = ReadFile(scratch_ / "registry.reg");
    EXPECT_NE(registry.find("\"Creator\"=dword:544c5758"), std::string::npos) << registry;
    EXPECT_NE(
        registry.find("\"Conduit\"=\"" + (Folder("second") / "libWexalCN.so").string() + "\""),
        std::string::npos)
        << registry;
    EXPECT_EQ(registry.find("first"), std::string::npos) << registry;

    ProgramUnderTest noConduit(Folder("no-conduit"), {"libWexalCN.so"});
    EXPECT_EQ(noConduit.RegisterConduit(), -1204);
    EXPECT_EQ(noConduit.LastMessage(), "Conduit not found");
    ProgramUnderTest noManager(Folder("no-manager"), {"libcondmgr.so"});
    EXPECT_EQ(noManager.RegisterConduit(), -1201);
    EXPECT_EQ(noManager.LastMessage(), "Error loading temp condmgr");

    // While a sync runs, nothing is registered.
    const fs::path held = scratch_ / "held";
    ASSERT_EQ(Handheld(held, "init --user Held").exitCode, 0);
    const fs::path release = scratch_ / "release";
    wexal::testing::Start("WEXAL_TEST_CONDUIT=hold WEXAL_TEST_HOLD=" + Quote(release) + " " +
                              HOTSYNC_TOOL + " --handheld " + Quote(held) + " --conduit " +
                              Quote(HOLDING_CONDUIT),
                          scratch_ / "held.out", scratch_ / "held.done");
    ASSERT_TRUE(wexal::testing::WaitForFile(release.string() + ".started"));
    EXPECT_EQ(first.RegisterConduit(), -1205);
    EXPECT_EQ(first.LastMessage(), "HotSync in progress");
    wexal::testing::WriteFile(release, "");
    ASSERT_TRUE(wexal::testing::WaitForFile(scratch_ / "held.done"));

    // A plain sync runs the registered conduit (without a configuration here).
    const fs::path unit = scratch_ / "unit";
    ASSERT_EQ(Handheld(unit, "init --user UNIT01").exitCode, 0);
    const auto sync = HotSync(unit, "--user UNIT01");
    EXPECT_NE(sync.output.find("Wexal Conduit Started without valid configuration"),
              std::string::npos)
        << sync.output;
}

TEST_F(InstallerStandInTest, QueuedApplicationReachesTheHandheldAtTheNextSync) {
    ProgramUnderTest program(Folder("program"));
    ASSERT_EQ(program.RegisterConduit(), 0);
    program.messages.Clear();

    // "Wexal.prc" is found as wexal.prc.
    EXPECT_EQ(program.installer.PRC("UNIT01", "Wexal.prc"), 0);
    EXPECT_TRUE(program.messages.All().empty());
    EXPECT_EQ(program.installer.UserNames(), std::vector<std::string>{"UNIT01"});

    // A newer application queued again before the sync replaces the queued one.
    palm::PdbDatabase newer = palm::ReadPdbFile(Folder("program") / "wexal.prc");
    newer.resources[0].data = {'n', 'e', 'w', 'e', 'r', 0};
    const std::vector<std::uint8_t> bytes = palm::SerializePdb(newer);
    wexal::testing::WriteFile(Folder("program") / "wexal.prc",
                              std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(program.installer.PRC("UNIT01", "Wexal.prc"), 0);
    EXPECT_EQ(program.messages.Texts(),
              std::vector<std::string>{"Application (Wexal.prc) is already scheduled to be "
                                       "installed during next HotSync operation."});
    const syncmgr::InstallQueue queue("UNIT01");
    EXPECT_EQ(queue.Files(), std::vector<std::string>{"Wexal.prc"});
    EXPECT_EQ(ReadFile(queue.PathOf("Wexal.prc")), std::string(bytes.begin(), bytes.end()));

    const fs::path unit = scratch_ / "unit";
    ASSERT_EQ(Handheld(unit, "init --user UNIT01").exitCode, 0);
    const auto sync = HotSync(unit, "--user UNIT01");
    EXPECT_NE(sync.output.find("[19] Installed Wexal.prc on the handheld as Wexal"),
              std::string::npos)
        << sync.output;
    EXPECT_NE(sync.output.find("Wexal Conduit Started"), std::string::npos) << sync.output;
    const auto list = Handheld(unit, "list");
    EXPECT_NE(list.output.find("Wexal  TLWX     appl"), std::string::npos) << list.output;
    EXPECT_NE(Handheld(unit, "dump Wexal").output.find("|newer.|"), std::string::npos);
    EXPECT_TRUE(queue.Files().empty());
}

// A library or entry that cannot be loaded is an error that names it; the
// program goes on, and the library is looked for again on the next call.
TEST_F(InstallerStandInTest, MissingLibraryOrEntryIsAnErrorNamingIt) {
    ProgramUnderTest program(Folder("program"), {"libinstaide.so"});
    const std::string aide = (Folder("program") / "libinstaide.so").string();
    try {
        program.installer.PRC("UNIT01", "Wexal.prc");
        ADD_FAILURE() << "no error";
    } catch (const PalmLibraryError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(aide), std::string::npos) << text;
        EXPECT_NE(text.find("PltInstallFile"), std::string::npos) << text;
        EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;
    }
    EXPECT_EQ(program.installer.UserCount(), 1);  // the user was added before

    // A library of that name without the entry.
    fs::copy_file(fs::path(STANDIN_FOLDER) / "libuserdata.so", aide);
    try {
        program.installer.RemovePRC("UNIT01", "Wexal.prc");
        ADD_FAILURE() << "no error";
    } catch (const PalmLibraryError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find("PltRemoveInstallFile"), std::string::npos) << text;
        EXPECT_NE(text.find("undefined symbol"), std::string::npos) << text;
    }
    EXPECT_TRUE(program.messages.All().empty());
}

}  // namespace
}  // namespace wexal::desktop
