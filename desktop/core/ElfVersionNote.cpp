#include "desktop/core/ElfVersionNote.h"

#include <elf.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// The name must end right there: ".note.wexal.version2" is another section.
constexpr std::string_view kSectionName{".note.wexal.version", sizeof ".note.wexal.version"};
constexpr std::string_view kOwner{"Wexal", sizeof "Wexal"};
constexpr std::uint32_t kNoteType = 1;
constexpr std::uint32_t kDescriptorSize = 8;
// The build writes one note of 28 bytes; more than this is never read.
constexpr std::uint64_t kMaxNoteSection = 64000;

// Where the fields that the reader needs lie in one class of ELF file, and
// how wide they are.
struct Layout {
    std::size_t headerSize;
    std::size_t shoff, shentsize, shnum, shstrndx;
    std::size_t sectionHeaderSize;
    std::size_t name, type, offset, size, addralign;
    std::size_t wordSize;  // of the offsets and sizes
};

template <typename Ehdr, typename Shdr>
constexpr Layout LayoutOf() {
    return {sizeof(Ehdr),
            offsetof(Ehdr, e_shoff),
            offsetof(Ehdr, e_shentsize),
            offsetof(Ehdr, e_shnum),
            offsetof(Ehdr, e_shstrndx),
            sizeof(Shdr),
            offsetof(Shdr, sh_name),
            offsetof(Shdr, sh_type),
            offsetof(Shdr, sh_offset),
            offsetof(Shdr, sh_size),
            offsetof(Shdr, sh_addralign),
            sizeof(Shdr::sh_offset)};
}

constexpr Layout kElf32 = LayoutOf<Elf32_Ehdr, Elf32_Shdr>();
constexpr Layout kElf64 = LayoutOf<Elf64_Ehdr, Elf64_Shdr>();

struct Section {
    std::uint64_t name = 0;
    std::uint64_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t addralign = 0;
};

class Reader {
  public:
    Reader(std::uint64_t fileSize, const ReadAt& readAt) : fileSize_(fileSize), readAt_(readAt) {}

    bool Fits(std::uint64_t offset, std::uint64_t size) const {
        return offset <= fileSize_ && size <= fileSize_ - offset;
    }
    // Nothing to read asks nothing of the file (`out` may then be null).
    bool Read(std::uint64_t offset, std::uint64_t size, void* out) const {
        if (size == 0) {
            return Fits(offset, size);
        }
        return Fits(offset, size) && readAt_(offset, static_cast<std::size_t>(size), out);
    }

    std::optional<VersionWords> Run() {
        unsigned char ident[EI_NIDENT];
        if (!Read(0, EI_NIDENT, ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
            ident[EI_VERSION] != EV_CURRENT) {
            return std::nullopt;
        }
        if (ident[EI_CLASS] == ELFCLASS32) {
            layout_ = &kElf32;
        } else if (ident[EI_CLASS] == ELFCLASS64) {
            layout_ = &kElf64;
        } else {
            return std::nullopt;
        }
        if (ident[EI_DATA] != ELFDATA2LSB && ident[EI_DATA] != ELFDATA2MSB) {
            return std::nullopt;
        }
        bigEndian_ = ident[EI_DATA] == ELFDATA2MSB;

        std::array<unsigned char, sizeof(Elf64_Ehdr)> header{};
        if (!Read(0, layout_->headerSize, header.data())) {
            return std::nullopt;
        }
        table_ = Field(header.data(), layout_->shoff, layout_->wordSize);
        entrySize_ = Field(header.data(), layout_->shentsize, 2);
        const std::uint64_t count = Field(header.data(), layout_->shnum, 2);
        const std::uint64_t namesIndex = Field(header.data(), layout_->shstrndx, 2);
        // No table, a count kept elsewhere (0) or a names index kept elsewhere
        // (SHN_XINDEX): none of them on a file this project builds.
        if (table_ == 0 || count == 0 || entrySize_ < layout_->sectionHeaderSize ||
            namesIndex >= count || !Fits(table_, count * entrySize_)) {
            return std::nullopt;
        }
        Section names;
        if (!SectionAt(namesIndex, names) || !Fits(names.offset, names.size)) {
            return std::nullopt;
        }
        for (std::uint64_t index = 0; index < count; ++index) {
            Section section;
            if (!SectionAt(index, section)) {
                return std::nullopt;
            }
            if (section.type != SHT_NOTE || section.name > names.size ||
                kSectionName.size() > names.size - section.name) {
                continue;
            }
            char name[kSectionName.size()];
            if (!Read(names.offset + section.name, sizeof name, name)) {
                return std::nullopt;
            }
            if (std::string_view(name, sizeof name) == kSectionName) {
                return Notes(section);
            }
        }
        return std::nullopt;
    }

  private:
    // An unsigned field of `width` bytes at `at`, in the file's byte order.
    std::uint64_t Field(const unsigned char* bytes, std::size_t at, std::size_t width) const {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value = value << 8 | bytes[at + (bigEndian_ ? i : width - 1 - i)];
        }
        return value;
    }

