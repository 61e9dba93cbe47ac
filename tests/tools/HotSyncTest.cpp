// The sync manager stand-in, run as a separate program on a handheld folder.
#include <gtest/gtest.h>

#include <sys/inotify.h>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/palm/PdbFile.h"
#include "platform/palm/SyncManager.h"
#include "platform/palmdesktop/PalmDesktopApi.h"
#include "platform/registry/Registry.h"
#include "platform/syncmgr/InstallQueue.h"
#include "tests/support/Commands.h"
#include "tests/support/MissingDependency.h"
#include "tests/support/TempDir.h"

namespace {

using wexal::testing::CommandRun;
using wexal::testing::Execute;
using wexal::testing::Quote;
using wexal::testing::ReadFile;
using wexal::testing::ScopedEnv;
using wexal::testing::Start;
using wexal::testing::TempDir;
using wexal::testing::WaitForFile;

std::vector<std::uint8_t> ApplicationBytes(const std::string& name) {
    wexal::palm::PdbDatabase app;
    app.header.name = name;
    app.header.attributes = wexal::palm::kPdbAttrResource;
    app.header.type = wexal::palm::FourCC("appl");
    app.header.creator = wexal::palm::FourCC("TLWX");
    app.resources.push_back({wexal::palm::FourCC("tSTR"), 1000, {'x', 0}});
    return wexal::palm::SerializePdb(app);
}

class HotSyncTest : public ::testing::Test {
  protected:
    HotSyncTest()
        : registry_("WEXAL_REGISTRY", (scratch_ / "registry.reg").string()),
          data_("XDG_DATA_HOME", (scratch_ / "data").string()),
          mode_("WEXAL_TEST_CONDUIT", "") {
        handheld_ = scratch_ / "handheld";
        CommandRun init =
            Execute(std::string(HANDHELD_TOOL) + " " + Quote(handheld_) + " init --user Reader1");
        EXPECT_EQ(init.exitCode, 0) << init.output;
    }

    CommandRun Sync(const std::string& extra = "") {
        return Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld_) +
                       " --conduit " + Quote(TEST_CONDUIT) + " " + extra);
    }

    // Records of a database as texts, read through the sync library.
    std::vector<std::string> Records(const char* name) {
        std::vector<std::string> texts;
        EXPECT_EQ(SyncOpenSession(handheld_.c_str()), kSyncErrNone);
        uint8_t handle = 0;
        if (SyncOpenDB(name, 0, &handle, kSyncModeRead) == kSyncErrNone) {
            for (uint16_t i = 0;; ++i) {
                char buffer[512] = {};
                SyncRawRecord record{};
                record.dbHandle = handle;
                record.index = i;
                record.bufferSize = sizeof buffer;
                record.buffer = buffer;
                if (SyncReadRecordByIndex(&record) != kSyncErrNone) {
                    break;
                }
                texts.emplace_back(buffer);
            }
            SyncCloseDB(handle);
        }
        SyncCloseSession();
        return texts;
    }

    TempDir scratch_;
    ScopedEnv registry_;
    ScopedEnv data_;
    ScopedEnv mode_;
    std::filesystem::path handheld_;
};

const std::vector<std::string> kThreeRecords = {"record 0", "record 1", "record 2"};

