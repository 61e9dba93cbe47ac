#include "platform/palm/HandheldStore.h"
#include "platform/palm/SyncManager.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "tests/platform/palm/PalmTestUtil.h"
#include "tests/support/NotRegularFiles.h"
#include "tests/support/TempDir.h"

namespace wexal::palm {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using wexal::testing::ReadFile;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;

PdbDatabase MakeDb(const std::string& name, int records) {
    PdbDatabase db;
    db.header.name = name;
    db.header.creator = FourCC("TLWX");
    db.header.type = FourCC("DATA");
    db.header.uniqueIdSeed = static_cast<uint32_t>(records + 1);
    for (int i = 0; i < records; ++i) {
        db.records.push_back({0, static_cast<uint32_t>(i + 1), Bytes("r" + std::to_string(i))});
    }
    return db;
}

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) {
        out.push_back(e.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(HandheldStoreTest, EscapesDatabaseNamesInFileNames) {
    EXPECT_EQ(HandheldStore::FileNameFor("readerDB"), "readerDB.pdb");
    EXPECT_EQ(HandheldStore::FileNameFor("route North 1"), "route North 1.pdb");
    EXPECT_EQ(HandheldStore::FileNameFor("a_b-c.d"), "a_b-c.d.pdb");
    EXPECT_EQ(HandheldStore::FileNameFor("route A/B"), "route A%2FB.pdb");
    EXPECT_EQ(HandheldStore::FileNameFor("50%"), "50%25.pdb");
    EXPECT_EQ(HandheldStore::FileNameFor(".hidden"), "%2Ehidden.pdb");
    EXPECT_EQ(HandheldStore::FileNameFor(".."), "%2E..pdb");
    EXPECT_EQ(HandheldStore::FileNameFor("x.y."), "x.y..pdb");
    EXPECT_EQ(HandheldStore::FileNameFor("caf\xC3\xA9"), "caf%C3%A9.pdb");
    EXPECT_EQ(HandheldStore::FileNameFor("a:b*c?\\"), "a%3Ab%2Ac%3F%5C.pdb");

    for (const std::string& name :
         std::vector<std::string>{"readerDB", "route A/B", "50%", ".hidden", "..", "caf\xC3\xA9",
                                  "\x01\x7F\xFF", "%41"}) {
        std::optional<std::string> back =
            HandheldStore::NameForFileName(HandheldStore::FileNameFor(name));
        ASSERT_TRUE(back.has_value()) << name;
        EXPECT_EQ(*back, name);
    }
    // Files that are not the canonical file of a name.
    for (const std::string& file : std::vector<std::string>{
             "%41.pdb", "%2.pdb", "%zz.pdb", "a%2fb.pdb", ".hidden.pdb", "x.txt", ".pdb",
             "handheld.txt", "handheld.lock", ".x.pdb.AbC123.tmp", std::string(32, 'n') + ".pdb"}) {
        EXPECT_FALSE(HandheldStore::NameForFileName(file).has_value()) << file;
    }
}

TEST(HandheldStoreTest, ValidNames) {
    EXPECT_TRUE(HandheldStore::IsValidName("a"));
    EXPECT_TRUE(HandheldStore::IsValidName(std::string(31, 'x')));
    EXPECT_FALSE(HandheldStore::IsValidName(std::string(32, 'x')));
    EXPECT_FALSE(HandheldStore::IsValidName(""));
    EXPECT_FALSE(HandheldStore::IsValidName(std::string("a\0b", 3)));
}

TEST(HandheldStoreTest, SavesLoadsListsAndDeletes) {
    TempDir dir;
    HandheldStore store = HandheldStore::Init(dir.path(), "Alice");
    store.Save(MakeDb("routeB", 2));
    store.Save(MakeDb("routeA/x", 3));
    store.Save(MakeDb("Routea", 1));  // names are case-sensitive

    std::vector<DatabaseInfo> list = store.List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name, "Routea");
    EXPECT_EQ(list[1].name, "routeA/x");
    EXPECT_EQ(list[2].name, "routeB");
    EXPECT_EQ(list[1].recordCount, 3u);
    EXPECT_EQ(list[1].creator, FourCC("TLWX"));
    EXPECT_EQ(list[1].type, FourCC("DATA"));
    EXPECT_TRUE(list[1].error.empty());

    PdbDatabase db = store.Load("routeA/x");
    EXPECT_EQ(db.header.name, "routeA/x");
    ASSERT_EQ(db.records.size(), 3u);
    EXPECT_EQ(db.records[2].data, Bytes("r2"));

    EXPECT_TRUE(fs::exists(dir / "routeA%2Fx.pdb"));
    EXPECT_TRUE(store.Delete("routeA/x"));
    EXPECT_FALSE(store.Delete("routeA/x"));
    EXPECT_FALSE(store.Find("routeA/x").has_value());
    try {
        store.Load("routeA/x");
        FAIL() << "loaded a deleted database";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), StoreError::Kind::NotFound);
    }
    // No temporary files stay behind.
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"Routea.pdb", "handheld.lock",
                                                             "handheld.txt", "routeB.pdb"}));
}

