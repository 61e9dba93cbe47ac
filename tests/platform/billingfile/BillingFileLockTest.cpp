// Holders of one billing file's lock take turns (every open of the lock file
// is a holder of its own, in one process as in several); a lock file that
// cannot be used is refused at once, never waited on.
#include "platform/billingfile/BillingFileLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

namespace wexal::billingfile {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WaitUntil;
using testing::WriteFile;

TEST(BillingFileLockTest, SecondHolderWaitsUntilTheFirstReleases) {
    TempDir dir;
    const std::string file = (dir / "readings.txt").string();
    BillingFileLock first;
    bool firstWaited = false;
    ASSERT_TRUE(first.Acquire(file, [&] { firstWaited = true; }));
    EXPECT_FALSE(firstWaited);

    std::atomic<bool> secondWaits{false};
    std::atomic<bool> secondHeld{false};
    std::thread second([&] {
        BillingFileLock lock;
        EXPECT_TRUE(lock.Acquire(file, [&] { secondWaits = true; }));
        secondHeld = true;
    });
    // Blocked on the lock file, as the kernel lists it: not holding it.
    WaitUntil([&] { return (secondWaits && first.Awaited()) || secondHeld; });
    EXPECT_TRUE(secondWaits);
    EXPECT_TRUE(first.Awaited());
    EXPECT_FALSE(secondHeld);
    first.Release();
    second.join();
    EXPECT_TRUE(secondHeld);
    // The lock file stays for the next writer.
    EXPECT_TRUE(fs::is_regular_file(file + ".lock"));
}

TEST(BillingFileLockTest, HolderSeesWhileAnotherWaits) {
    TempDir dir;
    const std::string file = (dir / "readings.txt").string();
    BillingFileLock first;
    ASSERT_TRUE(first.Acquire(file));
    EXPECT_FALSE(first.Awaited());
    BillingFileLock other;
    ASSERT_TRUE(other.Acquire((dir / "other.txt").string()));

    std::thread second([&] {
        BillingFileLock lock;
        EXPECT_TRUE(lock.Acquire(file));
    });
    EXPECT_TRUE(WaitUntil([&] { return first.Awaited(); }));
    EXPECT_FALSE(other.Awaited()) << "a wait for another file's lock";
    first.Release();
    second.join();
    EXPECT_FALSE(first.Awaited()) << "nothing held";
}

TEST(BillingFileLockTest, CoversItsLockFileUnderAnyName) {
    TempDir dir;
    BillingFileLock lock;
    ASSERT_TRUE(lock.Acquire((dir / "readings.txt").string()));
    EXPECT_TRUE(lock.Covers((dir / "." / "readings.txt").string()));
    EXPECT_FALSE(lock.Covers((dir / "exceptions.txt").string()));
    lock.Release();
    EXPECT_FALSE(lock.Covers((dir / "readings.txt").string()));
}

TEST(BillingFileLockTest, LockFileThatCannotBeUsedIsRefusedAtOnce) {
    struct Case {
        const char* name;
        std::function<std::string(const TempDir&)> prepare;  // gives the billing file
        const char* error;
    };
    const Case cases[] = {
        {"folder cannot be made",
         [](const TempDir& dir) {
             WriteFile(dir / "plainfile", "");
             return (dir / "plainfile" / "readings.txt").string();
         },
         "Not a directory"},
        {"folder in its place",
         [](const TempDir& dir) {
             fs::create_directory(dir / "readings.txt.lock");
             return (dir / "readings.txt").string();
         },
         "Is a directory"},
        {"FIFO in its place",
         [](const TempDir& dir) {
             ::mkfifo((dir / "readings.txt.lock").c_str(), 0644);
             return (dir / "readings.txt").string();
         },
         "not a regular file"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir dir;
        const std::string file = test.prepare(dir);
        BillingFileLock lock;
        EXPECT_FALSE(lock.Acquire(file));
        EXPECT_FALSE(lock.Held());
        EXPECT_EQ(lock.LockPath(), file + ".lock");
        EXPECT_EQ(lock.Error(), test.error);
    }
}

}  // namespace
}  // namespace wexal::billingfile