TEST_F(HotSyncTest, RunsConduitWritesDatabaseAndLog) {
    CommandRun run = Sync();
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("[19] Test conduit wrote TestDB for Reader1 (result 0)"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(Records("TestDB"), kThreeRecords);

    const std::string log = ReadFile(scratch_.path() / "data/wexal/desktop/Reader1/HotSync.log");
    EXPECT_NE(log.find("[19] Test conduit wrote TestDB"), std::string::npos) << log;

    // An independent reader of the file format sees the same records.
    const std::filesystem::path pdbdump = "/usr/share/doc/libpalm-perl/examples/pdbdump";
    if (!std::filesystem::exists(pdbdump)) {
        WEXAL_MISSING_DEPENDENCY("pdbdump (libpalm-perl) is not installed");
    }
    CommandRun dump = Execute("perl " + Quote(pdbdump) + " " + Quote(handheld_ / "TestDB.pdb"));
    EXPECT_EQ(dump.exitCode, 0) << dump.output;
    EXPECT_NE(dump.output.find("TestDB"), std::string::npos) << dump.output;
    EXPECT_NE(dump.output.find("record 2"), std::string::npos) << dump.output;
}

TEST_F(HotSyncTest, RunsRegisteredConduitsWhenNoneNamed) {
    auto registry = wexal::registry::Registry::CurrentUser();
    const std::string key = "Software\\U.S. Robotics\\Pilot Desktop\\Application3";
    registry.WriteString(key, "Creator", "TEST");
    registry.WriteString(key, "Conduit", TEST_CONDUIT);
    CommandRun run = Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld_));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(Records("TestDB"), kThreeRecords);
}

// Counts the opens of one file while alive. Closes are watched too: the
// kernel merges like events that follow each other unread.
class OpenCounter {
  public:
    explicit OpenCounter(const std::filesystem::path& file)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        EXPECT_GE(fd_, 0);
        EXPECT_GE(inotify_add_watch(fd_, file.c_str(), IN_OPEN | IN_CLOSE), 0);
    }
    ~OpenCounter() { close(fd_); }

    int Count() {
        alignas(inotify_event) char buffer[64 * 1024];
        ssize_t got = 0;
        while ((got = read(fd_, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                count_ += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                at += sizeof(inotify_event) + event->len;
            }
        }
        return count_;
    }

  private:
    int fd_;
    int count_ = 0;
};

TEST_F(HotSyncTest, ALargeRegistryIsReadOnceForTheConduitList) {
    // 200,000 values of the desktop's own: read anew for each of the 99
    // places of the conduit list they took many seconds a sync.
    const std::filesystem::path file = scratch_.path() / "registry.reg";
    std::string text =
        "REGEDIT4\n\n"
        "[HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Application3]\n"
        "\"Conduit\"=\"" +
        std::string(TEST_CONDUIT) +
        "\"\n\"Creator\"=\"TEST\"\n\n[HKEY_CURRENT_USER\\Software\\Desktop]\n";
    for (int i = 0; i < 200000; ++i) {
        text += "\"Value" + std::to_string(i) + "\"=\"text " + std::to_string(i) + "\"\n";
    }
    wexal::testing::WriteFile(file, text);
    OpenCounter opens(file);
    CommandRun run = Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld_));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(Records("TestDB"), kThreeRecords);
    // A handful of readings (conduit list, user's folder for the sync lock,
    // the install queue and the log), not one per place of the list.
    EXPECT_LE(opens.Count(), 8);
}

TEST_F(HotSyncTest, RefusesBadHandheldUserOrLibrary) {
    CommandRun missing =
        Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(scratch_.path() / "nowhere") +
                " --conduit " + Quote(TEST_CONDUIT));
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.output.find("cannot be opened"), std::string::npos) << missing.output;

    CommandRun otherUser = Sync("--user Reader2");
    EXPECT_NE(otherUser.exitCode, 0);
    EXPECT_NE(otherUser.output.find("belongs to user Reader1"), std::string::npos)
        << otherUser.output;

    wexal::testing::WriteFile(scratch_.path() / "junk.so", "not a library");
    CommandRun junk = Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld_) +
                              " --conduit " + Quote(scratch_.path() / "junk.so"));
    EXPECT_NE(junk.exitCode, 0);
    EXPECT_NE(junk.output.find("cannot load conduit"), std::string::npos) << junk.output;

    CommandRun partial = Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld_) +
                                 " --conduit " + Quote(PARTIAL_CONDUIT));
    EXPECT_NE(partial.exitCode, 0);
    EXPECT_NE(partial.output.find("does not export CfgConduit"), std::string::npos)
        << partial.output;
    EXPECT_TRUE(Records("TestDB").empty()) << "nothing may run when a conduit is incomplete";
}

