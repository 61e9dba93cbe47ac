// The handheld sync library on top of the handheld store: one process-wide
// session, databases held in memory while open and written back atomically
// when closed (only when they changed, or were created in the session: those
// are saved unflushed at their creation). A save flushes the handheld's
// folder unless its handle defers that flush (SyncDeferFolderFlush).
#include "platform/palm/SyncManager.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "platform/palm/RecordTable.h"

namespace {

using wexal::palm::DatabaseInfo;
using wexal::palm::Durability;
using wexal::palm::HandheldLock;
using wexal::palm::HandheldStore;
using wexal::palm::PdbDatabase;
using wexal::palm::RecordTable;
using wexal::palm::StoreError;

constexpr std::size_t kMaxHandles = 32;                        // handles 1..32; 0 is never valid
constexpr uint32_t kMaxRecordSize = 0xFFFF;                    // largest record the store keeps
constexpr uint8_t kWriteKeptFlags = kSyncRecAttrDirty | 0x10;  // dirty, secret

struct OpenDatabase {
    PdbDatabase db;  // the header and info blocks; the records are in `records`
    RecordTable records;
    bool dirty = false;
    // Saved without a flush when created: saved again, flushed, at its close.
    bool unflushed = false;
    int handles = 0;

    // A record of the file without an id of its own (0, or one an earlier
    // record holds) could be neither replaced nor deleted: a write by its id
    // would add a record or change the other one. It gets a new id in
    // memory, saved with the database's next change; an unchanged file gives
    // the same ids at every load.
    void GiveEveryRecordAnId() {
        for (std::size_t i = 0; i < records.Count(); ++i) {
            if (records.Find(records.UniqueId(i)) == i) {
                continue;
            }
            if (std::optional<uint32_t> id = NewUniqueId()) {
                records.SetUniqueId(i, *id);
            }
        }
    }

