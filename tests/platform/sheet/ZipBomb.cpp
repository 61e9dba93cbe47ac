#include "tests/platform/sheet/ZipBomb.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include "tests/support/TempDir.h"

namespace wexal::testing {
namespace {

// The head, the body (a unit over and over) and the tail of a part, made as
// libzip reads them. The body is copied from a block of whole units.
struct Pattern {
    Pattern(std::string head, const std::string& unit, std::uint64_t count, std::string tail)
        : head(std::move(head)), tail(std::move(tail)), body(unit.size() * count) {
        while (block.size() < 64 * 1024) {
            block += unit;
        }
    }
    std::uint64_t Size() const { return head.size() + body + tail.size(); }
    // Up to `length` bytes from `at` on.
    std::uint64_t Copy(char* data, std::uint64_t length) const {
        if (at < head.size()) {
            length = std::min<std::uint64_t>(length, head.size() - at);
            std::memcpy(data, head.data() + at, length);
        } else if (at < head.size() + body) {
            const std::uint64_t offset = (at - head.size()) % block.size();
            length = std::min({length, block.size() - offset, head.size() + body - at});
            std::memcpy(data, block.data() + offset, length);
        } else {
            length = std::min<std::uint64_t>(length, Size() - at);
            std::memcpy(data, tail.data() + (at - head.size() - body), length);
        }
        return length;
    }

    std::string head;
    std::string tail;
    std::string block;
    std::uint64_t body;
    std::uint64_t at = 0;
    zip_error_t error{};
};

zip_int64_t PatternSource(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto* pattern = static_cast<Pattern*>(state);
    switch (command) {
        case ZIP_SOURCE_OPEN:
            pattern->at = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            const std::uint64_t n = pattern->Copy(static_cast<char*>(data), length);
            pattern->at += n;
            return static_cast<zip_int64_t>(n);
        }
        case ZIP_SOURCE_STAT: {
            auto* stat = static_cast<zip_stat_t*>(data);
            zip_stat_init(stat);
            stat->size = pattern->Size();
            stat->valid |= ZIP_STAT_SIZE;
            return sizeof *stat;
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&pattern->error, data, length);
        case ZIP_SOURCE_FREE:
            delete pattern;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                  ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            return 0;
    }
}

void PutLittleEndian32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.at(at + static_cast<std::size_t>(i)) = static_cast<char>(value >> (8 * i));
    }
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    }
    return value;
}

// Sets the uncompressed size of `part` in its central directory entry and
// in the local header that the entry points at.
void DeclareSize(const std::filesystem::path& path, const std::string& part, std::uint32_t size) {
    std::string bytes = ReadFile(path);
    const std::string central("PK\x01\x02", 4);
    for (std::size_t at = bytes.find(central); at != std::string::npos;
         at = bytes.find(central, at + 4)) {
        const std::uint32_t nameLength = LittleEndian(bytes, at + 28, 2);
        if (bytes.compare(at + 46, nameLength, part) != 0) {
            continue;
        }
        PutLittleEndian32(bytes, at + 24, size);
        PutLittleEndian32(bytes, LittleEndian(bytes, at + 42, 4) + 22, size);
        WriteFile(path, bytes);
        return;
    }
    throw std::runtime_error("no central directory entry for " + part);
}

}  // namespace

void PutZeroPart(const std::filesystem::path& path, const std::string& part, std::uint64_t size,
                 std::optional<std::uint32_t> declaredSize) {
    PutRepeatedPart(path, part, "", std::string(1, '\0'), size, "");
    if (declaredSize) {
        DeclareSize(path, part, *declaredSize);
    }
}

void PutRepeatedPart(const std::filesystem::path& path, const std::string& part,
                     const std::string& head, const std::string& unit, std::uint64_t count,
                     const std::string& tail) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), 0, &error);
    if (archive == nullptr) {
        throw std::runtime_error("cannot open " + path.string());
    }
    auto* pattern = new Pattern(head, unit, count, tail);
    zip_error_init(&pattern->error);
    zip_source_t* source = zip_source_function(archive, PatternSource, pattern);
    if (source == nullptr) {
        delete pattern;
        zip_discard(archive);
        throw std::runtime_error("cannot make the zero source");
    }
    const zip_int64_t index = zip_name_locate(archive, part.c_str(), 0);
    const bool put =
        index >= 0 ? zip_file_replace(archive, static_cast<zip_uint64_t>(index), source, 0) == 0
                   : zip_file_add(archive, part.c_str(), source, 0) >= 0;
    if (!put) {
        zip_source_free(source);
        zip_discard(archive);
        throw std::runtime_error("cannot put " + part);
    }
    if (zip_close(archive) != 0) {
        const std::string why = zip_strerror(archive);
        zip_discard(archive);
        throw std::runtime_error("cannot write " + path.string() + ": " + why);
    }
}

}  // namespace wexal::testing