TEST_F(HotSyncTest, HelpPrintsTheUsageAndSucceeds) {
    const struct {
        std::string command;
        std::string usage;
    } cases[] = {
        {std::string(HOTSYNC_TOOL) + " --help", "usage: hotsync --handheld DIR"},
        {std::string(HOTSYNC_TOOL) + " -h", "usage: hotsync --handheld DIR"},
        {std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld_) + " --help",
         "usage: hotsync --handheld DIR"},
        {std::string(HANDHELD_TOOL) + " --help", "usage: handheld DIR COMMAND"},
        {std::string(HANDHELD_TOOL) + " " + Quote(handheld_) + " --help",
         "usage: handheld DIR COMMAND"},
        {std::string(HANDHELD_TOOL) + " " + Quote(handheld_) + " read --help",
         "usage: handheld DIR read ROUTE"},
    };
    for (const auto& c : cases) {
        const CommandRun run = Execute(c.command);
        EXPECT_EQ(run.exitCode, 0) << c.command << "\n" << run.output;
        EXPECT_EQ(run.output.rfind(c.usage, 0), 0u) << c.command << "\n" << run.output;
    }
    EXPECT_TRUE(Records("TestDB").empty()) << "asking for help runs no sync";
}

TEST_F(HotSyncTest, CrashingConduitIsReportedAndStoreStaysReadable) {
    ASSERT_EQ(Sync().exitCode, 0);
    ScopedEnv crash("WEXAL_TEST_CONDUIT", "crash");
    CommandRun run = Sync();
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("crashed"), std::string::npos) << run.output;
    // The database the conduit was writing is whole: either empty (as created)
    // or with its records, never a damaged file.
    auto records = Records("TestDB");
    EXPECT_TRUE(records.empty() || records == kThreeRecords);
}

TEST_F(HotSyncTest, MessageBoxGoesToLogWithoutWaiting) {
    ScopedEnv box("WEXAL_TEST_CONDUIT", "msgbox");
    CommandRun run = Sync();
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Message box [Test]: going to write"), std::string::npos)
        << run.output;
}

TEST_F(HotSyncTest, ConfigureHandsTheBlockToTheConduit) {
    CommandRun run = Execute(std::string(HOTSYNC_TOOL) + " --configure --user Reader1 --conduit " +
                             Quote(TEST_CONDUIT));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Test Conduit: action 6, as default"), std::string::npos)
        << run.output;
}

// Files queued for the user go onto the handheld before the conduits run; a
// damaged one stays queued, and the conduits run all the same.
TEST_F(HotSyncTest, InstallsQueuedFilesBeforeTheConduits) {
    const wexal::syncmgr::InstallQueue queue("Reader1");
    queue.Add("Wexal.prc", ApplicationBytes("Wexal"));
    queue.Add("broken.prc", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'r', 'c'});

    CommandRun run = Sync();
    ASSERT_EQ(run.exitCode, 3) << run.output;
    const std::size_t installed =
        run.output.find("[19] Installed Wexal.prc on the handheld as Wexal");
    const std::size_t broken =
        run.output.find("[22] broken.prc is not a Palm database and stays queued");
    const std::size_t conduit = run.output.find("[19] Test conduit wrote TestDB");
    EXPECT_NE(installed, std::string::npos) << run.output;
    EXPECT_NE(broken, std::string::npos) << run.output;
    EXPECT_LT(broken, conduit) << run.output;
    EXPECT_LT(installed, conduit) << run.output;
    EXPECT_EQ(Records("TestDB"), kThreeRecords);
    EXPECT_EQ(queue.Files(), std::vector<std::string>{"broken.prc"});

    CommandRun list = Execute(std::string(HANDHELD_TOOL) + " " + Quote(handheld_) + " list");
    EXPECT_NE(list.output.find("Wexal   TLWX     appl           1"), std::string::npos)
        << list.output;
    // The sync log keeps the lines too.
    const std::string log = ReadFile(scratch_.path() / "data/wexal/desktop/Reader1/HotSync.log");
    EXPECT_NE(log.find("[19] Installed Wexal.prc"), std::string::npos) << log;
}