TEST(HandheldStoreTest, CreateRefusesAnExistingDatabase) {
    TempDir dir;
    HandheldStore store = HandheldStore::Init(dir.path(), "");
    store.Create(MakeDb("x", 1));
    try {
        store.Create(MakeDb("x", 0));
        FAIL();
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), StoreError::Kind::Exists);
    }
    EXPECT_EQ(store.Load("x").records.size(), 1u);
}

TEST(HandheldStoreTest, DamagedFilesAreReportedNotFatal) {
    TempDir dir;
    HandheldStore store = HandheldStore::Init(dir.path(), "");
    store.Save(MakeDb("good", 1));
    WriteFile(dir / "bad.pdb", "not a palm database");
    std::vector<DatabaseInfo> list = store.List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "bad");
    EXPECT_FALSE(list[0].error.empty());
    EXPECT_TRUE(list[1].error.empty());
    try {
        store.Load("bad");
        FAIL();
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), StoreError::Kind::Damaged);
    }
}

// A FIFO held every reader (and a sync with the handheld's lock) for ever; a
// device like /dev/zero never ended. Each is refused unread.
TEST(HandheldStoreTest, FilesThatAreNotRegularAreRefusedUnread) {
    for (const auto& kind : wexal::testing::NotRegularFiles()) {
        SCOPED_TRACE(kind.kind);
        TempDir dir;
        HandheldStore store = HandheldStore::Init(dir / "hh", "Alice");
        if (!kind.make(dir / "hh" / "routeDB.pdb")) {
            std::cout << "cannot make a " << kind.kind << " here: not tried\n";
            continue;
        }
        const auto refused = [](const auto& call) {
            try {
                call();
            } catch (const StoreError& e) {
                EXPECT_EQ(e.kind(), StoreError::Kind::NotRegularFile) << e.what();
                EXPECT_NE(std::string(e.what()).find("not a regular file"), std::string::npos);
                return;
            }
            ADD_FAILURE() << "not refused";
        };
        refused([&] { store.Load("routeDB"); });
        refused([&] { store.Find("routeDB"); });
        EXPECT_TRUE(store.List().empty());

        ASSERT_EQ(SyncOpenSession((dir / "hh").c_str()), kSyncErrNone);
        std::uint8_t handle = 0;
        EXPECT_EQ(SyncOpenDB("routeDB", 0, &handle, kSyncModeRead), kSyncErrNotRegularFile);
        EXPECT_EQ(SyncCloseSession(), kSyncErrNone);

        fs::remove(dir / "hh" / "handheld.txt");
        ASSERT_TRUE(kind.make(dir / "hh" / "handheld.txt"));
        refused([&] { store.ReadInfo(); });
        ASSERT_EQ(SyncOpenSession((dir / "hh").c_str()), kSyncErrNone);
        SyncUserId user{};
        EXPECT_EQ(SyncReadUserID(&user), kSyncErrNotRegularFile);
        EXPECT_EQ(SyncCloseSession(), kSyncErrNone);
    }
}

