// The handheld sync library: the calls a conduit makes to reach the handheld's
// databases during a sync. One session (one handheld folder) is open per
// process at a time; the sync manager stand-in opens it before it loads the
// conduits and closes it afterwards.
//
// Results are signed 32-bit: 0 on success, kSyncErrNotFound (0x4003) for "no
// such database", and the other kSyncErr* codes below.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    kSyncErrNone = 0,
    kSyncErrNotFound = 0x4003,        // no such database
    kSyncErrNoSession = 0x4101,       // no handheld session is open
    kSyncErrBadArgument = 0x4102,     // null block, bad card number, bad name
    kSyncErrBadHandle = 0x4103,       // handle not open
    kSyncErrRecordNotFound = 0x4104,  // no record with that id or index
    kSyncErrExists = 0x4105,          // create: a database of that name exists
    kSyncErrTooManyOpen = 0x4106,     // every handle is in use
    kSyncErrDatabaseOpen = 0x4107,    // delete: the database is open
    kSyncErrIo = 0x4108,              // the handheld store could not be read or written
    kSyncErrDamaged = 0x4109,         // a database file of the store is damaged
    kSyncErrTooLarge = 0x410A,        // record above the largest size the store keeps
    kSyncErrReadOnly = 0x410B,        // write to a database opened without write mode
    kSyncErrBusy = 0x410C,            // open session: the handheld is in use (another
                                      // process, or a session already open in this one)
    kSyncErrDatabaseFull = 0x410D,    // write: the database holds 65535 records, the most
                                      // a database file can hold
    kSyncErrNotRegularFile = 0x410E,  // a FIFO, device or socket stands where a database
                                      // file of the store should be
    kSyncErrResourceDb = 0x410F,      // open: a resource database (an application), which
                                      // has no records to read or write
};

// Open modes (bits).
enum { kSyncModeRead = 0x80, kSyncModeWrite = 0x40, kSyncModeReadWrite = 0xC0 };

// Longest database name, without its terminator.
enum { kSyncMaxDbName = 31 };

// Record attributes.
enum { kSyncRecAttrDeleted = 0x80, kSyncRecAttrDirty = 0x40, kSyncRecAttrCategoryMask = 0x0F };

// --- Session (used by the sync manager stand-in and the tools) --------------

// Opens the handheld in folder `handheldDir` for this process and locks it
// against other processes. kSyncErrNotFound when the folder is missing,
// kSyncErrBusy when another process holds it or a session is already open.
int32_t SyncOpenSession(const char* handheldDir);
// Writes back every database still open, flushes the handheld's folder and
// releases the handheld.
int32_t SyncCloseSession(void);

// --- Databases ---------------------------------------------------------------

typedef struct SyncFindDbByNameParams {
    uint8_t optFlags;  // 0x40: also report the record count
    uint32_t cardNo;   // always 0
    const char* name;
} SyncFindDbByNameParams;

typedef struct SyncFindDbResult {
    uint32_t creator;
    uint32_t type;
    uint16_t attributes;
    uint16_t version;
    uint32_t recordCount;
} SyncFindDbResult;

int32_t SyncFindDbByName(const SyncFindDbByNameParams* params, SyncFindDbResult* result);

int32_t SyncOpenDB(const char* name, int32_t cardNo, uint8_t* handle, uint8_t openMode);

typedef struct SyncCreateDbParams {
    uint8_t handle;  // out
    uint32_t creator;
    uint16_t flags;
    uint8_t cardNo;
    char name[32];  // NUL-terminated, at most kSyncMaxDbName characters
    uint32_t type;
    uint16_t version;
    uint32_t reserved;
} SyncCreateDbParams;

// Creates the database and opens it for reading and writing. It lasts on the
// handheld's disk once it is closed.
int32_t SyncCreateDB(SyncCreateDbParams* params);
// Writes the database back when it changed; it then outlasts a power loss.
int32_t SyncCloseDB(uint8_t handle);
// Makes the close of this handle save the database without flushing the
// handheld's folder: the file is on disk, but its name lasts only once the
// folder is flushed (by the next close that saves, SyncFlushHandheld or
// SyncCloseSession). For a database that names others (the route list),
// saved after them: the next of them shares its flush.
int32_t SyncDeferFolderFlush(uint8_t handle);
// Makes every database saved and deleted so far outlast a power loss.
int32_t SyncFlushHandheld(void);
// The database is gone at once; its removal outlasts a power loss once the
// handheld's folder is flushed (as for SyncCloseDBFolderLater).
int32_t SyncDeleteDB(const char* name, int32_t cardNo);

// --- Records -----------------------------------------------------------------

typedef struct SyncRawRecord {
    uint8_t dbHandle;
    uint32_t recId;      // write: 0 adds a record and receives its new id
    uint16_t index;      // read by index: 0-based position
    uint8_t attributes;  // read: the record's attributes; write: its dirty (0x40) and
                         // secret (0x10) bits are stored, the other flag bits ignored
    int16_t category;    // write: the record's category (0 to 15)
    int32_t conduitId;
    uint32_t recSize;     // write: bytes to store; read: bytes copied to the buffer
    uint16_t bufferSize;  // read: room in the buffer
    void* buffer;
    uint32_t reserved;
} SyncRawRecord;

// Copies at most bufferSize bytes of the record at `index`, and gives its
// unique id. Every record of an open database has an id of its own: one
// stored without (0, or an id that an earlier record holds) is given one.
int32_t SyncReadRecordByIndex(SyncRawRecord* record);
int32_t SyncWriteRec(SyncRawRecord* record);
int32_t SyncDeleteRec(SyncRawRecord* record);

// --- Handheld ----------------------------------------------------------------

typedef struct SyncUserId {
    char userName[64];        // NUL-terminated HotSync user name
    uint32_t userNameLength;  // bytes of the name including its NUL terminator
    uint32_t userId;
    uint32_t lastSyncPc;   // always 0 in this simulation
    int64_t lastSyncDate;  // seconds since 1970 (0: not recorded in this simulation)
} SyncUserId;

int32_t SyncReadUserID(SyncUserId* user);
// Sets the handheld's clock to `secondsSince1970` (UTC).
int32_t SyncWriteSysDateTime(uint32_t secondsSince1970);

// Handheld words are big-endian.
uint16_t SyncHostToHHWord(uint16_t value);
uint16_t SyncHHToHostWord(uint16_t value);

#ifdef __cplusplus
}
#endif
