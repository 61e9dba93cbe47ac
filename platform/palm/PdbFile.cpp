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
// reports the file's full size.
std::vector<uint8_t> ReadBytes(const std::filesystem::path& file, std::size_t limit,
                               std::size_t* fileSize) {
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
    std::vector<uint8_t> bytes(want);
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

PdbDatabase ParsePdb(const uint8_t* data, std::size_t size) {
    PdbDatabase db;
    db.header = ParsePdbHeader(data, size, size);
    const std::size_t n = db.header.numRecords;
    const bool resources = db.header.IsResourceDatabase();
    const std::size_t listEnd = kPdbHeaderSize + n * EntrySize(db.header);

    uint32_t appInfoOffset = GetU32(data + 52);
    uint32_t sortInfoOffset = GetU32(data + 56);

    // Every block starts at its offset and ends where the next one starts.
    // Offsets must lie between the end of the record list and the end of the
    // file, in ascending order.
    std::vector<std::size_t> starts;
    starts.reserve(n + 2);
    auto check = [&](uint32_t offset, const char* what) {
        if (offset < listEnd) {
            Fail(std::string(what) + " offset " + std::to_string(offset) +
                 " points into the header");
        }
        if (offset > size) {
            Fail(std::string(what) + " offset " + std::to_string(offset) +
                 " is past the end of the file (" + std::to_string(size) + " bytes)");
        }
        if (!starts.empty() && offset < starts.back()) {
            Fail(std::string(what) + " offset " + std::to_string(offset) + " is out of order");
        }
        starts.push_back(offset);
    };
    if (appInfoOffset != 0) {
        check(appInfoOffset, "appInfo");
    }
    if (sortInfoOffset != 0) {
        check(sortInfoOffset, "sortInfo");
    }
    if (resources) {
        db.resources.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const uint8_t* e = data + kPdbHeaderSize + i * kPdbResourceEntrySize;
            db.resources[i].type = GetU32(e);
            db.resources[i].id = GetU16(e + 4);
            check(GetU32(e + 6), "resource");
        }
    } else {
        db.records.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const uint8_t* e = data + kPdbHeaderSize + i * kPdbRecordEntrySize;
            check(GetU32(e), "record");
            db.records[i].attributes = e[4];
            db.records[i].uniqueId = (uint32_t{e[5]} << 16) | (uint32_t{e[6]} << 8) | e[7];
        }
    }
    starts.push_back(size);

    std::size_t k = 0;
    auto block = [&](std::vector<uint8_t>& out) {
        out.assign(data + starts[k], data + starts[k + 1]);
        ++k;
    };
    if (appInfoOffset != 0) {
        block(db.appInfo);
    }
    if (sortInfoOffset != 0) {
        block(db.sortInfo);
    }
    for (std::size_t i = 0; i < n; ++i) {
        block(resources ? db.resources[i].data : db.records[i].data);
    }
    return db;
}

std::vector<uint8_t> SerializePdb(const PdbDatabase& db) {
    const PdbHeader& h = db.header;
    if (h.name.size() >= kPdbNameSize) {
        Fail("database name longer than 31 bytes: " + h.name);
    }
    if (h.name.find('\0') != std::string::npos) {
        Fail("database name holds a NUL byte");
    }
    const bool resources = h.IsResourceDatabase();
    if (resources ? !db.records.empty() : !db.resources.empty()) {
        Fail(resources ? "records in a resource database" : "resources in a record database");
    }
    const std::size_t n = resources ? db.resources.size() : db.records.size();
    if (n > kPdbMaxRecords) {
        Fail("too many records for one database: " + std::to_string(n));
    }
    const std::size_t entrySize = EntrySize(h);
    uint64_t total = kPdbHeaderSize + n * entrySize + 2 + db.appInfo.size() + db.sortInfo.size();
    for (const PdbRecord& r : db.records) {
        if (r.uniqueId > kPdbMaxUniqueId) {
            Fail("record unique id above 24 bits: " + std::to_string(r.uniqueId));
        }
        total += r.data.size();
    }
    for (const PdbResource& r : db.resources) {
        total += r.data.size();
    }
    if (total > std::numeric_limits<uint32_t>::max()) {
        Fail("database above 4 GiB");
    }

    std::vector<uint8_t> out(static_cast<std::size_t>(total), 0);
    uint8_t* p = out.data();
    std::memcpy(p, h.name.data(), h.name.size());
    PutU16(p + 32, h.attributes);
    PutU16(p + 34, h.version);
    PutU32(p + 36, h.creationDate);
    PutU32(p + 40, h.modificationDate);
    PutU32(p + 44, h.backupDate);
    PutU32(p + 48, h.modificationNumber);
    PutU32(p + 60, h.type);
    PutU32(p + 64, h.creator);
    PutU32(p + 68, h.uniqueIdSeed);
    PutU32(p + 72, 0);
    PutU16(p + 76, static_cast<uint16_t>(n));

    std::size_t pos = kPdbHeaderSize + n * entrySize + 2;  // after the filler
    if (!db.appInfo.empty()) {
        PutU32(p + 52, static_cast<uint32_t>(pos));
        std::memcpy(p + pos, db.appInfo.data(), db.appInfo.size());
        pos += db.appInfo.size();
    }
    if (!db.sortInfo.empty()) {
        PutU32(p + 56, static_cast<uint32_t>(pos));
        std::memcpy(p + pos, db.sortInfo.data(), db.sortInfo.size());
        pos += db.sortInfo.size();
    }
    for (std::size_t i = 0; i < n; ++i) {
        uint8_t* e = p + kPdbHeaderSize + i * entrySize;
        const std::vector<uint8_t>* data;
        if (resources) {
            const PdbResource& r = db.resources[i];
            PutU32(e, r.type);
            PutU16(e + 4, r.id);
            PutU32(e + 6, static_cast<uint32_t>(pos));
            data = &r.data;
        } else {
            const PdbRecord& r = db.records[i];
            PutU32(e, static_cast<uint32_t>(pos));
            e[4] = r.attributes;
            e[5] = static_cast<uint8_t>(r.uniqueId >> 16);
            e[6] = static_cast<uint8_t>(r.uniqueId >> 8);
            e[7] = static_cast<uint8_t>(r.uniqueId);
            data = &r.data;
        }
        if (!data->empty()) {
            std::memcpy(p + pos, data->data(), data->size());
        }
        pos += data->size();
    }
    return out;
}

PdbDatabase ReadPdbFile(const std::filesystem::path& file) {
    std::vector<uint8_t> bytes = ReadBytes(file, std::numeric_limits<std::size_t>::max(), nullptr);
    return ParsePdb(bytes);
}

PdbHeader ReadPdbFileHeader(const std::filesystem::path& file) {
    std::size_t fileSize = 0;
    std::vector<uint8_t> bytes = ReadBytes(file, kPdbHeaderSize, &fileSize);
    return ParsePdbHeader(bytes.data(), bytes.size(), fileSize);
}

}  // namespace wexal::palm
