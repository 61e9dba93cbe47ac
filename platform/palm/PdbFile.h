// The Palm database file format (PDB), read and written byte for byte.
//
// Layout, every number big-endian:
//   offset  0  name[32]            NUL-terminated, NUL-padded
//          32  attributes u16
//          34  version u16
//          36  creation date u32      seconds since 1904-01-01 00:00
//          40  modification date u32
//          44  backup date u32
//          48  modification number u32
//          52  appInfo offset u32     0 when there is no appInfo block
//          56  sortInfo offset u32    0 when there is no sortInfo block
//          60  type[4]
//          64  creator[4]
//          68  uniqueIDSeed u32
//          72  nextRecordListID u32   always 0 (one record list)
//          76  numRecords u16
//          78  numRecords entries of 8 bytes: data offset u32, attributes u8,
//              unique id u24
//              two filler bytes (0)
//              appInfo block, sortInfo block, record data, back to back
//
// A resource database (attribute 0x0001: an application, a .prc file) has the
// same header; its entries are 10 bytes: resource type u32, resource id u16,
// data offset u32, and its blocks are resources instead of records.
//
// Each block extends to the start of the next one (the last one to the end of
// the file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace wexal::palm {

// Seconds between 1904-01-01 and 1970-01-01.
inline constexpr int64_t kPalmEpochOffset = 2082844800;

inline constexpr std::size_t kPdbHeaderSize = 78;
inline constexpr std::size_t kPdbRecordEntrySize = 8;
inline constexpr std::size_t kPdbResourceEntrySize = 10;
inline constexpr std::size_t kPdbNameSize = 32;  // including the terminator
inline constexpr std::size_t kPdbMaxRecords = 0xFFFF;
inline constexpr uint32_t kPdbMaxUniqueId = 0xFFFFFF;

// Database attributes (header).
inline constexpr uint16_t kPdbAttrResource = 0x0001;

// Record attributes (entry): high nibble flags, low nibble category.
inline constexpr uint8_t kPdbRecAttrDelete = 0x80;
inline constexpr uint8_t kPdbRecAttrDirty = 0x40;
inline constexpr uint8_t kPdbRecAttrBusy = 0x20;
inline constexpr uint8_t kPdbRecAttrSecret = 0x10;
inline constexpr uint8_t kPdbRecAttrCategoryMask = 0x0F;

// A file that is not a valid PDB (truncated, offsets out of range, ...).
class PdbFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A FIFO, device or socket where a PDB file should be: refused unread, since
// a FIFO would hold the reader and a device such as /dev/zero never end.
class PdbNotRegularFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct PdbRecord {
    uint8_t attributes = 0;
    uint32_t uniqueId = 0;  // 24 bits
    std::vector<uint8_t> data;
};

struct PdbResource {
    uint32_t type = 0;  // four characters ("tSTR")
    uint16_t id = 0;
    std::vector<uint8_t> data;
};

// The fixed header without the record list.
struct PdbHeader {
    std::string name;  // at most 31 bytes
    uint16_t attributes = 0;
    uint16_t version = 0;
    uint32_t creationDate = 0;  // seconds since 1904
    uint32_t modificationDate = 0;
    uint32_t backupDate = 0;
    uint32_t modificationNumber = 0;
    uint32_t type = 0;  // four characters, first one in the high byte
    uint32_t creator = 0;
    uint32_t uniqueIdSeed = 0;
    uint16_t numRecords = 0;  // records or resources, as read; ignored when writing
    bool IsResourceDatabase() const { return (attributes & kPdbAttrResource) != 0; }
};

struct PdbDatabase {
    PdbHeader header;
    std::vector<uint8_t> appInfo;        // empty: no block
    std::vector<uint8_t> sortInfo;       // empty: no block
    std::vector<PdbRecord> records;      // a record database's
    std::vector<PdbResource> resources;  // a resource database's
};

// Four-character code from text ("DATA" -> 0x44415441) and back.
uint32_t FourCC(const char (&text)[5]);
uint32_t FourCC(const std::string& text);  // throws std::invalid_argument unless 4 bytes
std::string FourCCToString(uint32_t code);

// Seconds since 1970 <-> seconds since 1904 (low 32 bits, as the header keeps them).
uint32_t UnixToPalmTime(int64_t secondsSince1970);
int64_t PalmToUnixTime(uint32_t secondsSince1904);

// Where a block lies in a file image.
struct PdbPlace {
    std::size_t offset = 0;
    std::size_t size = 0;
};

// One entry of the record list with the place of its block: a record's
// attributes and unique id, or a resource's type and id.
struct PdbEntry {
    PdbPlace place;
    uint8_t attributes = 0;
    uint32_t uniqueId = 0;
    uint32_t type = 0;
    uint16_t id = 0;
};

// A parsed file image whose blocks stay where the image has them.
struct PdbLayout {
    PdbHeader header;
    PdbPlace appInfo;   // size 0: no block
    PdbPlace sortInfo;  // size 0: no block
    std::vector<PdbEntry> entries;
};

// A file image and its layout: the records of an open database are read in
// place instead of one copy each.
struct PdbImage {
    std::vector<uint8_t> bytes;
    PdbLayout layout;
};

// Parses a whole file image; throws PdbFormatError on anything damaged or
// unsupported. Never reads outside [data, data + size).
PdbLayout ParsePdbLayout(const uint8_t* data, std::size_t size);
PdbDatabase ParsePdb(const uint8_t* data, std::size_t size);
inline PdbDatabase ParsePdb(const std::vector<uint8_t>& bytes) {
    return ParsePdb(bytes.data(), bytes.size());
}
// Parses only the fixed header (first 78 bytes) and checks that the record
// list fits in `fileSize` bytes.
PdbHeader ParsePdbHeader(const uint8_t* data, std::size_t size, std::size_t fileSize);

// The file image of `db` (numRecords from db.records, or db.resources for a
// resource database). Throws PdbFormatError when the database cannot be
// represented (name too long, too many records, file above 4 GiB, unique id
// above 24 bits, records in a resource database or resources in a record one).
std::vector<uint8_t> SerializePdb(const PdbDatabase& db);

// One record or resource as it is written, its bytes wherever they are kept.
struct PdbEntryView {
    uint8_t attributes = 0;
    uint32_t uniqueId = 0;
    uint32_t type = 0;
    uint16_t id = 0;
    std::span<const uint8_t> data;
};
// The file image of a database whose `count` records (or resources, for a
// resource database) `entryAt` gives in order. The same checks as above.
std::vector<uint8_t> SerializePdb(const PdbHeader& header, std::span<const uint8_t> appInfo,
                                  std::span<const uint8_t> sortInfo, std::size_t count,
                                  const std::function<PdbEntryView(std::size_t)>& entryAt);
// The same into `out`, whose storage is reused.
void SerializePdb(const PdbHeader& header, std::span<const uint8_t> appInfo,
                  std::span<const uint8_t> sortInfo, std::size_t count,
                  const std::function<PdbEntryView(std::size_t)>& entryAt,
                  std::vector<uint8_t>& out);

// Whole-file helpers (no atomicity: see HandheldStore for atomic saves).
// Read errors throw std::system_error, format errors PdbFormatError, a file
// that is not a regular one PdbNotRegularFileError.
PdbDatabase ReadPdbFile(const std::filesystem::path& file);
// The file read into `buffer`, whose storage is reused.
PdbImage ReadPdbFileImage(const std::filesystem::path& file, std::vector<uint8_t> buffer = {});
PdbHeader ReadPdbFileHeader(const std::filesystem::path& file);

}  // namespace wexal::palm
