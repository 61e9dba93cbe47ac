#include "platform/palm/PdbFile.h"

#include "platform/files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace wexal::palm {

namespace {

uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

uint32_t GetU32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

void PutU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

[[noreturn]] void Fail(const std::string& what) {
    throw PdbFormatError(what);
}

std::size_t EntrySize(const PdbHeader& h) {
    return h.IsResourceDatabase() ? kPdbResourceEntrySize : kPdbRecordEntrySize;
}

// Reads up to `limit` bytes of `file` (all of it when limit is SIZE_MAX) and
// reports the file's full size. The bytes go into `bytes`, whose storage is
// reused.
std::vector<uint8_t> ReadBytes(const std::filesystem::path& file, std::size_t limit,
                               std::size_t* fileSize, std::vector<uint8_t> bytes = {}) {
    int error = 0;
    int fd = wexal::files::OpenRegularFile(file, error);
    if (error == wexal::files::kNotRegularFile) {
        throw PdbNotRegularFileError(file.string() + ": not a regular file");
    }
    if (fd < 0) {
        throw std::system_error(error, std::generic_category(), "open " + file.string());
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        throw std::system_error(err, std::generic_category(), "stat " + file.string());
    }
    std::size_t size = static_cast<std::size_t>(st.st_size);
    std::size_t want = std::min(size, limit);
    bytes.resize(want);
    std::size_t got = 0;
    while (got < want) {
        ssize_t n = ::read(fd, bytes.data() + got, want - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int err = errno;
            ::close(fd);
            throw std::system_error(err, std::generic_category(), "read " + file.string());
        }
        if (n == 0) {
            break;  // the file shrank meanwhile: parse what is there
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    if (fileSize != nullptr) {
        *fileSize = limit == std::numeric_limits<std::size_t>::max() ? got : size;
    }
    return bytes;
}

}  // namespace

uint32_t FourCC(const char (&text)[5]) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8) |
           static_cast<uint32_t>(static_cast<uint8_t>(text[3]));
}

uint32_t FourCC(const std::string& text) {
    if (text.size() != 4) {
        throw std::invalid_argument("a four-character code needs exactly 4 characters: " + text);
    }
    return GetU32(reinterpret_cast<const uint8_t*>(text.data()));
}

std::string FourCCToString(uint32_t code) {
    std::string text(4, '\0');
    PutU32(reinterpret_cast<uint8_t*>(text.data()), code);
    return text;
}

uint32_t UnixToPalmTime(int64_t secondsSince1970) {
    return static_cast<uint32_t>(secondsSince1970 + kPalmEpochOffset);
}

int64_t PalmToUnixTime(uint32_t secondsSince1904) {
    return static_cast<int64_t>(secondsSince1904) - kPalmEpochOffset;
}

PdbHeader ParsePdbHeader(const uint8_t* data, std::size_t size, std::size_t fileSize) {
    if (data == nullptr || size < kPdbHeaderSize || fileSize < kPdbHeaderSize) {
        Fail("truncated header: " + std::to_string(std::min(size, fileSize)) + " of " +
             std::to_string(kPdbHeaderSize) + " bytes");
    }
    PdbHeader h;
    const void* nul = std::memchr(data, 0, kPdbNameSize);
    if (nul == nullptr) {
        Fail("database name is not NUL-terminated");
    }
    h.name.assign(reinterpret_cast<const char*>(data), static_cast<const uint8_t*>(nul) - data);
    h.attributes = GetU16(data + 32);
    h.version = GetU16(data + 34);
    h.creationDate = GetU32(data + 36);
    h.modificationDate = GetU32(data + 40);
    h.backupDate = GetU32(data + 44);
    h.modificationNumber = GetU32(data + 48);
    h.type = GetU32(data + 60);
    h.creator = GetU32(data + 64);
    h.uniqueIdSeed = GetU32(data + 68);
    uint32_t nextRecordList = GetU32(data + 72);
    h.numRecords = GetU16(data + 76);
    if (nextRecordList != 0) {
        Fail("chained record lists are not supported");
    }
    uint64_t listEnd = kPdbHeaderSize + uint64_t{h.numRecords} * EntrySize(h);
    if (listEnd > fileSize) {
        Fail("truncated record list: " + std::to_string(h.numRecords) + " entries need " +
             std::to_string(listEnd) + " bytes, the file has " + std::to_string(fileSize));
    }
    return h;
}

