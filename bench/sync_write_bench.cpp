// Writing N records of 100 bytes through the sync library (SyncWriteRec with
// record id 0) and closing the databases and the session, which writes them
// back to the handheld folder. The cost grows linearly with N.
//
// A Palm database holds at most 65535 records (16-bit record count), so the
// records go into databases of at most 50,000 records each, as a conduit
// spreads meters over route databases: 100,000 records make two databases.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "platform/palm/SyncManager.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kRecordsPerDatabase = 50000;

void WriteRecords(const std::string& dir, int count) {
    if (SyncOpenSession(dir.c_str()) != 0) {
        throw std::runtime_error("SyncOpenSession failed");
    }
    std::vector<uint8_t> data(100);
    int written = 0;
    for (int dbIndex = 0; written < count; ++dbIndex) {
        SyncCreateDbParams create{};
        create.creator = wexal::palm::FourCC("TLWX");
        create.type = wexal::palm::FourCC("DATA");
        std::snprintf(create.name, sizeof create.name, "routeBench%d", dbIndex);
        if (SyncCreateDB(&create) != 0) {
            throw std::runtime_error("SyncCreateDB failed");
        }
        SyncRawRecord rec{};
        rec.dbHandle = create.handle;
        rec.buffer = data.data();
        rec.recSize = static_cast<uint32_t>(data.size());
        for (int i = 0; i < kRecordsPerDatabase && written < count; ++i, ++written) {
            std::memcpy(data.data(), &written, sizeof written);
            rec.recId = 0;
            if (SyncWriteRec(&rec) != 0) {
                throw std::runtime_error("SyncWriteRec failed");
            }
        }
        if (SyncCloseDB(create.handle) != 0) {
            throw std::runtime_error("SyncCloseDB failed");
        }
    }
    if (SyncCloseSession() != 0) {
        throw std::runtime_error("SyncCloseSession failed");
    }
}

void BM_SyncWriteRecords(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto dir = std::make_unique<wexal::testing::TempDir>();
        wexal::palm::HandheldStore::Init(dir->path(), "Bench");
        state.ResumeTiming();

        WriteRecords(dir->path().string(), count);

        state.PauseTiming();
        dir.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetBytesProcessed(state.iterations() * count * 100);
    state.SetComplexityN(count);
}

BENCHMARK(BM_SyncWriteRecords)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
