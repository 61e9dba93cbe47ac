// Killing a sync at any moment never leaves a damaged database: a child
// process syncs in a loop and is killed with SIGKILL at a random moment; every
// database file must then load and hold either the state before or a state
// that a completed close wrote.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "platform/palm/SyncManager.h"
#include "tests/platform/palm/PalmTestUtil.h"
#include "tests/support/TempDir.h"

namespace wexal::palm {
namespace {

namespace fs = std::filesystem;

// "grow": record 0 "gen=G", then kSlots slot records rewritten each
// generation with "slot I gen G", then one record "add g" per generation g.
// "ring": deleted and recreated each generation with kRing records
// "ring G I".
constexpr int kSlots = 300;
constexpr int kRing = 200;

std::string Padded(const std::string& text) {
    std::string out = text;
    out.resize(100, '.');
    return out;
}

std::string SlotText(int slot, long gen) {
    return Padded("slot " + std::to_string(slot) + " gen " + std::to_string(gen));
}
std::string AddText(long gen) {
    return "add " + std::to_string(gen);
}
std::string RingText(long gen, int i) {
    return Padded("ring " + std::to_string(gen) + " " + std::to_string(i));
}

// --- The child's side: only the C API, no test assertions -----------------------

[[noreturn]] void ChildFail(int code) {
    _exit(code);
}

int32_t WriteBytes(uint8_t handle, uint32_t* id, const std::string& bytes) {
    std::string copy = bytes;
    SyncRawRecord r{};
    r.dbHandle = handle;
    r.recId = *id;
    r.recSize = static_cast<uint32_t>(copy.size());
    r.buffer = copy.data();
    int32_t rc = SyncWriteRec(&r);
    *id = r.recId;
    return rc;
}

bool ReadRecord(uint8_t handle, uint16_t index, uint32_t* id, std::string* bytes) {
    char buffer[512];
    SyncRawRecord r{};
    r.dbHandle = handle;
    r.index = index;
    r.bufferSize = sizeof buffer;
    r.buffer = buffer;
    if (SyncReadRecordByIndex(&r) != 0) {
        return false;
    }
    *id = r.recId;
    bytes->assign(buffer, r.recSize);
    return true;
}

uint8_t OpenOrCreate(const char* name) {
    SyncFindDbByNameParams p{0x40, 0, name};
    SyncFindDbResult found{};
    int32_t rc = SyncFindDbByName(&p, &found);
    uint8_t handle = 0;
    if (rc == 0) {
        if (SyncOpenDB(name, 0, &handle, kSyncModeWrite) != 0) {
            ChildFail(20);
        }
        return handle;
    }
    if (rc != kSyncErrNotFound) {
        ChildFail(21);
    }
    SyncCreateDbParams c{};
    c.creator = FourCC("TLWX");
    c.type = FourCC("DATA");
    std::strncpy(c.name, name, sizeof c.name - 1);
    if (SyncCreateDB(&c) != 0) {
        ChildFail(22);
    }
    return c.handle;
}

[[noreturn]] void ChildSyncLoop(const std::string& dir, unsigned seed) {
    std::mt19937 rng(seed);
    if (SyncOpenSession(dir.c_str()) != 0) {
        ChildFail(10);
    }
    // Where the last completed generation left "grow".
    uint8_t grow = OpenOrCreate("grow");
    uint32_t headerId = 0;
    std::string text;
    if (!ReadRecord(grow, 0, &headerId, &text) || text.rfind("gen=", 0) != 0) {
        ChildFail(11);
    }
    long gen = std::stol(text.substr(4));
    std::vector<uint32_t> slotIds(kSlots);
    for (int i = 0; i < kSlots; ++i) {
        if (!ReadRecord(grow, static_cast<uint16_t>(1 + i), &slotIds[i], &text)) {
            ChildFail(12);
        }
    }
    if (SyncCloseDB(grow) != 0) {
        ChildFail(13);
    }

    for (;;) {
        ++gen;
        grow = OpenOrCreate("grow");
        for (int i = 0; i < kSlots; ++i) {
            if (WriteBytes(grow, &slotIds[i], SlotText(i, gen)) != 0) {
                ChildFail(30);
            }
        }
        uint32_t newId = 0;
        if (WriteBytes(grow, &newId, AddText(gen)) != 0) {
            ChildFail(31);
        }
        if (WriteBytes(grow, &headerId, "gen=" + std::to_string(gen)) != 0) {
            ChildFail(32);
        }
        bool leaveOpen = rng() % 4 == 0;  // then the session close writes it back
        if (!leaveOpen && SyncCloseDB(grow) != 0) {
            ChildFail(33);
        }

        int32_t rc = SyncDeleteDB("ring", 0);
        if (rc != 0 && rc != kSyncErrNotFound) {
            ChildFail(40);
        }
        uint8_t ring = OpenOrCreate("ring");
        for (int i = 0; i < kRing; ++i) {
            uint32_t id = 0;
            if (WriteBytes(ring, &id, RingText(gen, i)) != 0) {
                ChildFail(41);
            }
        }
        if (SyncCloseDB(ring) != 0) {
            ChildFail(42);
        }
        if (leaveOpen || rng() % 3 == 0) {
            if (SyncCloseSession() != 0) {
                ChildFail(50);
            }
            if (SyncOpenSession(dir.c_str()) != 0) {
                ChildFail(51);
            }
        }
    }
}

// --- The parent's side -------------------------------------------------------------

// Checks the invariants; returns the generation of "grow".
long CheckStore(const fs::path& dir, long previousGen, int* tempFilesSeen) {
    // Every database file in the folder loads.
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        if (name[0] == '.' && name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) {
            ++*tempFilesSeen;  // killed in the middle of a save
        }
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pdb") == 0) {
            ++files;
            EXPECT_NO_THROW(ReadPdbFile(e.path())) << name;
        }
    }
    EXPECT_GE(files, 1);