    bool SectionAt(std::uint64_t index, Section& out) const {
        std::array<unsigned char, sizeof(Elf64_Shdr)> bytes{};
        if (!Read(table_ + index * entrySize_, layout_->sectionHeaderSize, bytes.data())) {
            return false;
        }
        const std::size_t word = layout_->wordSize;
        out.name = Field(bytes.data(), layout_->name, 4);
        out.type = Field(bytes.data(), layout_->type, 4);
        out.offset = Field(bytes.data(), layout_->offset, word);
        out.size = Field(bytes.data(), layout_->size, word);
        out.addralign = Field(bytes.data(), layout_->addralign, word);
        return true;
    }

    // The version among the notes of the section.
    std::optional<VersionWords> Notes(const Section& section) const {
        if (!Fits(section.offset, section.size)) {
            return std::nullopt;
        }
        const std::uint64_t size = std::min(section.size, kMaxNoteSection);
        std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
        if (!Read(section.offset, size, bytes.data())) {
            return std::nullopt;
        }
        const std::uint64_t align = section.addralign == 8 ? 8 : 4;
        std::uint64_t pos = 0;
        // Takes `n` bytes and their padding (which the last field may lack);
        // false when the bytes are not all there.
        auto take = [&](std::uint64_t n, std::uint64_t& at) {
            if (n > size - pos) {
                return false;
            }
            at = pos;
            pos += std::min((n + align - 1) / align * align, size - pos);
            return true;
        };
        while (size - pos >= 12) {
            const std::uint64_t nameSize = Field(bytes.data(), pos, 4);
            const std::uint64_t descriptorSize = Field(bytes.data(), pos + 4, 4);
            const std::uint64_t type = Field(bytes.data(), pos + 8, 4);
            pos += 12;
            std::uint64_t name = 0;
            std::uint64_t descriptor = 0;
            if (!take(nameSize, name) || !take(descriptorSize, descriptor)) {
                return std::nullopt;
            }
            if (nameSize == kOwner.size() &&
                std::memcmp(&bytes[name], kOwner.data(), kOwner.size()) == 0 && type == kNoteType &&
                descriptorSize == kDescriptorSize) {
                return VersionWords{
                    static_cast<std::uint32_t>(Field(bytes.data(), descriptor, 4)),
                    static_cast<std::uint32_t>(Field(bytes.data(), descriptor + 4, 4))};
            }
        }
        return std::nullopt;
    }

    std::uint64_t fileSize_;
    const ReadAt& readAt_;
    const Layout* layout_ = nullptr;
    bool bigEndian_ = false;
    std::uint64_t table_ = 0;
    std::uint64_t entrySize_ = 0;
};

}  // namespace

std::optional<VersionWords> ReadVersionNote(std::uint64_t fileSize, const ReadAt& readAt) {
    return Reader(fileSize, readAt).Run();
}
