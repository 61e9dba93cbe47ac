#include "platform/palm/SyncManager.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "tests/platform/palm/PalmTestUtil.h"
#include "tests/support/TempDir.h"

namespace wexal::palm {
namespace {

namespace fs = std::filesystem;
using namespace wexal::palm::testing;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;

class SyncManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store_ = std::make_unique<HandheldStore>(HandheldStore::Init(dir_.path(), "Alice"));
        ASSERT_EQ(SyncOpenSession(dir_.path().c_str()), 0);
    }
    void TearDown() override { SyncCloseSession(); }

    void Reopen() {
        ASSERT_EQ(SyncCloseSession(), 0);
        ASSERT_EQ(SyncOpenSession(dir_.path().c_str()), 0);
    }

    uint8_t Open(const std::string& name, uint8_t mode = kSyncModeWrite) {
        uint8_t handle = 0;
        EXPECT_EQ(SyncOpenDB(name.c_str(), 0, &handle, mode), 0) << name;
        return handle;
    }

    int32_t Find(const std::string& name, SyncFindDbResult* result) {
        SyncFindDbByNameParams p{};
        p.optFlags = 0x40;
        p.cardNo = 0;
        p.name = name.c_str();
        return SyncFindDbByName(&p, result);
    }

    int32_t Write(uint8_t handle, uint32_t* id, const std::string& bytes, uint8_t attributes = 0) {
        std::string copy = bytes;
        SyncRawRecord r{};
        r.dbHandle = handle;
        r.recId = *id;
        r.attributes = attributes;
        r.recSize = static_cast<uint32_t>(copy.size());
        r.buffer = copy.data();
        int32_t rc = SyncWriteRec(&r);
        *id = r.recId;
        return rc;
    }

    int32_t DeleteRec(uint8_t handle, uint32_t id) {
        SyncRawRecord r{};
        r.dbHandle = handle;
        r.recId = id;
        return SyncDeleteRec(&r);
    }

    TempDir dir_;
    std::unique_ptr<HandheldStore> store_;
};

TEST(SyncManagerNoSessionTest, EveryCallNeedsASession) {
    SyncFindDbByNameParams find{0x40, 0, "x"};
    SyncFindDbResult found{};
    uint8_t handle = 0;
    SyncCreateDbParams create{};
    std::strcpy(create.name, "x");
    char buffer[8];
    SyncRawRecord rec{};
    rec.buffer = buffer;
    rec.bufferSize = sizeof buffer;
    SyncUserId user{};
    EXPECT_EQ(SyncCloseSession(), kSyncErrNoSession);
    EXPECT_EQ(SyncFindDbByName(&find, &found), kSyncErrNoSession);
    EXPECT_EQ(SyncOpenDB("x", 0, &handle, kSyncModeWrite), kSyncErrNoSession);
    EXPECT_EQ(SyncCreateDB(&create), kSyncErrNoSession);
    EXPECT_EQ(SyncCloseDB(1), kSyncErrNoSession);
    EXPECT_EQ(SyncDeleteDB("x", 0), kSyncErrNoSession);
    EXPECT_EQ(SyncReadRecordByIndex(&rec), kSyncErrNoSession);
    EXPECT_EQ(SyncWriteRec(&rec), kSyncErrNoSession);
    EXPECT_EQ(SyncDeleteRec(&rec), kSyncErrNoSession);
    EXPECT_EQ(SyncReadUserID(&user), kSyncErrNoSession);
    EXPECT_EQ(SyncWriteSysDateTime(0), kSyncErrNoSession);
    EXPECT_EQ(SyncFindDbByName(nullptr, nullptr), kSyncErrNoSession);
}

TEST(SyncManagerNoSessionTest, OpenSessionChecksTheFolder) {
    TempDir dir;
    EXPECT_EQ(SyncOpenSession((dir / "missing").c_str()), kSyncErrNotFound);
    EXPECT_EQ(SyncOpenSession(nullptr), kSyncErrBadArgument);
    EXPECT_EQ(SyncOpenSession(""), kSyncErrBadArgument);
    // A plain folder without an info file is an empty handheld.
    ASSERT_EQ(SyncOpenSession(dir.path().c_str()), 0);
    EXPECT_EQ(SyncOpenSession(dir.path().c_str()), kSyncErrBusy);
    EXPECT_EQ(SyncCloseSession(), 0);
    EXPECT_EQ(SyncCloseSession(), kSyncErrNoSession);
}