    // A 24-bit id, never 0, not held by any record; the header's seed moves
    // past it so that later ids are not reused after a delete either.
    std::optional<uint32_t> NewUniqueId() {
        uint32_t id = db.header.uniqueIdSeed & wexal::palm::kPdbMaxUniqueId;
        for (uint32_t tries = 0; tries < wexal::palm::kPdbMaxUniqueId; ++tries) {
            if (id == 0) {
                id = 1;
            }
            if (!records.Find(id)) {
                uint32_t next = id + 1;
                db.header.uniqueIdSeed = next > wexal::palm::kPdbMaxUniqueId ? 1 : next;
                return id;
            }
            id = (id + 1) & wexal::palm::kPdbMaxUniqueId;
        }
        return std::nullopt;
    }
};

struct Handle {
    std::shared_ptr<OpenDatabase> db;
    std::string name;
    bool writable = false;
    bool folderLater = false;  // its save at close leaves the folder unflushed
};

struct Session {
    explicit Session(HandheldStore s) : store(std::move(s)) {}
    HandheldStore store;
    HandheldLock lock;
    std::map<std::string, std::shared_ptr<OpenDatabase>> open;  // by name
    std::array<Handle, kMaxHandles + 1> handles;                // [0] unused
    // Storage kept from database to database: the records of the last one
    // closed, and the image written back.
    std::vector<uint8_t> spareRecords;
    std::vector<uint8_t> image;
    // Renames or removals in the handheld's folder that a power loss could undo.
    bool folderUnflushed = false;
};

std::mutex g_mutex;
std::unique_ptr<Session> g_session;

int32_t CodeFor(const StoreError& e) {
    switch (e.kind()) {
        case StoreError::Kind::NotFound:
            return kSyncErrNotFound;
        case StoreError::Kind::Exists:
            return kSyncErrExists;
        case StoreError::Kind::BadName:
            return kSyncErrBadArgument;
        case StoreError::Kind::Damaged:
            return kSyncErrDamaged;
        case StoreError::Kind::Busy:
            return kSyncErrBusy;
        case StoreError::Kind::Io:
            return kSyncErrIo;
        case StoreError::Kind::NotRegularFile:
            return kSyncErrNotRegularFile;
    }
    return kSyncErrIo;
}

// Runs `body` under the session mutex, turning every exception into a code:
// nothing may escape through the C interface.
template <typename Body>
int32_t Guarded(Body body) {
    try {
        std::lock_guard<std::mutex> guard(g_mutex);
        return body();
    } catch (const StoreError& e) {
        return CodeFor(e);
    } catch (const std::bad_alloc&) {
        return kSyncErrIo;
    } catch (...) {
        return kSyncErrIo;
    }
}

// The handle's entry, or nullptr when it is not open.
Handle* FindHandle(uint8_t handle) {
    if (handle == 0 || handle > kMaxHandles || !g_session->handles[handle].db) {
        return nullptr;
    }
    return &g_session->handles[handle];
}

int FreeHandle() {
    for (std::size_t i = 1; i <= kMaxHandles; ++i) {
        if (!g_session->handles[i].db) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

// A name from a C string: nullopt when null, empty or longer than 31 bytes.
std::optional<std::string> NameArg(const char* name) {
    if (name == nullptr) {
        return std::nullopt;
    }
    std::size_t len = strnlen(name, kSyncMaxDbName + 1);
    if (len == 0 || len > kSyncMaxDbName) {
        return std::nullopt;
    }
    return std::string(name, len);
}

int32_t WriteBack(const std::string& name, OpenDatabase& open, Durability durability) {
    if (!open.dirty && !open.unflushed) {
        return kSyncErrNone;
    }
    open.db.header.name = name;
    if (open.dirty) {
        open.db.header.modificationDate = wexal::palm::UnixToPalmTime(std::time(nullptr));
        open.db.header.modificationNumber += 1;
    }
    std::vector<uint8_t>& image = g_session->image;
    wexal::palm::SerializePdb(
        open.db.header, open.db.appInfo, open.db.sortInfo, open.records.Count(),
        [&open](std::size_t i) { return open.records.View(i); }, image);
    g_session->store.SaveImage(name, image, durability);
    open.dirty = false;
    open.unflushed = false;
    g_session->folderUnflushed = durability != Durability::Lasting;
    return kSyncErrNone;
}

int32_t WriteBackGuarded(const std::string& name, OpenDatabase& open,
                         Durability durability = Durability::Lasting) {
    try {
        return WriteBack(name, open, durability);
    } catch (const StoreError& e) {
        return CodeFor(e) == kSyncErrBadArgument ? kSyncErrIo : CodeFor(e);
    } catch (...) {
        return kSyncErrIo;
    }
}

uint8_t OpenHandle(const std::string& name, std::shared_ptr<OpenDatabase> db, bool writable,
                   int slot) {
    Handle& h = g_session->handles[slot];
    h.db = std::move(db);
    h.name = name;
    h.writable = writable;
    h.db->handles += 1;
    g_session->open[name] = h.db;
    return static_cast<uint8_t>(slot);
}

}  // namespace

extern "C" {

int32_t SyncOpenSession(const char* handheldDir) {
    if (handheldDir == nullptr || *handheldDir == '\0') {
        return kSyncErrBadArgument;
    }
    return Guarded([&]() -> int32_t {
        if (g_session) {
            return kSyncErrBusy;
        }
        auto session = std::make_unique<Session>(HandheldStore::Open(handheldDir));
        session->lock = session->store.Lock();
        session->store.RemoveStaleTempFiles();
        g_session = std::move(session);
        return kSyncErrNone;
    });
}

int32_t SyncCloseSession(void) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        int32_t result = kSyncErrNone;
        for (auto& [name, db] : g_session->open) {
            int32_t rc = WriteBackGuarded(name, *db);
            if (rc != kSyncErrNone && result == kSyncErrNone) {
                result = rc;
            }
        }
        try {
            if (g_session->folderUnflushed) {
                g_session->store.FlushFolder();
            }
        } catch (const StoreError& e) {
            result = result == kSyncErrNone ? CodeFor(e) : result;
        }
        g_session.reset();  // releases the lock
        return result;
    });
}

int32_t SyncFindDbByName(const SyncFindDbByNameParams* params, SyncFindDbResult* result) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        if (params == nullptr || result == nullptr || params->cardNo != 0) {
            return kSyncErrBadArgument;
        }
        std::optional<std::string> name = NameArg(params->name);
        if (!name) {
            return kSyncErrBadArgument;
        }
        SyncFindDbResult out{};
        auto it = g_session->open.find(*name);
        if (it != g_session->open.end()) {
            const auto& h = it->second->db.header;
            out.creator = h.creator;
            out.type = h.type;
            out.attributes = h.attributes;
            out.version = h.version;
            out.recordCount = static_cast<uint32_t>(it->second->records.Count());
        } else {
            std::optional<DatabaseInfo> info = g_session->store.Find(*name);
            if (!info) {
                return kSyncErrNotFound;
            }
            out.creator = info->creator;
            out.type = info->type;
            out.attributes = info->attributes;
            out.version = info->version;
            out.recordCount = info->recordCount;
        }
        if ((params->optFlags & 0x40) == 0) {
            out.recordCount = 0;
        }
        *result = out;
        return kSyncErrNone;
    });
}