    HandheldStore store(dir);
    PdbDatabase grow = store.Load("grow");
    EXPECT_GE(grow.records.size(), 1u + kSlots);
    if (grow.records.size() < 1u + kSlots) {
        return previousGen;
    }
    std::string header(grow.records[0].data.begin(), grow.records[0].data.end());
    EXPECT_EQ(header.rfind("gen=", 0), 0u) << header;
    long gen = std::stol(header.substr(4));
    EXPECT_GE(gen, previousGen) << "an older state came back";
    EXPECT_EQ(grow.records.size(), static_cast<std::size_t>(1 + kSlots + gen));
    for (int i = 0; i < kSlots; ++i) {
        const auto& d = grow.records[1 + i].data;
        EXPECT_EQ(std::string(d.begin(), d.end()), SlotText(i, gen)) << "slot " << i;
    }
    for (long g = 1; g <= gen && static_cast<std::size_t>(kSlots + g) < grow.records.size(); ++g) {
        const auto& d = grow.records[kSlots + g].data;
        EXPECT_EQ(std::string(d.begin(), d.end()), AddText(g));
    }

    // "ring": absent, just created (empty), or one complete generation.
    if (store.Exists("ring")) {
        PdbDatabase ring = store.Load("ring");
        if (!ring.records.empty()) {
            EXPECT_EQ(ring.records.size(), static_cast<std::size_t>(kRing));
            std::string first(ring.records[0].data.begin(), ring.records[0].data.end());
            long ringGen = std::stol(first.substr(5));
            for (std::size_t i = 0; i < ring.records.size(); ++i) {
                const auto& d = ring.records[i].data;
                EXPECT_EQ(std::string(d.begin(), d.end()), RingText(ringGen, static_cast<int>(i)));
            }
        }
    }
    return gen;
}

TEST(SyncCrashTest, KilledSyncNeverDamagesADatabase) {
    wexal::testing::TempDir dir;
    HandheldStore::Init(dir.path(), "Crash");
    {
        // Generation 0, completed.
        ASSERT_EQ(SyncOpenSession(dir.path().c_str()), 0);
        uint8_t h = testing::CreateDb("grow");
        testing::AddRecord(h, "gen=0");
        for (int i = 0; i < kSlots; ++i) {
            testing::AddRecord(h, SlotText(i, 0));
        }
        ASSERT_EQ(SyncCloseDB(h), 0);
        ASSERT_EQ(SyncCloseSession(), 0);
    }

    std::mt19937 rng(std::random_device{}());
    long gen = 0;
    int tempFilesSeen = 0;
    // On a loaded machine a child may not finish a generation in the usual
    // window: every trial without progress doubles it, so kills still come
    // after completed work as well as in the middle of it.
    int trialsWithoutProgress = 0;
    const int kTrials = 30;
    for (int trial = 0; trial < kTrials; ++trial) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ChildSyncLoop(dir.path().string(), static_cast<unsigned>(trial));
        }
        const long window = 80000L << std::min(trialsWithoutProgress, 7);
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % window));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "the child stopped by itself with code " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), SIGKILL);

        const long before = gen;
        gen = CheckStore(dir.path(), gen, &tempFilesSeen);
        trialsWithoutProgress = gen > before ? 0 : trialsWithoutProgress + 1;
        if (::testing::Test::HasFailure()) {
            FAIL() << "after trial " << trial;
        }
    }
    EXPECT_GT(gen, 0) << "the child never completed a generation";
    std::printf("completed generations: %ld; kills during a save: %d\n", gen, tempFilesSeen);

    // The lock died with the child: a new session opens and cleans up.
    ASSERT_EQ(SyncOpenSession(dir.path().c_str()), 0);
    for (const auto& e : fs::directory_iterator(dir.path())) {
        std::string name = e.path().filename().string();
        EXPECT_FALSE(name[0] == '.' && name.size() > 4 &&
                     name.compare(name.size() - 4, 4, ".tmp") == 0)
            << "temporary file left: " << name;
    }
    ASSERT_EQ(SyncCloseSession(), 0);
}

}  // namespace
}  // namespace wexal::palm