TEST(SyncManagerNoSessionTest, WordsAreBigEndianOnTheHandheld) {
    uint16_t hh = SyncHostToHHWord(0x1234);
    uint8_t bytes[2];
    std::memcpy(bytes, &hh, 2);
    EXPECT_EQ(bytes[0], 0x12);
    EXPECT_EQ(bytes[1], 0x34);
    EXPECT_EQ(SyncHHToHostWord(hh), 0x1234);
    EXPECT_EQ(SyncHHToHostWord(SyncHostToHHWord(0xBEEF)), 0xBEEF);
}

TEST_F(SyncManagerTest, AnotherProcessCannotOpenTheSameHandheld) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child inherited the parent's session state but not its lock
        // (it is the same open file description, so use a fresh store lock).
        try {
            HandheldLock lock = HandheldLock::Acquire(dir_.path());
            _exit(0);
        } catch (const StoreError& e) {
            _exit(e.kind() == StoreError::Kind::Busy ? 3 : 4);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_THROW(HandheldLock::Acquire(dir_.path()), StoreError);
    ASSERT_EQ(SyncCloseSession(), 0);
    EXPECT_NO_THROW(HandheldLock::Acquire(dir_.path()));
    ASSERT_EQ(SyncOpenSession(dir_.path().c_str()), 0);
}

TEST_F(SyncManagerTest, MissingDatabaseIs4003) {
    SyncFindDbResult result{};
    EXPECT_EQ(Find("routeNone", &result), 0x4003);
    uint8_t handle = 0;
    EXPECT_EQ(SyncOpenDB("routeNone", 0, &handle, kSyncModeWrite), 0x4003);
    EXPECT_EQ(SyncDeleteDB("routeNone", 0), 0x4003);
}

TEST_F(SyncManagerTest, ConduitStyleOpenOrCreateWriteAndReadBack) {
    SyncFindDbResult result{};
    ASSERT_EQ(Find("routeDB", &result), kSyncErrNotFound);
    SyncCreateDbParams create{};
    create.creator = FourCC("TLWX");
    create.type = FourCC("DATA");
    std::strcpy(create.name, "routeDB");
    ASSERT_EQ(SyncCreateDB(&create), 0);
    EXPECT_NE(create.handle, 0);
    // The file exists at once, empty.
    EXPECT_EQ(store_->Load("routeDB").records.size(), 0u);

    AddRecord(create.handle, std::string("\x00\x01\x00\x02North\0N\0", 12));
    AddRecord(create.handle, std::string("\x00\x03\x00\x04South\0S\0", 12));
    AddRecord(create.handle, "x");
    ASSERT_EQ(SyncCloseDB(create.handle), 0);

    ASSERT_EQ(Find("routeDB", &result), 0);
    EXPECT_EQ(result.recordCount, 3u);
    EXPECT_EQ(result.creator, FourCC("TLWX"));
    EXPECT_EQ(result.type, FourCC("DATA"));
    EXPECT_EQ(result.version, 0);
    EXPECT_EQ(result.attributes, 0);

    uint8_t handle = Open("routeDB", 0x40);
    ReadResult r = ReadByIndex(handle, 1);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.bytes, std::string("\x00\x03\x00\x04South\0S\0", 12));
    EXPECT_NE(r.id, 0u);
    EXPECT_EQ(ReadByIndex(handle, 3).code, kSyncErrRecordNotFound);
    EXPECT_EQ(SyncCloseDB(handle), 0);
    EXPECT_EQ(SyncCloseDB(handle), kSyncErrBadHandle);

    // Without option 0x40 the record count is not reported.
    SyncFindDbByNameParams p{0, 0, "routeDB"};
    ASSERT_EQ(SyncFindDbByName(&p, &result), 0);
    EXPECT_EQ(result.recordCount, 0u);
}

