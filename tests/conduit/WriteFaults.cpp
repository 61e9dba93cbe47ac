// Stands in for the sync library's create, open, close and write calls, for
// rename(2), by which the handheld store saves a database file, for
// renameat2(2) and link(2), by which route files move, and for fsync(2), by
// which every file is flushed: the test
// program's definitions take precedence and pass every call on to the
// library's own, found with dlsym(RTLD_NEXT), unless a FailingWrites, a
// FailingSaves, a KillAtWrite, a RefusedMoves or a WithoutRenameNoReplace
// says otherwise.
#include "tests/conduit/WriteFaults.h"

#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

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

struct Kill {
    std::string name;
    std::function<bool(const std::string&)> matches;
    std::optional<std::uint8_t> handle;  // of the database while it is open
};

std::optional<Kill> g_kill;

std::mutex g_flushFaultLock;
std::function<bool(const std::string&)> g_flushFault;

std::function<bool(const std::string&)> g_moveFault;

// A WithoutRenameNoReplace's path and action, while there is one.
std::optional<std::pair<std::string, std::function<void()>>> g_withoutNoReplace;

int AfterMoving(const char* from, int result) {
    if (result == 0 && from != nullptr && g_withoutNoReplace && g_withoutNoReplace->first == from) {
        g_withoutNoReplace->second();
    }
    return result;
}

bool MoveRefused(const char* from) {
    if (g_moveFault && from != nullptr && g_moveFault(from)) {
        errno = EPERM;
        return true;
    }
    return false;
}

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
    if (g_kill && name != nullptr && g_kill->name == name) {
        g_kill->handle = handle;
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

KillAtWrite::KillAtWrite(std::string name, std::function<bool(const std::string&)> matches) {
    g_kill = Kill{std::move(name), std::move(matches), std::nullopt};
}

KillAtWrite::~KillAtWrite() {
    g_kill.reset();
}

FailingFlushes::FailingFlushes(std::function<bool(const std::string&)> fails) {
    const std::lock_guard<std::mutex> hold(g_flushFaultLock);
    g_flushFault = std::move(fails);
}

FailingFlushes::~FailingFlushes() {
    const std::lock_guard<std::mutex> hold(g_flushFaultLock);
    g_flushFault = nullptr;
}

RefusedMoves::RefusedMoves(std::function<bool(const std::string&)> refused) {
    g_moveFault = std::move(refused);
}

RefusedMoves::~RefusedMoves() {
    g_moveFault = nullptr;
}

WithoutRenameNoReplace::WithoutRenameNoReplace(std::string path, std::function<void()> taken) {
    g_withoutNoReplace.emplace(std::move(path), std::move(taken));
}

WithoutRenameNoReplace::~WithoutRenameNoReplace() {
    g_withoutNoReplace.reset();
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
    if (g_kill && g_kill->handle == handle) {
        g_kill->handle.reset();
    }
    return close(handle);
}

extern "C" int32_t SyncWriteRec(SyncRawRecord* record) {
    static const auto write = Library<int32_t (*)(SyncRawRecord*)>("SyncWriteRec");
    if (g_kill && record != nullptr && g_kill->handle == record->dbHandle &&
        g_kill->matches(std::string(static_cast<const char*>(record->buffer), record->recSize))) {
        ::kill(::getpid(), SIGKILL);
    }
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
    if (MoveRefused(from)) {
        return -1;
    }
    if (g_saveFault && to != nullptr &&
        std::filesystem::path(to).filename() == g_saveFault->fileName &&
        g_saveFault->saves++ >= g_saveFault->allowed) {
        errno = ENOSPC;
        return -1;
    }
    return AfterMoving(from, next(from, to));
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to,
                         unsigned int flags) {
    static const auto next =
        Library<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    if (MoveRefused(from)) {
        return -1;
    }
    if (g_withoutNoReplace && (flags & RENAME_NOREPLACE) != 0) {
        errno = EINVAL;
        return -1;
    }
    return AfterMoving(from, next(fromFolder, from, toFolder, to, flags));
}

extern "C" int link(const char* from, const char* to) {
    static const auto next = Library<int (*)(const char*, const char*)>("link");
    return AfterMoving(from, next(from, to));
}

extern "C" int fsync(int fd) {
    static const auto next = Library<int (*)(int)>("fsync");
    // Called outside the lock: a predicate may wait for another thread's
    // flushes.
    std::function<bool(const std::string&)> fault;
    {
        const std::lock_guard<std::mutex> hold(g_flushFaultLock);
        fault = g_flushFault;
    }
    std::error_code error;
    if (fault &&
        fault(
            std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string())) {
        errno = EIO;
        return -1;
    }
    return next(fd);
}
