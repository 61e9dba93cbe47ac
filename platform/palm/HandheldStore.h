// The simulated handheld: one folder per handheld.
//
//   DIR/<escaped name>.pdb   one Palm database file per database
//   DIR/handheld.txt         user name, user id and clock ("key=value" lines)
//   DIR/handheld.lock        flock target: one process at a time syncs or edits
//   DIR/.*.tmp               temporary files of atomic saves (removed when a
//                            session finds them left over by a killed process)
//
// A database file name is the database name with every byte outside
// [A-Za-z0-9 _.-], '%' itself and a leading '.' written as %XX (upper-case
// hex), followed by ".pdb". Names are case-sensitive, 1 to 31 bytes, no NUL.
//
// Applications are resource databases; the store lists, loads and saves them
// like record databases (the sync library refuses to open them).
//
// Every file is replaced atomically: written to a temporary file in the
// folder, fsynced, renamed over the old one, and the folder fsynced. A process
// killed at any moment leaves either the old or the new file. A caller that
// saves several files in a row may leave the folder's flush to the last of
// them (Durability), so that their renames share it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/palm/PdbFile.h"

namespace wexal::palm {

class StoreError : public std::runtime_error {
  public:
    enum class Kind {
        NotFound,        // no such folder or database
        Exists,          // the database or handheld already exists
        BadName,         // invalid database or user name
        Damaged,         // a file of the store cannot be parsed
        Busy,            // another process holds the handheld's lock
        Io,              // reading or writing failed
        NotRegularFile,  // a FIFO, device or socket stands where a file of the store should
    };
    StoreError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

// How far a save is on disk when it returns. A process killed at any moment
// leaves the old or the new file whatever the choice; the choice is about a
// power loss.
enum class Durability {
    // The file and its folder flushed: the new file outlasts a power loss.
    Lasting,
    // The file flushed and renamed into place; its name lasts once the
    // folder is flushed (HandheldStore::FlushFolder or a later Lasting save).
    FolderLater,
    // Written and renamed into place only: for a file that is saved again,
    // Lasting, before anything relies on it.
    Unflushed,
};

struct DatabaseInfo {
    std::string name;
    uint32_t creator = 0;
    uint32_t type = 0;
    uint16_t attributes = 0;
    uint16_t version = 0;
    uint32_t recordCount = 0;  // records, or resources of a resource database
    std::string error;         // List only: why the file could not be read (empty when fine)
};

// The handheld's clock: the time that the last sync set (seconds since 1970,
// UTC) and the host's time when it was set.
struct HandheldClock {
    bool isSet = false;
    int64_t value = 0;
    int64_t setAt = 0;
    // The handheld's time now, assuming it has kept running since it was set.
    int64_t Now(int64_t hostNow) const { return isSet ? value + (hostNow - setAt) : hostNow; }
};

struct HandheldInfo {
    std::string userName;
    uint32_t userId = 0;
    HandheldClock clock;
    std::map<std::string, std::string> extra;  // unknown keys, kept as found
};

// Exclusive flock on DIR/handheld.lock, released when the object dies (or the
// process does). Movable, not copyable.
class HandheldLock {
  public:
    HandheldLock() = default;
    // Throws StoreError Busy when another holder has it, NotFound when the
    // folder is missing, Io otherwise.
    static HandheldLock Acquire(const std::filesystem::path& dir);
    ~HandheldLock();
    HandheldLock(HandheldLock&& other) noexcept;
    HandheldLock& operator=(HandheldLock&& other) noexcept;
    HandheldLock(const HandheldLock&) = delete;
    HandheldLock& operator=(const HandheldLock&) = delete;

    bool held() const { return fd_ >= 0; }
    void Release();

  private:
    int fd_ = -1;
};

class HandheldStore {
  public:
    static constexpr const char* kInfoFileName = "handheld.txt";
    static constexpr const char* kLockFileName = "handheld.lock";
    static constexpr const char* kDatabaseSuffix = ".pdb";
    static constexpr std::size_t kMaxUserName = 63;

    // No I/O: use Open to check the folder, Init to make one.
    explicit HandheldStore(std::filesystem::path dir) : dir_(std::move(dir)) {}

    // Throws StoreError NotFound unless `dir` is a folder.
    static HandheldStore Open(const std::filesystem::path& dir);
    // Makes the folder (and its parents) with an info file holding `userName`
    // and a new user id. Throws Exists when the folder already has an info
    // file or databases, BadName for an invalid user name.
    static HandheldStore Init(const std::filesystem::path& dir, const std::string& userName);

    const std::filesystem::path& dir() const { return dir_; }
    HandheldLock Lock() const { return HandheldLock::Acquire(dir_); }

    // --- Names ---
    static bool IsValidName(const std::string& name);
    static std::string FileNameFor(const std::string& name);
    // The database name for a file name, when it is the canonical file of one.
    static std::optional<std::string> NameForFileName(const std::string& fileName);
    std::filesystem::path PathFor(const std::string& name) const;

    // --- Databases ---
    // Every database, sorted by name; unreadable files are listed with `error`.
    std::vector<DatabaseInfo> List() const;
    // Header facts of one database (reads the header only). nullopt when
    // missing; throws Damaged/Io.
    std::optional<DatabaseInfo> Find(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // The whole database. Throws NotFound, Damaged, Io, BadName. The header
    // name is set to `name`.
    PdbDatabase Load(const std::string& name) const;
    // The same, as the file image with its layout (the header name set to
    // `name`): for a reader that keeps the records where the file has them.
    // The image is read into `buffer`, whose storage is reused.
    PdbImage LoadImage(const std::string& name, std::vector<uint8_t> buffer = {}) const;
    // Writes db under db.header.name, atomically (replaces any old file).
    void Save(const PdbDatabase& db, Durability durability = Durability::Lasting) const;
    // Writes a file image made by SerializePdb under `name`, atomically.
    void SaveImage(const std::string& name, std::span<const uint8_t> image,
                   Durability durability = Durability::Lasting) const;
    // Like Save, but throws Exists when the database is already there.
    void Create(const PdbDatabase& db, Durability durability = Durability::Lasting) const;
    // false when there was no such database. With FolderLater the removal
    // lasts once the folder is flushed.
    bool Delete(const std::string& name, Durability durability = Durability::Lasting) const;
    // Makes every rename and removal in the folder so far outlast a power loss.
    void FlushFolder() const;

    // --- Handheld facts ---
    // Missing info file: defaults (empty name, id 0, clock not set).
    HandheldInfo ReadInfo() const;
    void WriteInfo(const HandheldInfo& info) const;
    std::string UserName() const { return ReadInfo().userName; }
    void SetUserName(const std::string& userName) const;
    HandheldClock Clock() const { return ReadInfo().clock; }
    void SetClock(int64_t secondsSince1970, int64_t hostNow) const;
    static bool IsValidUserName(const std::string& userName);

    // Removes temporary files left by a process killed while saving. Call it
    // only while holding the lock.
    void RemoveStaleTempFiles() const;

  private:
    // Reads the database's file with `read`, its failures thrown as StoreError.
    template <typename Read>
    auto ReadDatabase(const std::string& name, Read read) const;

    std::filesystem::path dir_;
};

// Writes `bytes` to dir/fileName atomically: temporary file in `dir`, fsync,
// rename, fsync of the folder (as far as `durability` asks). Throws
// StoreError Io.
void WriteFileAtomically(const std::filesystem::path& dir, const std::string& fileName,
                         const void* bytes, std::size_t size,
                         Durability durability = Durability::Lasting);

}  // namespace wexal::palm