TEST_F(SyncManagerTest, CreateStoresWhatItIsGiven) {
    SyncCreateDbParams create{};
    create.creator = FourCC("ABCD");
    create.type = FourCC("EFGH");
    create.flags = 0x0008;
    create.version = 7;
    std::strcpy(create.name, "made");
    ASSERT_EQ(SyncCreateDB(&create), 0);
    // Created databases are open for writing.
    EXPECT_NE(AddRecord(create.handle, "r"), 0u);
    ASSERT_EQ(SyncCloseDB(create.handle), 0);
    PdbDatabase db = store_->Load("made");
    EXPECT_EQ(db.header.creator, FourCC("ABCD"));
    EXPECT_EQ(db.header.type, FourCC("EFGH"));
    EXPECT_EQ(db.header.attributes, 0x0008);
    EXPECT_EQ(db.header.version, 7);
    int64_t created = PalmToUnixTime(db.header.creationDate);
    EXPECT_NEAR(static_cast<double>(created), static_cast<double>(time(nullptr)), 60.0);
    EXPECT_EQ(db.records.size(), 1u);
}

TEST_F(SyncManagerTest, CreateRefusesBadNamesAndExistingDatabases) {
    SyncCreateDbParams create{};
    std::memset(create.name, 'n', sizeof create.name);  // 32 characters, no terminator
    EXPECT_EQ(SyncCreateDB(&create), kSyncErrBadArgument);
    create.name[31] = '\0';  // 31 characters: fine
    EXPECT_EQ(SyncCreateDB(&create), 0);
    EXPECT_EQ(SyncCloseDB(create.handle), 0);
    EXPECT_EQ(SyncCreateDB(&create), kSyncErrExists);

    SyncCreateDbParams empty{};
    EXPECT_EQ(SyncCreateDB(&empty), kSyncErrBadArgument);
    SyncCreateDbParams card{};
    std::strcpy(card.name, "x");
    card.cardNo = 1;
    EXPECT_EQ(SyncCreateDB(&card), kSyncErrBadArgument);
    EXPECT_EQ(SyncCreateDB(nullptr), kSyncErrBadArgument);

    std::string longName(32, 'n');
    SyncFindDbResult result{};
    EXPECT_EQ(Find(longName, &result), kSyncErrBadArgument);
}

TEST_F(SyncManagerTest, WriteWithIdZeroAddsAndWithAnIdReplaces) {
    uint8_t h = CreateDb("db");
    uint32_t a = 0;
    ASSERT_EQ(Write(h, &a, "first"), 0);
    uint32_t b = 0;
    ASSERT_EQ(Write(h, &b, "second"), 0);
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 0u);
    EXPECT_NE(a, b);

    uint32_t replace = a;
    ASSERT_EQ(Write(h, &replace, "FIRST, longer now"), 0);
    EXPECT_EQ(replace, a);
    SyncFindDbResult result{};
    ASSERT_EQ(Find("db", &result), 0);
    EXPECT_EQ(result.recordCount, 2u);
    EXPECT_EQ(ReadByIndex(h, 0).bytes, "FIRST, longer now");
    EXPECT_EQ(ReadByIndex(h, 0).id, a);
    EXPECT_EQ(ReadByIndex(h, 1).bytes, "second");

    uint32_t missing = 0xFFFF;
    EXPECT_EQ(Write(h, &missing, "x"), kSyncErrRecordNotFound);
    missing = 0x1000000;
    EXPECT_EQ(Write(h, &missing, "x"), kSyncErrRecordNotFound);
    ASSERT_EQ(SyncCloseDB(h), 0);
    EXPECT_EQ(store_->Load("db").records[0].data, Bytes("FIRST, longer now"));
}

TEST_F(SyncManagerTest, CategoryAndAttributes) {
    uint8_t h = CreateDb("db");
    uint32_t id = AddRecord(h, "x", 5);
    ReadResult r = ReadByIndex(h, 0);
    EXPECT_EQ(r.attributes & kSyncRecAttrCategoryMask, 5);
    uint32_t same = id;
    ASSERT_EQ(Write(h, &same, "y", kSyncRecAttrDirty | kSyncRecAttrDeleted), 0);
    EXPECT_EQ(ReadByIndex(h, 0).attributes, kSyncRecAttrDirty);  // category 0, no delete bit

    std::string data = "z";
    SyncRawRecord bad{};
    bad.dbHandle = h;
    bad.category = 16;
    bad.buffer = data.data();
    bad.recSize = 1;
    EXPECT_EQ(SyncWriteRec(&bad), kSyncErrBadArgument);
    EXPECT_EQ(SyncCloseDB(h), 0);
}