TEST(HandheldStoreTest, UserNameAndClockInTheInfoFile) {
    TempDir dir;
    HandheldStore store = HandheldStore::Init(dir / "hh", "Alice Smith");
    EXPECT_EQ(store.UserName(), "Alice Smith");
    HandheldInfo info = store.ReadInfo();
    EXPECT_NE(info.userId, 0u);
    EXPECT_FALSE(info.clock.isSet);

    store.SetUserName("Bob");
    store.SetClock(1700000000, 1700000100);
    info = store.ReadInfo();
    EXPECT_EQ(info.userName, "Bob");
    EXPECT_TRUE(info.clock.isSet);
    EXPECT_EQ(info.clock.value, 1700000000);
    EXPECT_EQ(info.clock.setAt, 1700000100);
    EXPECT_EQ(info.clock.Now(1700000200), 1700000100);

    std::string text = ReadFile(dir / "hh" / "handheld.txt");
    EXPECT_NE(text.find("user=Bob\n"), std::string::npos) << text;
    EXPECT_NE(text.find("clock=1700000000\n"), std::string::npos) << text;

    // Keys it does not know are kept.
    WriteFile(dir / "hh" / "handheld.txt", text + "future=thing\n");
    store.SetUserName("Carol");
    EXPECT_EQ(store.ReadInfo().extra.at("future"), "thing");

    EXPECT_THROW(store.SetUserName("two\nlines"), StoreError);
    EXPECT_THROW(store.SetUserName(std::string(64, 'x')), StoreError);
    EXPECT_EQ(store.UserName(), "Carol");
}

TEST(HandheldStoreTest, FolderWithoutInfoFileHasDefaults) {
    TempDir dir;
    HandheldStore store = HandheldStore::Open(dir.path());
    EXPECT_EQ(store.UserName(), "");
    EXPECT_FALSE(store.Clock().isSet);
    EXPECT_TRUE(store.List().empty());
}

TEST(HandheldStoreTest, OpenAndInitChecks) {
    TempDir dir;
    EXPECT_THROW(HandheldStore::Open(dir / "missing"), StoreError);
    HandheldStore::Init(dir / "a", "x");
    try {
        HandheldStore::Init(dir / "a", "y");
        FAIL();
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), StoreError::Kind::Exists);
    }
}

TEST(HandheldStoreTest, LockIsExclusiveAcrossDescriptorsAndProcesses) {
    TempDir dir;
    HandheldStore store = HandheldStore::Init(dir.path(), "");
    {
        HandheldLock lock = store.Lock();
        EXPECT_TRUE(lock.held());
        try {
            HandheldLock second = store.Lock();
            FAIL() << "took the lock twice";
        } catch (const StoreError& e) {
            EXPECT_EQ(e.kind(), StoreError::Kind::Busy);
        }
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                HandheldLock other = HandheldLock::Acquire(dir.path());
                _exit(0);
            } catch (const StoreError& e) {
                _exit(e.kind() == StoreError::Kind::Busy ? 3 : 4);
            }
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 3);
    }
    HandheldLock again = store.Lock();  // released with the first one
    EXPECT_TRUE(again.held());
    EXPECT_THROW(HandheldLock::Acquire(dir / "missing"), StoreError);
}

TEST(HandheldStoreTest, RemovesStaleTemporaryFilesOnly) {
    TempDir dir;
    HandheldStore store = HandheldStore::Init(dir.path(), "");
    store.Save(MakeDb("keep", 1));
    WriteFile(dir / ".keep.pdb.AbC123.tmp", "half written");
    WriteFile(dir / "notes.tmp", "not ours");
    store.RemoveStaleTempFiles();
    EXPECT_FALSE(fs::exists(dir / ".keep.pdb.AbC123.tmp"));
    EXPECT_TRUE(fs::exists(dir / "notes.tmp"));
    EXPECT_TRUE(fs::exists(dir / "keep.pdb"));
}

TEST(HandheldStoreTest, SaveReplacesTheFileAtomically) {
    TempDir dir;
    HandheldStore store = HandheldStore::Init(dir.path(), "");
    store.Save(MakeDb("x", 1));
    struct stat before {};
    ASSERT_EQ(stat((dir / "x.pdb").c_str(), &before), 0);
    store.Save(MakeDb("x", 2));
    struct stat after {};
    ASSERT_EQ(stat((dir / "x.pdb").c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "replaced by rename, not rewritten in place";
    EXPECT_EQ(store.Load("x").records.size(), 2u);
}

}  // namespace
}  // namespace wexal::palm