PdbLayout ParsePdbLayout(const uint8_t* data, std::size_t size) {
    PdbLayout layout;
    layout.header = ParsePdbHeader(data, size, size);
    const std::size_t n = layout.header.numRecords;
    const bool resources = layout.header.IsResourceDatabase();
    const std::size_t listEnd = kPdbHeaderSize + n * EntrySize(layout.header);

    uint32_t appInfoOffset = GetU32(data + 52);
    uint32_t sortInfoOffset = GetU32(data + 56);

    // Every block starts at its offset and ends where the next one starts.
    // Offsets must lie between the end of the record list and the end of the
    // file, in ascending order. A block's size is known once the next one's
    // start is.
    PdbPlace* open = nullptr;
    auto start = [&](PdbPlace& place, uint32_t offset, const char* what) {
        if (offset < listEnd) {
            Fail(std::string(what) + " offset " + std::to_string(offset) +
                 " points into the header");
        }
        if (offset > size) {
            Fail(std::string(what) + " offset " + std::to_string(offset) +
                 " is past the end of the file (" + std::to_string(size) + " bytes)");
        }
        if (open != nullptr && offset < open->offset) {
            Fail(std::string(what) + " offset " + std::to_string(offset) + " is out of order");
        }
        place.offset = offset;
        if (open != nullptr) {
            open->size = offset - open->offset;
        }
        open = &place;
    };
    if (appInfoOffset != 0) {
        start(layout.appInfo, appInfoOffset, "appInfo");
    }
    if (sortInfoOffset != 0) {
        start(layout.sortInfo, sortInfoOffset, "sortInfo");
    }
    layout.entries.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        PdbEntry& entry = layout.entries[i];
        if (resources) {
            const uint8_t* e = data + kPdbHeaderSize + i * kPdbResourceEntrySize;
            entry.type = GetU32(e);
            entry.id = GetU16(e + 4);
            start(entry.place, GetU32(e + 6), "resource");
        } else {
            const uint8_t* e = data + kPdbHeaderSize + i * kPdbRecordEntrySize;
            start(entry.place, GetU32(e), "record");
            entry.attributes = e[4];
            entry.uniqueId = (uint32_t{e[5]} << 16) | (uint32_t{e[6]} << 8) | e[7];
        }
    }
    if (open != nullptr) {
        open->size = size - open->offset;
    }
    return layout;
}

PdbDatabase ParsePdb(const uint8_t* data, std::size_t size) {
    PdbLayout layout = ParsePdbLayout(data, size);
    PdbDatabase db;
    db.header = std::move(layout.header);
    auto block = [data](const PdbPlace& place) {
        return std::vector<uint8_t>(data + place.offset, data + place.offset + place.size);
    };
    db.appInfo = block(layout.appInfo);
    db.sortInfo = block(layout.sortInfo);
    if (db.header.IsResourceDatabase()) {
        db.resources.reserve(layout.entries.size());
        for (const PdbEntry& e : layout.entries) {
            db.resources.push_back({e.type, e.id, block(e.place)});
        }
    } else {
        db.records.reserve(layout.entries.size());
        for (const PdbEntry& e : layout.entries) {
            db.records.push_back({e.attributes, e.uniqueId, block(e.place)});
        }
    }
    return db;
}

std::vector<uint8_t> SerializePdb(const PdbDatabase& db) {
    const bool resources = db.header.IsResourceDatabase();
    if (resources ? !db.records.empty() : !db.resources.empty()) {
        Fail(resources ? "records in a resource database" : "resources in a record database");
    }
    const std::size_t n = resources ? db.resources.size() : db.records.size();
    return SerializePdb(db.header, db.appInfo, db.sortInfo, n, [&](std::size_t i) {
        PdbEntryView view;
        if (resources) {
            view.type = db.resources[i].type;
            view.id = db.resources[i].id;
            view.data = db.resources[i].data;
        } else {
            view.attributes = db.records[i].attributes;
            view.uniqueId = db.records[i].uniqueId;
            view.data = db.records[i].data;
        }
        return view;
    });
}

std::vector<uint8_t> SerializePdb(const PdbHeader& header, std::span<const uint8_t> appInfo,
                                  std::span<const uint8_t> sortInfo, std::size_t count,
                                  const std::function<PdbEntryView(std::size_t)>& entryAt) {
    std::vector<uint8_t> out;
    SerializePdb(header, appInfo, sortInfo, count, entryAt, out);
    return out;
}