TEST_F(SyncManagerTest, ReadByIndexCopiesAtMostTheBufferSize) {
    uint8_t h = CreateDb("db");
    uint32_t id = AddRecord(h, "0123456789");
    ReadResult r = ReadByIndex(h, 0, 4);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.bytes, "0123");
    EXPECT_EQ(r.id, id);
    r = ReadByIndex(h, 0, 10);
    EXPECT_EQ(r.bytes, "0123456789");
    r = ReadByIndex(h, 0, 0);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.bytes, "");

    SyncRawRecord nullBuffer{};
    nullBuffer.dbHandle = h;
    nullBuffer.bufferSize = 512;
    EXPECT_EQ(SyncReadRecordByIndex(&nullBuffer), kSyncErrBadArgument);
    EXPECT_EQ(SyncCloseDB(h), 0);
}

TEST_F(SyncManagerTest, UniqueIdsStayUniqueAfterDeletesAndReopen) {
    std::set<uint32_t> issued;
    auto add = [&](uint8_t h) {
        uint32_t id = AddRecord(h, "r");
        EXPECT_NE(id, 0u);
        EXPECT_LE(id, 0xFFFFFFu);
        EXPECT_TRUE(issued.insert(id).second) << "id " << id << " handed out twice";
        return id;
    };
    uint8_t h = CreateDb("ids");
    std::vector<uint32_t> ids;
    for (int i = 0; i < 10; ++i) {
        ids.push_back(add(h));
    }
    // Delete the newest ones (highest ids) and one in the middle.
    EXPECT_EQ(DeleteRec(h, ids[9]), 0);
    EXPECT_EQ(DeleteRec(h, ids[8]), 0);
    EXPECT_EQ(DeleteRec(h, ids[3]), 0);
    EXPECT_EQ(DeleteRec(h, ids[3]), kSyncErrRecordNotFound);
    EXPECT_EQ(DeleteRec(h, 0), kSyncErrRecordNotFound);
    for (int i = 0; i < 5; ++i) {
        add(h);
    }
    ASSERT_EQ(SyncCloseDB(h), 0);

    Reopen();
    h = Open("ids");
    for (int i = 0; i < 5; ++i) {
        add(h);
    }
    // Replacing by a surviving id still works after reopen.
    uint32_t keep = ids[0];
    EXPECT_EQ(Write(h, &keep, "changed"), 0);
    ASSERT_EQ(SyncCloseDB(h), 0);

    PdbDatabase db = store_->Load("ids");
    EXPECT_EQ(db.records.size(), 10u - 3u + 5u + 5u);
    std::set<uint32_t> inFile;
    for (const auto& r : db.records) {
        EXPECT_TRUE(inFile.insert(r.uniqueId).second);
        EXPECT_NE(r.uniqueId, 0u);
    }
    EXPECT_EQ(db.records[0].data, Bytes("changed"));
}

TEST_F(SyncManagerTest, NewIdsAvoidIdsAlreadyInAForeignFile) {
    // A file whose seed lags behind its records' ids (as another tool may write).
    PdbDatabase db;
    db.header.name = "foreign";
    db.header.uniqueIdSeed = 0;
    db.records.push_back({0, 1, Bytes("a")});
    db.records.push_back({0, 2, Bytes("b")});
    db.records.push_back({0, 0xFFFFFF, Bytes("c")});
    store_->Save(db);
    uint8_t h = Open("foreign");
    uint32_t id = AddRecord(h, "d");
    EXPECT_EQ(id, 3u);
    ASSERT_EQ(SyncCloseDB(h), 0);
}

