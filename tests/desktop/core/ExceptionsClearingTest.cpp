// Clearing printed entries from the exceptions-capture file while syncs may
// append to it.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "desktop/core/ExceptionsClearing.h"
#include "platform/billingfile/BillingFileLock.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

namespace {

using wexal::desktop::ClearPrintedExceptions;
using wexal::desktop::PrintedLines;
using wexal::testing::ReadFile;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;

ino_t Inode(const std::filesystem::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

class ExceptionsClearingTest : public ::testing::Test {
  protected:
    std::string File() const { return (dir_ / "Exceptions.txt").string(); }

    TempDir dir_;
};

TEST_F(ExceptionsClearingTest, RemovesExactlyThePrintedLinesIntoANewFile) {
    WriteFile(File(), "printed 0\r\nkept out by the filter\r\nprinted 2\r\n");
    const ino_t before = Inode(File());
    // A sync appended after printing; line 1 changed since printing and stays.
    WriteFile(File(), "printed 0\r\nkept out by the filter\r\nprinted 2\r\nappended\r\n");
    const PrintedLines printed = {{0, "printed 0\r\n"}, {2, "printed 2\r\n"}, {3, "other\r\n"}};
    ClearPrintedExceptions(File(), printed);
    EXPECT_EQ(ReadFile(File()), "kept out by the filter\r\nappended\r\n");
    EXPECT_NE(Inode(File()), before);
}

TEST_F(ExceptionsClearingTest, AnEmptiedFileIsDeletedAndNothingPrintedChangesNothing) {
    WriteFile(File(), "only\r\nlines\n");
    const ino_t before = Inode(File());
    // Both lines changed since printing: nothing is cleared, nothing rewritten.
    ClearPrintedExceptions(File(), {{0, "only\n"}, {1, "lines\r\n"}});
    EXPECT_EQ(ReadFile(File()), "only\r\nlines\n");
    EXPECT_EQ(Inode(File()), before);

    ClearPrintedExceptions(File(), {{0, "only\r\n"}, {1, "lines\n"}});
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(ExceptionsClearingTest, RefusedWhileASyncJournalOwnsTheFileEnd) {
    WriteFile(File(), "printed\r\n");
    WriteFile(File() + ".pending", "journal");
    try {
        ClearPrintedExceptions(File(), {{0, "printed\r\n"}});
        FAIL() << "cleared under a pending journal";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "A HotSync is writing the exceptions file; no entries were cleared.");
    }
    EXPECT_EQ(ReadFile(File()), "printed\r\n");
}

TEST_F(ExceptionsClearingTest, WaitsWhileASyncHoldsTheLock) {
    WriteFile(File(), "printed\r\n");
    wexal::billingfile::BillingFileLock sync;
    ASSERT_TRUE(sync.Acquire(File()));
    std::atomic<bool> waited = false;
    std::atomic<bool> done = false;
    std::thread clearing([&] {
        ClearPrintedExceptions(File(), {{0, "printed\r\n"}}, [&] { waited = true; });
        done = true;
    });
    // Until the clearing finds the file locked, however slow the machine.
    wexal::testing::WaitUntil([&] { return waited || done; });
    EXPECT_FALSE(done);
    // What the sync appends while it holds the lock is part of the file the
    // clearing then reads.
    WriteFile(File(), "printed\r\nappended by the sync\r\n");
    sync.Release();
    clearing.join();
    EXPECT_TRUE(waited);
    EXPECT_EQ(ReadFile(File()), "appended by the sync\r\n");
}

// A folder where no new file can be made, also for root (a read-only mount).
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const std::filesystem::path& path) : path_(path) {
        std::filesystem::create_directory(path_);
        if (::geteuid() == 0) {
            mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k") == 0;
        }
    }
    ~ReadOnlyFolder() {
        if (mounted_) {
            ::umount2(path_.c_str(), MNT_DETACH);
        }
        std::filesystem::permissions(path_, std::filesystem::perms(0700));
    }
    // False when it cannot be made read-only here.
    bool Seal() {
        if (::geteuid() != 0) {
            std::filesystem::permissions(path_, std::filesystem::perms(0500));
            return true;
        }
        return mounted_ &&
               ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::filesystem::path path_;
    bool mounted_ = false;
};

TEST_F(ExceptionsClearingTest, AFolderWithoutRoomForANewFileLeavesTheFileUntouched) {
    ReadOnlyFolder folder(dir_ / "sealed");
    const std::string file = (dir_ / "sealed" / "Exceptions.txt").string();
    WriteFile(file, "printed\r\nkept\r\n");
    WriteFile(file + ".lock", "");
    if (!folder.Seal()) {
        GTEST_SKIP() << "no permission to mount a read-only file system";
    }
    try {
        ClearPrintedExceptions(file, {{0, "printed\r\n"}});
        FAIL() << "cleared into a read-only folder";
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadFile(file), "printed\r\nkept\r\n");
}

}  // namespace
