// Stands in for the sync library's create, open, close and write calls, and
// for rename(2), by which the handheld store saves a database file: the test
// program's definitions take precedence and pass every call on to the
// library's own, found with dlsym(RTLD_NEXT), unless a FailingWrites or a
// FailingSaves says otherwise.
#include "tests/conduit/WriteFaults.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/SyncManager.h"

namespace {

struct Fault {
    std::string name;
    std::uint32_t allowed;
    bool refuseCreate;
    std::uint32_t refused;
    std::optional<std::uint8_t> handle;  // of the database while it is open
    std::uint32_t writes = 0;
};

std::optional<Fault> g_fault;

struct SaveFault {
    std::string fileName;
    std::uint32_t allowed;
    std::uint32_t saves = 0;
};

std::optional<SaveFault> g_saveFault;

template <class Function>
Function Library(const char* symbol) {
    void* found = dlsym(RTLD_NEXT, symbol);
    if (found == nullptr) {
        std::abort();
    }
    return reinterpret_cast<Function>(found);
}

void Watch(const char* name, std::uint8_t handle) {
    if (g_fault && name != nullptr && g_fault->name == name) {
        g_fault->handle = handle;
        g_fault->writes = 0;
    }
}

}  // namespace

namespace wexal::testing {

FailingWrites::FailingWrites(std::string name, std::uint32_t allowed, bool refuseCreate,
                             std::uint32_t refused) {
    g_fault = Fault{std::move(name), allowed, refuseCreate, refused, std::nullopt};
}

FailingWrites::~FailingWrites() {
    g_fault.reset();
}

FailingSaves::FailingSaves(const std::string& name, std::uint32_t allowed) {
    g_saveFault = SaveFault{palm::HandheldStore::FileNameFor(name), allowed};
}

FailingSaves::~FailingSaves() {
    g_saveFault.reset();
}

}  // namespace wexal::testing

extern "C" int32_t SyncCreateDB(SyncCreateDbParams* params) {
    static const auto create = Library<int32_t (*)(SyncCreateDbParams*)>("SyncCreateDB");
    if (g_fault && g_fault->refuseCreate && params != nullptr && g_fault->name == params->name) {
        return kSyncErrIo;
    }
    const int32_t result = create(params);
    if (result == kSyncErrNone) {
        Watch(params->name, params->handle);
    }
    return result;
}

extern "C" int32_t SyncOpenDB(const char* name, int32_t cardNo, uint8_t* handle, uint8_t openMode) {
    static const auto open =
        Library<int32_t (*)(const char*, int32_t, uint8_t*, uint8_t)>("SyncOpenDB");
    const int32_t result = open(name, cardNo, handle, openMode);
    if (result == kSyncErrNone && handle != nullptr) {
        Watch(name, *handle);
    }
    return result;
}

extern "C" int32_t SyncCloseDB(uint8_t handle) {
    static const auto close = Library<int32_t (*)(uint8_t)>("SyncCloseDB");
    if (g_fault && g_fault->handle == handle) {
        g_fault->handle.reset();
    }
    return close(handle);
}

extern "C" int32_t SyncWriteRec(SyncRawRecord* record) {
    static const auto write = Library<int32_t (*)(SyncRawRecord*)>("SyncWriteRec");
    if (g_fault && record != nullptr && g_fault->handle == record->dbHandle) {
        const std::uint32_t write = g_fault->writes++;
        if (write >= g_fault->allowed && write - g_fault->allowed < g_fault->refused) {
            return kSyncErrIo;
        }
    }
    return write(record);
}

// The store writes a temporary file and renames it over the database's file.
extern "C" int rename(const char* from, const char* to) {
    static const auto next = Library<int (*)(const char*, const char*)>("rename");
    if (g_saveFault && to != nullptr &&
        std::filesystem::path(to).filename() == g_saveFault->fileName &&
        g_saveFault->saves++ >= g_saveFault->allowed) {
        errno = ENOSPC;
        return -1;
    }
    return next(from, to);
}