TEST_F(SyncManagerTest, RecordsOfAFileWithoutIdsOfTheirOwnCanStillBeAddressed) {
    // Ids 0 and one id twice, as a hand-made file may have them.
    PdbDatabase db;
    db.header.name = "shared";
    db.header.uniqueIdSeed = 0;
    for (const auto& [id, text] :
         std::vector<std::pair<uint32_t, std::string>>{{0, "a"}, {7, "b"}, {7, "c"}, {0, "d"}}) {
        db.records.push_back({0, id, Bytes(text)});
    }
    store_->Save(db);
    const auto idsAtOpen = [&] {
        const uint8_t h = Open("shared", kSyncModeRead);
        std::vector<uint32_t> ids;
        for (uint16_t i = 0; i < 4; ++i) {
            ids.push_back(ReadByIndex(h, i).id);
        }
        EXPECT_EQ(SyncCloseDB(h), 0);
        return ids;
    };
    const std::vector<uint32_t> ids = idsAtOpen();
    EXPECT_EQ(ids[1], 7u);
    EXPECT_EQ(std::set<uint32_t>(ids.begin(), ids.end()).size(), 4u);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 0u), 0);
    // Only a change is saved; until then every load gives the same ids.
    Reopen();
    EXPECT_EQ(idsAtOpen(), ids);
    EXPECT_EQ(store_->Load("shared").records[0].uniqueId, 0u);

    const uint8_t h = Open("shared");
    uint32_t id = ids[2];
    ASSERT_EQ(Write(h, &id, "C"), 0);
    id = ids[0];
    ASSERT_EQ(Write(h, &id, "A"), 0);
    ASSERT_EQ(DeleteRec(h, ids[3]), 0);
    ASSERT_EQ(SyncCloseDB(h), 0);
    const PdbDatabase saved = store_->Load("shared");
    ASSERT_EQ(saved.records.size(), 3u);
    EXPECT_EQ(saved.records[0].data, Bytes("A"));
    EXPECT_EQ(saved.records[1].data, Bytes("b"));
    EXPECT_EQ(saved.records[2].data, Bytes("C"));
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(saved.records[i].uniqueId, ids[i]);
    }
}

TEST_F(SyncManagerTest, DeleteRecordAndReadOrder) {
    uint8_t h = CreateDb("db");
    uint32_t a = AddRecord(h, "a");
    AddRecord(h, "b");
    AddRecord(h, "c");
    ASSERT_EQ(DeleteRec(h, a), 0);
    EXPECT_EQ(ReadByIndex(h, 0).bytes, "b");
    EXPECT_EQ(ReadByIndex(h, 1).bytes, "c");
    EXPECT_EQ(ReadByIndex(h, 2).code, kSyncErrRecordNotFound);
    // The index still finds records that moved.
    uint32_t c = ReadByIndex(h, 1).id;
    EXPECT_EQ(Write(h, &c, "C"), 0);
    EXPECT_EQ(ReadByIndex(h, 1).bytes, "C");
    ASSERT_EQ(SyncCloseDB(h), 0);
    EXPECT_EQ(store_->Load("db").records.size(), 2u);
}

TEST_F(SyncManagerTest, DeleteDatabase) {
    uint8_t h = CreateDb("routeX");
    EXPECT_EQ(SyncDeleteDB("routeX", 0), kSyncErrDatabaseOpen);
    ASSERT_EQ(SyncCloseDB(h), 0);
    EXPECT_EQ(SyncDeleteDB("routeX", 0), 0);
    EXPECT_FALSE(fs::exists(dir_ / "routeX.pdb"));
    SyncFindDbResult result{};
    EXPECT_EQ(Find("routeX", &result), kSyncErrNotFound);
    EXPECT_EQ(SyncDeleteDB("routeX", 0), kSyncErrNotFound);
    EXPECT_EQ(SyncDeleteDB(nullptr, 0), kSyncErrBadArgument);
    EXPECT_EQ(SyncDeleteDB("routeX", 1), kSyncErrBadArgument);
    // Delete and recreate, as the downloads do for every route.
    h = CreateDb("routeX");
    AddRecord(h, "new");
    ASSERT_EQ(SyncCloseDB(h), 0);
    EXPECT_EQ(store_->Load("routeX").records.size(), 1u);
}