void SerializePdb(const PdbHeader& h, std::span<const uint8_t> appInfo,
                  std::span<const uint8_t> sortInfo, std::size_t n,
                  const std::function<PdbEntryView(std::size_t)>& entryAt,
                  std::vector<uint8_t>& out) {
    if (h.name.size() >= kPdbNameSize) {
        Fail("database name longer than 31 bytes: " + h.name);
    }
    if (h.name.find('\0') != std::string::npos) {
        Fail("database name holds a NUL byte");
    }
    if (n > kPdbMaxRecords) {
        Fail("too many records for one database: " + std::to_string(n));
    }
    const bool resources = h.IsResourceDatabase();
    const std::size_t entrySize = EntrySize(h);
    const std::size_t dataStart = kPdbHeaderSize + n * entrySize + 2;  // after the filler
    uint64_t total = dataStart + appInfo.size() + sortInfo.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PdbEntryView entry = entryAt(i);
        if (!resources && entry.uniqueId > kPdbMaxUniqueId) {
            Fail("record unique id above 24 bits: " + std::to_string(entry.uniqueId));
        }
        total += entry.data.size();
    }
    if (total > std::numeric_limits<uint32_t>::max()) {
        Fail("database above 4 GiB");
    }

    // Every byte is written once, in file order: the image is not zero-filled
    // first.
    out.clear();
    out.reserve(static_cast<std::size_t>(total));
    uint8_t header[kPdbHeaderSize] = {};
    std::memcpy(header, h.name.data(), h.name.size());
    PutU16(header + 32, h.attributes);
    PutU16(header + 34, h.version);
    PutU32(header + 36, h.creationDate);
    PutU32(header + 40, h.modificationDate);
    PutU32(header + 44, h.backupDate);
    PutU32(header + 48, h.modificationNumber);
    std::size_t pos = dataStart;
    PutU32(header + 52, appInfo.empty() ? 0 : static_cast<uint32_t>(pos));
    pos += appInfo.size();
    PutU32(header + 56, sortInfo.empty() ? 0 : static_cast<uint32_t>(pos));
    pos += sortInfo.size();
    PutU32(header + 60, h.type);
    PutU32(header + 64, h.creator);
    PutU32(header + 68, h.uniqueIdSeed);
    PutU32(header + 72, 0);
    PutU16(header + 76, static_cast<uint16_t>(n));
    out.insert(out.end(), header, header + kPdbHeaderSize);

    for (std::size_t i = 0; i < n; ++i) {
        const PdbEntryView r = entryAt(i);
        uint8_t e[kPdbResourceEntrySize];
        if (resources) {
            PutU32(e, r.type);
            PutU16(e + 4, r.id);
            PutU32(e + 6, static_cast<uint32_t>(pos));
        } else {
            PutU32(e, static_cast<uint32_t>(pos));
            e[4] = r.attributes;
            e[5] = static_cast<uint8_t>(r.uniqueId >> 16);
            e[6] = static_cast<uint8_t>(r.uniqueId >> 8);
            e[7] = static_cast<uint8_t>(r.uniqueId);
        }
        out.insert(out.end(), e, e + entrySize);
        pos += r.data.size();
    }
    out.insert(out.end(), 2, 0);  // the filler
    out.insert(out.end(), appInfo.begin(), appInfo.end());
    out.insert(out.end(), sortInfo.begin(), sortInfo.end());
    for (std::size_t i = 0; i < n; ++i) {
        const std::span<const uint8_t> data = entryAt(i).data;
        out.insert(out.end(), data.begin(), data.end());
    }
}

PdbDatabase ReadPdbFile(const std::filesystem::path& file) {
    std::vector<uint8_t> bytes = ReadBytes(file, std::numeric_limits<std::size_t>::max(), nullptr);
    return ParsePdb(bytes);
}

PdbImage ReadPdbFileImage(const std::filesystem::path& file, std::vector<uint8_t> buffer) {
    PdbImage image;
    image.bytes =
        ReadBytes(file, std::numeric_limits<std::size_t>::max(), nullptr, std::move(buffer));
    image.layout = ParsePdbLayout(image.bytes.data(), image.bytes.size());
    return image;
}

PdbHeader ReadPdbFileHeader(const std::filesystem::path& file) {
    std::size_t fileSize = 0;
    std::vector<uint8_t> bytes = ReadBytes(file, kPdbHeaderSize, &fileSize);
    return ParsePdbHeader(bytes.data(), bytes.size(), fileSize);
}

}  // namespace wexal::palm
