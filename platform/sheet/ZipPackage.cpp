#include "platform/sheet/ZipPackage.h"

#include <zip.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/sheet/SheetError.h"

namespace wexal::sheet {

namespace {

// Deflate's balance of time and size, as most spreadsheet programs write.
constexpr zip_uint32_t kCompressionLevel = 6;

std::string ZipErrorText(zip_error_t* error) {
    std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourceHandle = std::unique_ptr<zip_source_t, SourceFree>;

// A writable source starting with a copy of the bytes. libzip may free the
// buffer that it starts with once it has written the new one, so the copy is
// made with malloc and handed over.
SourceHandle WritableSource(const std::string& bytes) {
    void* copy = std::malloc(bytes.size() > 0 ? bytes.size() : 1);
    if (copy == nullptr) {
        throw SheetError(kErrorCannotSave, "Cannot prepare the workbook: out of memory");
    }
    std::memcpy(copy, bytes.data(), bytes.size());
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(copy, bytes.size(), 1, &error);
    if (source == nullptr) {
        std::free(copy);
        throw SheetError(kErrorCannotSave, "Cannot prepare the workbook: " + ZipErrorText(&error));
    }
    zip_error_fini(&error);
    return SourceHandle(source);
}

std::string ReadWholeSource(zip_source_t* source) {
    if (zip_source_open(source) < 0) {
        throw SheetError(kErrorCannotSave, std::string("Cannot read the new workbook: ") +
                                               zip_error_strerror(zip_source_error(source)));
    }
    std::string bytes;
    std::vector<char> chunk(64 * 1024);
    zip_int64_t got = 0;
    while ((got = zip_source_read(source, chunk.data(), chunk.size())) > 0) {
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    zip_source_close(source);
    if (got < 0) {
        throw SheetError(kErrorCannotSave, "Cannot read the new workbook");
    }
    return bytes;
}

SheetError PartTooLarge(const std::string& name, std::uint64_t maxBytes) {
    return SheetError(kErrorPartTooLarge, "The part " + name + " inflates to more than " +
                                              std::to_string(maxBytes >> 20) +
                                              " MiB, more than any workbook part holds");
}

}  // namespace

ZipPackage::ZipPackage(std::string bytes, std::uint64_t maxPartBytes)
    : bytes_(std::move(bytes)), maxPartBytes_(maxPartBytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
    if (source != nullptr) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (archive_ == nullptr) {
            zip_source_free(source);
        }
    }
    if (archive_ == nullptr) {
        throw SheetError(kErrorCannotOpen,
                         "it is not a zip container (" + ZipErrorText(&error) + ")");
    }
    zip_error_fini(&error);
}

ZipPackage::~ZipPackage() {
    zip_discard(archive_);
}

bool ZipPackage::Has(const std::string& name) const {
    return zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE) >= 0;
}

PartReader::PartReader(zip_file_t* file, std::string name, std::uint64_t declaredSize,
                       std::uint64_t maxBytes)
    : file_(file),
      name_(std::move(name)),
      declaredSize_(declaredSize),
      maxBytes_(maxBytes),
      piece_(64 * 1024) {}

PartReader::~PartReader() {
    zip_fclose(file_);
}

std::string_view PartReader::Next() {
    const zip_int64_t got = zip_fread(file_, piece_.data(), piece_.size());
    if (got < 0) {
        throw SheetError(kErrorDamaged,
                         "The part " + name_ + " is damaged: " + zip_file_strerror(file_));
    }
    // Counted as it inflates, whatever size was declared.
    read_ += static_cast<std::uint64_t>(got);
    if (read_ > maxBytes_) {
        throw PartTooLarge(name_, maxBytes_);
    }
    return {piece_.data(), static_cast<std::size_t>(got)};
}

std::unique_ptr<PartReader> ZipPackage::OpenPart(const std::string& name) const {
    const zip_int64_t index = zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE);
    if (index < 0) {
        return nullptr;
    }
    zip_stat_t declared;
    zip_stat_init(&declared);
    std::uint64_t declaredSize = 0;
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &declared) == 0 &&
        (declared.valid & ZIP_STAT_SIZE) != 0) {
        if (declared.size > maxPartBytes_) {
            throw PartTooLarge(name, maxPartBytes_);
        }
        declaredSize = declared.size;
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        throw SheetError(kErrorDamaged,
                         "The part " + name + " cannot be read: " + zip_strerror(archive_));
    }
    return std::make_unique<PartReader>(file, name, declaredSize, maxPartBytes_);
}

std::optional<std::string> ZipPackage::Read(const std::string& name) const {
    const std::unique_ptr<PartReader> reader = OpenPart(name);
    if (!reader) {
        return std::nullopt;
    }
    std::string bytes;
    for (std::string_view piece = reader->Next(); !piece.empty(); piece = reader->Next()) {
        bytes.append(piece);
    }
    return bytes;
}

std::string ZipPackage::Rewrite(const std::map<std::string, std::string>& replacements,
                                const std::set<std::string>& removals) const {
    // libzip writes the new container into the buffer source on close; the
    // entries that are not touched are copied without being recompressed.
    SourceHandle target = WritableSource(bytes_);
    zip_error_t error;
    zip_error_init(&error);
    zip_t* archive = zip_open_from_source(target.get(), 0, &error);
    if (archive == nullptr) {
        throw SheetError(kErrorCannotSave, "Cannot rewrite the workbook: " + ZipErrorText(&error));
    }
    zip_error_fini(&error);
    zip_source_keep(target.get());

    const auto fail = [archive](const std::string& what) {
        const std::string text = what + ": " + zip_strerror(archive);
        zip_discard(archive);
        throw SheetError(kErrorCannotSave, text);
    };
    for (const std::string& name : removals) {
        const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
        if (index >= 0 && zip_delete(archive, static_cast<zip_uint64_t>(index)) < 0) {
            fail("Cannot leave out " + name);
        }
    }
    for (const auto& [name, bytes] : replacements) {
        zip_source_t* data = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        if (data == nullptr) {
            fail("Cannot replace " + name);
        }
        zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
        if (index >= 0) {
            if (zip_file_replace(archive, static_cast<zip_uint64_t>(index), data, 0) < 0) {
                index = -1;
            }
        } else {
            index = zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8);
        }
        if (index < 0) {
            zip_source_free(data);
            fail("Cannot replace " + name);
        }
        // libzip's own default is its slowest level; it takes a level only
        // together with ZIP_CM_DEFAULT.
        if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFAULT,
                                     kCompressionLevel) < 0) {
            fail("Cannot compress " + name);
        }
    }
    if (zip_close(archive) < 0) {
        fail("Cannot write the workbook");
    }
    return ReadWholeSource(target.get());
}

}  // namespace wexal::sheet