TEST_F(SyncManagerTest, DamagedFileGivesDamagedNotACrash) {
    WriteFile(dir_ / "broken.pdb", "this is not a database");
    // A header that promises more records than the file holds.
    uint8_t h = CreateDb("cut");
    AddRecord(h, std::string(100, 'x'));
    AddRecord(h, std::string(100, 'y'));
    ASSERT_EQ(SyncCloseDB(h), 0);
    std::string bytes = wexal::testing::ReadFile(dir_ / "cut.pdb");
    WriteFile(dir_ / "cut.pdb", bytes.substr(0, 85));

    for (const char* name : {"broken", "cut"}) {
        SyncFindDbResult result{};
        EXPECT_EQ(Find(name, &result), kSyncErrDamaged) << name;
        uint8_t handle = 0;
        EXPECT_EQ(SyncOpenDB(name, 0, &handle, kSyncModeWrite), kSyncErrDamaged) << name;
    }
    // The record offsets point past the end.
    bytes[78] = '\x7F';
    WriteFile(dir_ / "cut.pdb", bytes);
    uint8_t handle = 0;
    EXPECT_EQ(SyncOpenDB("cut", 0, &handle, kSyncModeWrite), kSyncErrDamaged);
    // The damaged file can be deleted and recreated.
    EXPECT_EQ(SyncDeleteDB("cut", 0), 0);
}

// An application installed on the handheld is found and can be deleted, but
// has no records to open; the store lists it and gives it back whole.
TEST_F(SyncManagerTest, ApplicationsAreListedButNotOpenedAsRecordDatabases) {
    PdbDatabase app;
    app.header.name = "Wexal";
    app.header.attributes = kPdbAttrResource;
    app.header.type = FourCC("appl");
    app.header.creator = FourCC("TLWX");
    app.resources.push_back({FourCC("tSTR"), 1000, Bytes("stand-in")});
    store_->Save(app);

    std::vector<DatabaseInfo> listed = store_->List();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(listed[0].error.empty()) << listed[0].error;
    EXPECT_EQ(FourCCToString(listed[0].type), "appl");
    EXPECT_EQ(listed[0].recordCount, 1u);
    EXPECT_EQ(store_->Load("Wexal").resources[0].data, Bytes("stand-in"));

    SyncFindDbResult result{};
    ASSERT_EQ(Find("Wexal", &result), 0);
    EXPECT_EQ(result.attributes & kPdbAttrResource, kPdbAttrResource);
    uint8_t handle = 0;
    EXPECT_EQ(SyncOpenDB("Wexal", 0, &handle, kSyncModeRead), kSyncErrResourceDb);
    EXPECT_EQ(SyncOpenDB("Wexal", 0, &handle, kSyncModeWrite), kSyncErrResourceDb);
    EXPECT_EQ(SyncDeleteDB("Wexal", 0), 0);
}