int32_t SyncOpenDB(const char* name, int32_t cardNo, uint8_t* handle, uint8_t openMode) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        std::optional<std::string> dbName = NameArg(name);
        if (!dbName || handle == nullptr || cardNo != 0) {
            return kSyncErrBadArgument;
        }
        int slot = FreeHandle();
        if (slot == 0) {
            return kSyncErrTooManyOpen;
        }
        std::shared_ptr<OpenDatabase> db;
        auto it = g_session->open.find(*dbName);
        if (it != g_session->open.end()) {
            db = it->second;  // a second handle shares the database in memory
        } else {
            db = std::make_shared<OpenDatabase>();
            wexal::palm::PdbImage image =
                g_session->store.LoadImage(*dbName, std::move(g_session->spareRecords));
            if (image.layout.header.IsResourceDatabase()) {
                return kSyncErrResourceDb;
            }
            auto block = [&image](const wexal::palm::PdbPlace& place) {
                const auto start = image.bytes.begin() + static_cast<std::ptrdiff_t>(place.offset);
                return std::vector<uint8_t>(start, start + static_cast<std::ptrdiff_t>(place.size));
            };
            db->db.header = image.layout.header;
            db->db.appInfo = block(image.layout.appInfo);
            db->db.sortInfo = block(image.layout.sortInfo);
            db->records = RecordTable(std::move(image));
            db->GiveEveryRecordAnId();
        }
        *handle = OpenHandle(*dbName, std::move(db), (openMode & kSyncModeWrite) != 0, slot);
        return kSyncErrNone;
    });
}

int32_t SyncCreateDB(SyncCreateDbParams* params) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        if (params == nullptr || params->cardNo != 0 ||
            (params->flags & wexal::palm::kPdbAttrResource) != 0) {
            return kSyncErrBadArgument;
        }
        std::size_t len = strnlen(params->name, sizeof params->name);
        if (len == 0 || len > kSyncMaxDbName) {
            return kSyncErrBadArgument;
        }
        std::string name(params->name, len);
        if (g_session->open.count(name) != 0 || g_session->store.Exists(name)) {
            return kSyncErrExists;
        }
        int slot = FreeHandle();
        if (slot == 0) {
            return kSyncErrTooManyOpen;
        }
        auto db = std::make_shared<OpenDatabase>();
        db->records = RecordTable(std::move(g_session->spareRecords));
        auto& h = db->db.header;
        h.name = name;
        h.attributes = params->flags;
        h.version = params->version;
        h.creationDate = wexal::palm::UnixToPalmTime(std::time(nullptr));
        h.modificationDate = h.creationDate;
        h.creator = params->creator;
        h.type = params->type;
        h.uniqueIdSeed = 1;
        // Saved now, so that a full handheld refuses it here, but flushed
        // only with its contents at its close.
        g_session->store.Create(db->db, Durability::Unflushed);
        db->unflushed = true;
        g_session->folderUnflushed = true;
        params->handle = OpenHandle(name, std::move(db), true, slot);
        return kSyncErrNone;
    });
}

int32_t SyncDeferFolderFlush(uint8_t handle) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        Handle* h = FindHandle(handle);
        if (h == nullptr) {
            return kSyncErrBadHandle;
        }
        h->folderLater = true;
        return kSyncErrNone;
    });
}

int32_t SyncFlushHandheld(void) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        if (g_session->folderUnflushed) {
            g_session->store.FlushFolder();
            g_session->folderUnflushed = false;
        }
        return kSyncErrNone;
    });
}

int32_t SyncCloseDB(uint8_t handle) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        Handle* h = FindHandle(handle);
        if (h == nullptr) {
            return kSyncErrBadHandle;
        }
        std::shared_ptr<OpenDatabase> db = std::move(h->db);
        std::string name = std::move(h->name);
        const Durability durability =
            h->folderLater ? Durability::FolderLater : Durability::Lasting;
        *h = Handle{};
        db->handles -= 1;
        int32_t rc = WriteBackGuarded(name, *db, durability);
        if (db->handles == 0) {
            g_session->open.erase(name);
            g_session->spareRecords = db->records.TakeBuffer();
        }
        return rc;
    });
}

int32_t SyncDeleteDB(const char* name, int32_t cardNo) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        std::optional<std::string> dbName = NameArg(name);
        if (!dbName || cardNo != 0) {
            return kSyncErrBadArgument;
        }
        if (g_session->open.count(*dbName) != 0) {
            return kSyncErrDatabaseOpen;
        }
        if (!g_session->store.Delete(*dbName, Durability::FolderLater)) {
            return kSyncErrNotFound;
        }
        g_session->folderUnflushed = true;
        return kSyncErrNone;
    });
}