// How a sync ends, with the queued file installed whatever the conduit
// logged, and also when no conduit is named or registered. A report that
// shares a failure's activity is no failure.
TEST_F(HotSyncTest, ClosingLineAndExitStatusSayWhetherFailuresWereLogged) {
    const std::string complete = "HotSync complete; sync log: ";
    const std::string errors = "HotSync finished, but errors were logged; see the sync log: ";
    const struct {
        const char* conduitMode;  // nullptr: no conduit at all
        int exitCode;
        const std::string& closing;
    } cases[] = {{"", 0, complete},
                 {"log17", 3, errors},
                 {"log21", 3, errors},
                 {"log22", 3, errors},
                 {"log22:Wexal - No file found to download", 0, complete},
                 {nullptr, 0, complete}};
    const auto log = scratch_.path() / "data/wexal/desktop/Reader1/HotSync.log";
    for (const auto& c : cases) {
        const wexal::syncmgr::InstallQueue queue("Reader1");
        queue.Add("Wexal.prc", ApplicationBytes("Wexal"));
        ScopedEnv mode("WEXAL_TEST_CONDUIT", c.conduitMode != nullptr ? c.conduitMode : "");
        const CommandRun run =
            c.conduitMode != nullptr
                ? Sync()
                : Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld_));
        const std::string why = (c.conduitMode != nullptr ? c.conduitMode : "no conduit") +
                                std::string("\n") + run.output;
        EXPECT_EQ(run.exitCode, c.exitCode) << why;
        EXPECT_NE(run.output.find(c.closing + log.string() + "\n"), std::string::npos) << why;
        EXPECT_NE(run.output.find("[19] Installed Wexal.prc"), std::string::npos) << why;
        EXPECT_TRUE(queue.Files().empty()) << why;
    }
}

// A running sync keeps conduit registrations out (-1205) but not the sync of
// another handheld; once it ends, registering works.
TEST_F(HotSyncTest, RunningSyncKeepsRegistrationsOutButNotOtherSyncs) {
    void* library = dlopen(CONDINST_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto install = reinterpret_cast<InstallConduitFn>(dlsym(library, "InstallConduit"));
    ASSERT_NE(install, nullptr);
    auto registerTestConduit = [&] {
        return install("", "TEST", "", TEST_CONDUIT, "", "", "", "Test", 2, "");
    };

    const auto release = scratch_.path() / "release";
    Start("WEXAL_TEST_CONDUIT=hold WEXAL_TEST_HOLD=" + Quote(release) + " " +
              std::string(HOTSYNC_TOOL) + " --handheld " + Quote(handheld_) + " --conduit " +
              Quote(TEST_CONDUIT),
          scratch_.path() / "held.out", scratch_.path() / "held.done");
    ASSERT_TRUE(WaitForFile(release.string() + ".started"));

    EXPECT_EQ(registerTestConduit(), kCondErrSyncRunning);
    const auto other = scratch_.path() / "other";
    ASSERT_EQ(
        Execute(std::string(HANDHELD_TOOL) + " " + Quote(other) + " init --user Reader2").exitCode,
        0);
    CommandRun beside = Execute(std::string(HOTSYNC_TOOL) + " --handheld " + Quote(other) +
                                " --conduit " + Quote(TEST_CONDUIT));
    EXPECT_EQ(beside.exitCode, 0) << beside.output;
    EXPECT_FALSE(std::filesystem::exists(scratch_.path() / "held.done"));

    wexal::testing::WriteFile(release, "");
    ASSERT_TRUE(WaitForFile(scratch_.path() / "held.done"));
    EXPECT_EQ(ReadFile(scratch_.path() / "held.done"), "0\n")
        << ReadFile(scratch_.path() / "held.out");
    EXPECT_EQ(registerTestConduit(), kCondErrNone);
    dlclose(library);
}

}  // namespace