TEST_F(SyncManagerTest, UnchangedDatabaseIsNotRewritten) {
    uint8_t h = CreateDb("same");
    AddRecord(h, "a");
    AddRecord(h, "b");
    ASSERT_EQ(SyncCloseDB(h), 0);
    // Dated an hour back: a rewrite, however soon, would date it now.
    const fs::path file = dir_ / "same.pdb";
    fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(1));
    struct stat before {};
    ASSERT_EQ(stat(file.c_str(), &before), 0);

    h = Open("same", kSyncModeReadWrite);
    EXPECT_EQ(ReadByIndex(h, 0).bytes, "a");
    EXPECT_EQ(ReadByIndex(h, 1).bytes, "b");
    ASSERT_EQ(SyncCloseDB(h), 0);
    h = Open("same", kSyncModeWrite);  // left open: the session close writes it back if changed
    Reopen();

    struct stat after {};
    ASSERT_EQ(stat((dir_ / "same.pdb").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);

    // A change is written back, with a new modification number.
    h = Open("same");
    AddRecord(h, "c");
    ASSERT_EQ(SyncCloseDB(h), 0);
    ASSERT_EQ(stat((dir_ / "same.pdb").c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(store_->Load("same").header.modificationNumber, 2u);
}

TEST_F(SyncManagerTest, CloseSessionWritesBackOpenDatabases) {
    uint8_t h = CreateDb("left");
    AddRecord(h, "kept");
    ASSERT_EQ(SyncCloseSession(), 0);
    PdbDatabase db = store_->Load("left");
    ASSERT_EQ(db.records.size(), 1u);
    EXPECT_EQ(db.records[0].data, Bytes("kept"));
    ASSERT_EQ(SyncOpenSession(dir_.path().c_str()), 0);
    EXPECT_EQ(SyncCloseDB(h), kSyncErrBadHandle);  // handles end with the session
}

TEST_F(SyncManagerTest, ReadOnlyHandleRefusesWrites) {
    uint8_t h = CreateDb("ro");
    AddRecord(h, "a");
    ASSERT_EQ(SyncCloseDB(h), 0);
    h = Open("ro", kSyncModeRead);
    uint32_t id = 0;
    EXPECT_EQ(Write(h, &id, "x"), kSyncErrReadOnly);
    EXPECT_EQ(DeleteRec(h, ReadByIndex(h, 0).id), kSyncErrReadOnly);
    EXPECT_EQ(ReadByIndex(h, 0).bytes, "a");
    ASSERT_EQ(SyncCloseDB(h), 0);
}

TEST_F(SyncManagerTest, TwoHandlesShareOneDatabase) {
    uint8_t a = CreateDb("shared");
    uint8_t b = Open("shared");
    EXPECT_NE(a, b);
    AddRecord(a, "from a");
    EXPECT_EQ(ReadByIndex(b, 0).bytes, "from a");
    EXPECT_EQ(SyncDeleteDB("shared", 0), kSyncErrDatabaseOpen);
    ASSERT_EQ(SyncCloseDB(a), 0);
    EXPECT_EQ(SyncDeleteDB("shared", 0), kSyncErrDatabaseOpen);
    AddRecord(b, "from b");
    ASSERT_EQ(SyncCloseDB(b), 0);
    EXPECT_EQ(store_->Load("shared").records.size(), 2u);
}

TEST_F(SyncManagerTest, HandlesRunOut) {
    uint8_t first = CreateDb("many");
    std::vector<uint8_t> handles{first};
    uint8_t h = 0;
    int32_t rc = 0;
    while ((rc = SyncOpenDB("many", 0, &h, kSyncModeRead)) == 0) {
        handles.push_back(h);
        ASSERT_LT(handles.size(), 1000u);
    }
    EXPECT_EQ(rc, kSyncErrTooManyOpen);
    EXPECT_GE(handles.size(), 8u);
    for (uint8_t x : handles) {
        EXPECT_EQ(SyncCloseDB(x), 0);
    }
    EXPECT_EQ(SyncCloseDB(0), kSyncErrBadHandle);
    EXPECT_EQ(SyncCloseDB(255), kSyncErrBadHandle);
}

TEST_F(SyncManagerTest, NullPointersAreBadArguments) {
    uint8_t h = CreateDb("db");
    SyncFindDbResult result{};
    SyncFindDbByNameParams p{0x40, 0, nullptr};
    EXPECT_EQ(SyncFindDbByName(nullptr, &result), kSyncErrBadArgument);
    EXPECT_EQ(SyncFindDbByName(&p, &result), kSyncErrBadArgument);
    p.name = "db";
    EXPECT_EQ(SyncFindDbByName(&p, nullptr), kSyncErrBadArgument);
    p.cardNo = 1;
    EXPECT_EQ(SyncFindDbByName(&p, &result), kSyncErrBadArgument);
    uint8_t handle = 0;
    EXPECT_EQ(SyncOpenDB(nullptr, 0, &handle, kSyncModeWrite), kSyncErrBadArgument);
    EXPECT_EQ(SyncOpenDB("db", 0, nullptr, kSyncModeWrite), kSyncErrBadArgument);
    EXPECT_EQ(SyncOpenDB("db", 1, &handle, kSyncModeWrite), kSyncErrBadArgument);
    EXPECT_EQ(SyncReadRecordByIndex(nullptr), kSyncErrBadArgument);
    EXPECT_EQ(SyncWriteRec(nullptr), kSyncErrBadArgument);
    EXPECT_EQ(SyncDeleteRec(nullptr), kSyncErrBadArgument);
    EXPECT_EQ(SyncReadUserID(nullptr), kSyncErrBadArgument);
    SyncRawRecord r{};
    r.dbHandle = h;
    r.recSize = 10;  // but no buffer
    EXPECT_EQ(SyncWriteRec(&r), kSyncErrBadArgument);
    r.dbHandle = 99;
    EXPECT_EQ(SyncWriteRec(&r), kSyncErrBadHandle);
    EXPECT_EQ(SyncReadRecordByIndex(&r), kSyncErrBadHandle);
    EXPECT_EQ(SyncDeleteRec(&r), kSyncErrBadHandle);
    EXPECT_EQ(SyncCloseDB(h), 0);
}

TEST_F(SyncManagerTest, RecordAndDatabaseLimits) {
    uint8_t h = CreateDb("big");
    std::vector<char> huge(0x10000, 'x');
    SyncRawRecord r{};
    r.dbHandle = h;
    r.buffer = huge.data();
    r.recSize = 0x10000;
    EXPECT_EQ(SyncWriteRec(&r), kSyncErrTooLarge);
    r.recSize = 0xFFFF;
    EXPECT_EQ(SyncWriteRec(&r), 0);
    EXPECT_EQ(ReadByIndex(h, 0).bytes.size(), 512u);
    ASSERT_EQ(SyncCloseDB(h), 0);

    h = CreateDb("full");
    char byte = 'r';
    SyncRawRecord small{};
    small.dbHandle = h;
    small.buffer = &byte;
    small.recSize = 1;
    for (int i = 0; i < 65535; ++i) {
        small.recId = 0;
        ASSERT_EQ(SyncWriteRec(&small), 0) << i;
    }
    small.recId = 0;
    EXPECT_EQ(SyncWriteRec(&small), kSyncErrDatabaseFull);
    ASSERT_EQ(SyncCloseDB(h), 0);
    SyncFindDbResult result{};
    ASSERT_EQ(Find("full", &result), 0);
    EXPECT_EQ(result.recordCount, 65535u);
}

TEST_F(SyncManagerTest, NamesAreCaseSensitiveAndEscaped) {
    uint8_t a = CreateDb("route A/B");
    uint8_t b = CreateDb("route a/b");
    uint8_t c = CreateDb(".dot%");
    AddRecord(a, "upper");
    AddRecord(b, "lower");
    ASSERT_EQ(SyncCloseDB(a), 0);
    ASSERT_EQ(SyncCloseDB(b), 0);
    ASSERT_EQ(SyncCloseDB(c), 0);
    EXPECT_TRUE(fs::exists(dir_ / "route A%2FB.pdb"));
    EXPECT_TRUE(fs::exists(dir_ / "route a%2Fb.pdb"));
    EXPECT_TRUE(fs::exists(dir_ / "%2Edot%25.pdb"));
    EXPECT_EQ(store_->Load("route A/B").records[0].data, Bytes("upper"));
    EXPECT_EQ(store_->Load("route a/b").records[0].data, Bytes("lower"));
    EXPECT_EQ(store_->List().size(), 3u);
    // The name inside the file is the database name.
    EXPECT_EQ(ReadPdbFileHeader(dir_ / "route A%2FB.pdb").name, "route A/B");
}

TEST_F(SyncManagerTest, UserIdComesFromTheStore) {
    SyncUserId user{};
    std::memset(&user, 0x55, sizeof user);
    ASSERT_EQ(SyncReadUserID(&user), 0);
    EXPECT_STREQ(user.userName, "Alice");
    EXPECT_EQ(user.userNameLength, 6u);
    EXPECT_EQ(user.userId, store_->ReadInfo().userId);
    store_->SetUserName("Bob Jones");
    ASSERT_EQ(SyncReadUserID(&user), 0);
    EXPECT_STREQ(user.userName, "Bob Jones");
}

TEST_F(SyncManagerTest, WriteSysDateTimeSetsTheClock) {
    ASSERT_EQ(SyncWriteSysDateTime(1700000000u), 0);
    HandheldClock clock = store_->Clock();
    EXPECT_TRUE(clock.isSet);
    EXPECT_EQ(clock.value, 1700000000);
    EXPECT_NEAR(static_cast<double>(clock.setAt), static_cast<double>(time(nullptr)), 60.0);
    EXPECT_EQ(store_->UserName(), "Alice");  // the rest of the info file is kept
}

TEST_F(SyncManagerTest, StaleTemporaryFilesAreRemovedAtSessionOpen) {
    WriteFile(dir_ / ".routeDB.pdb.XyZ123.tmp", "left by a killed sync");
    Reopen();
    EXPECT_FALSE(fs::exists(dir_ / ".routeDB.pdb.XyZ123.tmp"));
}

}  // namespace
}  // namespace wexal::palm