int32_t SyncReadRecordByIndex(SyncRawRecord* record) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        if (record == nullptr) {
            return kSyncErrBadArgument;
        }
        Handle* h = FindHandle(record->dbHandle);
        if (h == nullptr) {
            return kSyncErrBadHandle;
        }
        if (record->buffer == nullptr && record->bufferSize != 0) {
            return kSyncErrBadArgument;
        }
        const RecordTable& records = h->db->records;
        if (record->index >= records.Count()) {
            return kSyncErrRecordNotFound;
        }
        const std::span<const uint8_t> data = records.Data(record->index);
        std::size_t n = std::min<std::size_t>(data.size(), record->bufferSize);
        if (n != 0) {
            std::memcpy(record->buffer, data.data(), n);
        }
        const uint8_t attributes = records.Attributes(record->index);
        record->recSize = static_cast<uint32_t>(n);
        record->recId = records.UniqueId(record->index);
        record->attributes = attributes;
        record->category = static_cast<int16_t>(attributes & kSyncRecAttrCategoryMask);
        return kSyncErrNone;
    });
}

int32_t SyncWriteRec(SyncRawRecord* record) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        if (record == nullptr) {
            return kSyncErrBadArgument;
        }
        Handle* h = FindHandle(record->dbHandle);
        if (h == nullptr) {
            return kSyncErrBadHandle;
        }
        if (!h->writable) {
            return kSyncErrReadOnly;
        }
        if ((record->buffer == nullptr && record->recSize != 0) || record->category < 0 ||
            record->category > kSyncRecAttrCategoryMask) {
            return kSyncErrBadArgument;
        }
        if (record->recSize > kMaxRecordSize) {
            return kSyncErrTooLarge;
        }
        OpenDatabase& db = *h->db;
        const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(record->buffer),
                                             record->recSize);
        uint8_t attributes = static_cast<uint8_t>((record->attributes & kWriteKeptFlags) |
                                                  static_cast<uint8_t>(record->category));
        if (record->recId == 0) {
            if (db.records.Count() >= wexal::palm::kPdbMaxRecords) {
                return kSyncErrDatabaseFull;
            }
            std::optional<uint32_t> id = db.NewUniqueId();
            if (!id) {
                return kSyncErrDatabaseFull;
            }
            db.records.Append(*id, attributes, bytes);
            record->recId = *id;
        } else {
            const std::optional<std::size_t> index = db.records.Find(record->recId);
            if (!index) {
                return kSyncErrRecordNotFound;
            }
            db.records.Replace(*index, attributes, bytes);
        }
        db.dirty = true;
        return kSyncErrNone;
    });
}

int32_t SyncDeleteRec(SyncRawRecord* record) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        if (record == nullptr) {
            return kSyncErrBadArgument;
        }
        Handle* h = FindHandle(record->dbHandle);
        if (h == nullptr) {
            return kSyncErrBadHandle;
        }
        if (!h->writable) {
            return kSyncErrReadOnly;
        }
        OpenDatabase& db = *h->db;
        const std::optional<std::size_t> index = db.records.Find(record->recId);
        if (!index) {
            return kSyncErrRecordNotFound;
        }
        db.records.Erase(*index);
        db.dirty = true;
        return kSyncErrNone;
    });
}

int32_t SyncReadUserID(SyncUserId* user) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        if (user == nullptr) {
            return kSyncErrBadArgument;
        }
        wexal::palm::HandheldInfo info = g_session->store.ReadInfo();
        SyncUserId out{};
        std::size_t len = std::min(info.userName.size(), sizeof out.userName - 1);
        std::memcpy(out.userName, info.userName.data(), len);
        out.userNameLength = static_cast<uint32_t>(len + 1);
        out.userId = info.userId;
        *user = out;
        return kSyncErrNone;
    });
}

int32_t SyncWriteSysDateTime(uint32_t secondsSince1970) {
    return Guarded([&]() -> int32_t {
        if (!g_session) {
            return kSyncErrNoSession;
        }
        g_session->store.SetClock(secondsSince1970, std::time(nullptr));
        return kSyncErrNone;
    });
}

uint16_t SyncHostToHHWord(uint16_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        return static_cast<uint16_t>((value >> 8) | (value << 8));
    } else {
        return value;
    }
}

uint16_t SyncHHToHostWord(uint16_t value) {
    return SyncHostToHHWord(value);
}

}  // extern "C"
