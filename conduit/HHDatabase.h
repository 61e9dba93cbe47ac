// What the handheld database classes share: opening or creating a database by
// name, the one record buffer and raw-record block, the packing of a record
// (big-endian 16-bit numbers, then NUL-terminated texts) and the record calls
// of the sync library. Each database class owns one HHDatabase and hands it
// its fields in record order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/palm/SyncManager.h"

// Adds `text` to the sync log as a handheld database error.
void LogHandheldError(const std::string& text);

// The fields of one record, in the order they are packed.
using HHNumbers = std::span<std::uint16_t* const>;
using HHTexts = std::span<std::string* const>;

class HHDatabase {
  public:
    static constexpr std::uint32_t kCreator = 0x544C5758;  // "TLWX"
    static constexpr std::uint32_t kType = 0x44415441;     // "DATA"
    static constexpr std::size_t kBufferSize = 512;
    static constexpr std::size_t kMaxNameLength = kSyncMaxDbName;

    enum class OpenOutcome { Opened, Created, FindFailed, OpenFailed, CreateFailed };

    // `tooLongText` is logged when a record does not fit the buffer;
    // `readErrorText` follows "Error <code>" when a read fails (nullptr: read
    // errors are not logged).
    HHDatabase(const char* tooLongText, const char* readErrorText);
    virtual ~HHDatabase();
    HHDatabase(const HHDatabase&) = delete;
    HHDatabase& operator=(const HHDatabase&) = delete;

    static bool Succeeded(OpenOutcome outcome) {
        return outcome == OpenOutcome::Opened || outcome == OpenOutcome::Created;
    }

    // Finds a database by name on card 0: 0 with its record count,
    // kSyncErrNotFound when there is none, or another error.
    static std::int32_t Find(const std::string& name, std::uint32_t& recordCount);

    // Opens the database, creating it when it is missing. An object that is
    // still open is closed first.
    OpenOutcome Open(const std::string& name);
    bool IsOpen() const { return buffer_ != nullptr; }
    // The sync library's error of the last Open that failed (0 after one
    // that succeeded).
    std::int32_t OpenError() const { return openError_; }
    // Frees the buffer and closes the database; kSyncErrBadHandle when not open.
    std::int32_t Close();
    // Close for a database that names others, saved after them: its new file
    // lasts once the handheld's folder is flushed (by the next database
    // saved, or SyncFlushHandheld), so that the two share one flush.
    std::int32_t CloseFolderLater();

    // Empties the texts, zeroes the numbers and the record id (the next
    // write adds a record).
    void Clear(HHNumbers numbers, HHTexts texts);
    // The sync library's result, -1 when the record does not fit, or
    // kSyncErrBadHandle when not open.
    std::int32_t Write(HHNumbers numbers, HHTexts texts);
    // The fields packed as Write would store them into `out` (its storage
    // reused): false when the record does not fit.
    bool PackInto(HHNumbers numbers, HHTexts texts, std::vector<std::uint8_t>& out);
    // Adds a record packed by PackInto: the sync library's result, or
    // kSyncErrBadHandle when not open.
    std::int32_t WritePacked(std::span<const std::uint8_t> packed);
    // Logs what Write logs for a record that does not fit.
    void LogTooLong() const;
    // 0, or the error code (the fields then keep what they held).
    std::int32_t ReadByIndex(std::uint16_t index, HHNumbers numbers, HHTexts texts);
    // Deletes the record last read; the record count goes down by one.
    std::int32_t DeleteRecord();

    // Records in the database when it was opened, as kept up by the owner.
    std::uint32_t RecordCount() const { return recordCount_; }
    void CountAddedRecord() { ++recordCount_; }
    std::uint32_t RecordId() const { return recordId_; }

  private:
    // Packs the fields into the buffer and gives the packed length; nothing
    // when the record would exceed the buffer (nothing is stored then). A NUL
    // inside a text is packed as a blank.
    std::optional<std::size_t> Pack(HHNumbers numbers, HHTexts texts);
    // Fills the fields from the first `size` bytes of the buffer.
    void Unpack(std::size_t size, HHNumbers numbers, HHTexts texts) const;
    // Sets the block's handle, record id, category and reserved word.
    void PrepareBlock();

    const char* tooLongText_;
    const char* readErrorText_;
    std::uint32_t recordCount_ = 0;
    std::int32_t openError_ = 0;
    std::uint8_t handle_ = 0;
    SyncRawRecord block_{};
    std::uint32_t recordId_ = 0;
    std::unique_ptr<std::uint8_t[]> buffer_;
};
