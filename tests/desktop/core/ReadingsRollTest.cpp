// The readings roll on its own: the rolled name, the one message of every
// outcome, and a readings file that stays where it was whenever the roll
// does not move it.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "desktop/core/ReadingsRoll.h"
#include "platform/billingfile/BillingFileLock.h"
#include "platform/files/MoveWithoutReplacing.h"
#include "tests/desktop/core/FixedClock.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

namespace wexal::testing {
namespace {

namespace fs = std::filesystem;
using desktop::LocalDateTime;
using desktop::RollReadings;

constexpr LocalDateTime kRollTime{2026, 12, 8, 7, 34, 37};
const std::string kLines = "first reading\r\nsecond reading\r\n";

// A scratch folder on the memory file system, another file system than the
// one of the temporary folder.
class MemoryDir {
  public:
    MemoryDir() {
        std::string pattern = "/dev/shm/wexal-roll-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~MemoryDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    MemoryDir(const MemoryDir&) = delete;
    MemoryDir& operator=(const MemoryDir&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

  private:
    fs::path path_;
};

ino_t InodeOf(const fs::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

class ReadingsRollTest : public ::testing::Test {
  protected:
    ReadingsRollTest() {
        fs::create_directories(Rolls());
        WriteFile(Readings(), kLines);
    }

    fs::path Readings() const { return dir_ / "readings.txt"; }
    fs::path Rolls() const { return dir_ / "rolls"; }
    fs::path Rolled() const { return Rolls() / "Readings- 2026-12-08 073437"; }

    // Rolls once at kRollTime; the texts of the messages shown.
    std::vector<std::string> Roll(const fs::path& readings, const fs::path& folder,
                                  bool* moved = nullptr) {
        messages_.Clear();
        const FixedClock clock(kRollTime);
        const bool result = RollReadings(readings.string(), folder.string(), clock, messages_);
        if (moved != nullptr) {
            *moved = result;
        }
        for (const ScriptedMessages::Shown& shown : messages_.All()) {
            EXPECT_EQ(shown.kind, ScriptedMessages::Kind::kMessageBox);
            EXPECT_EQ(shown.title, "WexalDT");
            EXPECT_EQ(shown.buttons, desktop::Messages::Buttons::kOk);
        }
        return messages_.Texts();
    }

    TempDir dir_;
    ScriptedMessages messages_;
};

using Texts = std::vector<std::string>;

TEST(RolledFileNameTest, FolderThenTheStampedName) {
    EXPECT_EQ(desktop::RolledFileName("/rolls", kRollTime), "/rolls/Readings- 2026-12-08 073437");
    // The folder is taken as typed.
    EXPECT_EQ(desktop::RolledFileName("/rolls/", {2027, 1, 2, 3, 4, 5}),
              "/rolls//Readings- 2027-01-02 030405");
    EXPECT_EQ(desktop::RolledFileName("", {987, 10, 31, 23, 59, 0}),
              "/Readings- 0987-10-31 235900");
}

TEST_F(ReadingsRollTest, MovesTheFileWholeAndNamesIt) {
    const ino_t inode = InodeOf(Readings());
    bool moved = false;
    EXPECT_EQ(Roll(Readings(), Rolls(), &moved),
              Texts{"Readings file moved to " + Rolled().string()});
    EXPECT_TRUE(moved);
    EXPECT_FALSE(fs::exists(Readings()));
    EXPECT_EQ(ReadFile(Rolled()), kLines);
    EXPECT_EQ(InodeOf(Rolled()), inode) << "the file was copied, not moved";

    // A second click finds nothing.
    EXPECT_EQ(Roll(Readings(), Rolls(), &moved), Texts{"No reading file to roll"});
    EXPECT_FALSE(moved);
}

TEST_F(ReadingsRollTest, NothingToRollLeavesEverythingInPlace) {
    struct Case {
        const char* name;
        fs::path readings;
        void (*make)(const fs::path&);
    };
    const Case cases[] = {
        {"missing file", dir_ / "none.txt", [](const fs::path&) {}},
        {"missing folder", dir_ / "gone" / "readings.txt", [](const fs::path&) {}},
        {"empty file", dir_ / "empty.txt", [](const fs::path& p) { WriteFile(p, ""); }},
        {"folder at the path", dir_ / "folder.txt",
         [](const fs::path& p) {
             fs::create_directory(p);
             WriteFile(p / "inside", kLines);
         }},
        {"empty readings path", fs::path(), [](const fs::path&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(c.readings);
        const bool existed = fs::exists(c.readings);
        EXPECT_EQ(Roll(c.readings, Rolls()), Texts{"No reading file to roll"});
        EXPECT_EQ(fs::exists(c.readings), existed);
        EXPECT_TRUE(fs::is_empty(Rolls()));
    }
}

TEST_F(ReadingsRollTest, FailedMoveShowsTheSystemsMessageAndKeepsTheFile) {
    struct Case {
        const char* name;
        fs::path folder;
        std::string message;
    };
    WriteFile(Rolled(), "rolled earlier\r\n");
    std::vector<Case> cases = {
        {"name taken", Rolls(), "File exists"},
        {"roll folder missing", dir_ / "no-such-folder", "No such file or directory"},
        {"roll folder is a file", Readings(), "Not a directory"},
    };
    // A folder of another file system: the roll never copies.
    MemoryDir other;
    struct stat here {};
    struct stat there {};
    const bool otherFileSystem = ::stat(dir_.path().c_str(), &here) == 0 &&
                                 ::stat(other.path().c_str(), &there) == 0 &&
                                 here.st_dev != there.st_dev;
    if (otherFileSystem) {
        cases.push_back({"other file system", other.path(), "Invalid cross-device link"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool moved = true;
        EXPECT_EQ(Roll(Readings(), c.folder, &moved), Texts{c.message});
        EXPECT_FALSE(moved);
        EXPECT_EQ(ReadFile(Readings()), kLines);
        EXPECT_EQ(ReadFile(Rolled()), "rolled earlier\r\n");
    }
    if (!otherFileSystem) {
        GTEST_SKIP() << "/dev/shm is no other file system than the temporary folder's here: "
                        "the move to another file system went unchecked";
    }
    EXPECT_TRUE(fs::is_empty(other.path()));
}

TEST_F(ReadingsRollTest, AnUnfinishedUploadIsNotRolled) {
    WriteFile(Readings().string() + ".pending", "pending 0 15 0 0 0 0 0001\n");
    EXPECT_EQ(Roll(Readings(), Rolls()),
              Texts{"The readings file holds an upload that has not finished. Run a HotSync, "
                    "then roll again."});
    EXPECT_EQ(ReadFile(Readings()), kLines);
    EXPECT_TRUE(fs::is_empty(Rolls()));

    fs::remove(Readings().string() + ".pending");
    EXPECT_EQ(Roll(Readings(), Rolls()), Texts{"Readings file moved to " + Rolled().string()});
}

TEST_F(ReadingsRollTest, WaitsForWhoeverHoldsTheBillingFileLock) {
    billingfile::BillingFileLock sync;
    ASSERT_TRUE(sync.Acquire(Readings().string()));
    std::future<Texts> roll =
        std::async(std::launch::async, [this] { return Roll(Readings(), Rolls()); });
    WaitUntil([&] {
        return sync.Awaited() ||
               roll.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    EXPECT_TRUE(sync.Awaited()) << "the roll did not wait for the lock";
    // The writer finishes its lines; the roll takes all of them.
    WriteFile(Readings(), kLines + "third reading\r\n");
    sync.Release();
    EXPECT_EQ(roll.get(), Texts{"Readings file moved to " + Rolled().string()});
    EXPECT_EQ(ReadFile(Rolled()), kLines + "third reading\r\n");
    // The lock file stays for the next writer.
    EXPECT_TRUE(fs::exists(Readings().string() + ".lock"));
}

TEST(MoveWithoutReplacingTest, BothWaysOfMovingRefuseTheSameThings) {
    for (auto move : {&files::MoveWithoutReplacing, &files::MoveByLinking}) {
        SCOPED_TRACE(move == &files::MoveByLinking ? "by linking" : "by renaming");
        TempDir dir;
        const fs::path from = dir / "from";
        WriteFile(from, "bytes");
        WriteFile(dir / "taken", "other");
        EXPECT_EQ(move(from.string(), (dir / "taken").string()), EEXIST);
        EXPECT_EQ(move(from.string(), (dir / "none" / "to").string()), ENOENT);
        EXPECT_EQ(move((dir / "missing").string(), (dir / "to").string()), ENOENT);
        EXPECT_EQ(ReadFile(from), "bytes");
        EXPECT_EQ(ReadFile(dir / "taken"), "other");
        MemoryDir other;
        EXPECT_EQ(move(from.string(), (other / "to").string()), EXDEV);
        EXPECT_EQ(ReadFile(from), "bytes");

        const ino_t inode = InodeOf(from);
        EXPECT_EQ(move(from.string(), (dir / "to").string()), 0);
        EXPECT_FALSE(fs::exists(from));
        EXPECT_EQ(InodeOf(dir / "to"), inode);
    }
}

}  // namespace
}  // namespace wexal::testing
