// File versions from the build's version note: the project's own binaries, an
// independent reader (readelf) that agrees, files without a sound note, and
// notes built by hand in every ELF class and byte order with each field set
// wrong in turn.
#include "desktop/core/clsFileVersion.h"

#include "desktop/core/ElfVersionNote.h"

#include <elf.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace {

using wexal::testing::ReadFile;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;

// The version as `readelf -n` shows the descriptor of the Wexal note (the
// words read least significant byte first, as on this machine).
std::string ReadelfVersion(const std::string& file) {
    FILE* pipe = ::popen(("readelf -n --wide '" + file + "' 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return "";
    }
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    ::pclose(pipe);
    const std::size_t owner = output.find("  Wexal ");
    const std::size_t data = output.find("description data:", owner);
    if (owner == std::string::npos || data == std::string::npos) {
        return "";
    }
    std::istringstream bytes(output.substr(data + 17, output.find('\n', data) - data - 17));
    std::vector<unsigned> b;
    for (unsigned byte; bytes >> std::hex >> byte;) {
        b.push_back(byte);
    }
    if (b.size() != 8) {
        return "";
    }
    return std::to_string(b[2] | b[3] << 8) + "." + std::to_string(b[0] | b[1] << 8) + "." +
           std::to_string(b[6] | b[7] << 8) + "." + std::to_string(b[4] | b[5] << 8);
}

TEST(FileVersionTest, ProjectBinariesCarryTheirVersion) {
    clsFileVersion version;
    for (const char* file : {WEXAL_CONDUIT_LIBRARY, WEXAL_HOTSYNC_PROGRAM}) {
        EXPECT_EQ(version.GetVersion(file), "2.6.32.0") << file;
        EXPECT_EQ(ReadelfVersion(file), "2.6.32.0") << file;
    }
}

TEST(FileVersionTest, FilesWithoutASoundNoteAreNotFound) {
    TempDir dir;
    const std::string library = ReadFile(WEXAL_CONDUIT_LIBRARY);
    ASSERT_GT(library.size(), 4096u);
    WriteFile(dir / "notes.txt", "Not a program at all.\r\n");
    std::vector<std::string> files = {(dir / "notes.txt").string(), "/bin/true",
                                      (dir / "missing.so").string(), dir.path().string()};
    for (std::size_t cut :
         {std::size_t{0}, std::size_t{4}, std::size_t{20}, std::size_t{63}, std::size_t{64},
          std::size_t{1024}, library.size() / 2, library.size() - 1}) {
        const auto file = dir / ("cut-" + std::to_string(cut) + ".so");
        WriteFile(file, library.substr(0, cut));
        files.push_back(file.string());
    }
    clsFileVersion version;
    EXPECT_EQ(version.GetVersion(WEXAL_CONDUIT_LIBRARY), "2.6.32.0");
    for (const std::string& file : files) {
        EXPECT_EQ(version.GetVersion(file), "Not Found") << file;
    }
}

// A small ELF file: a header, the section names, a note section and three
// section headers (none, names, notes), in either class and byte order.
struct ElfShape {
    bool is64 = true;
    bool bigEndian = false;
    std::string sectionName = ".note.wexal.version";
    std::uint32_t sectionType = SHT_NOTE;
    std::vector<std::string> notes;
};

void Put(std::string& bytes, std::size_t at, std::size_t width, std::uint64_t value, bool big) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[at + (big ? width - 1 - i : i)] = static_cast<char>(value >> (8 * i) & 0xFF);
    }
}

std::string Note(const std::string& owner, std::uint32_t type, const std::string& descriptor,
                 bool big = false) {
    std::string note(12, '\0');
    Put(note, 0, 4, owner.size() + 1, big);
    Put(note, 4, 4, descriptor.size(), big);
    Put(note, 8, 4, type, big);
    note += owner + '\0';
    note.resize((note.size() + 3) / 4 * 4, '\0');
    note += descriptor;
    note.resize((note.size() + 3) / 4 * 4, '\0');
    return note;
}

std::string Words(std::uint32_t ms, std::uint32_t ls, bool big = false) {
    std::string words(8, '\0');
    Put(words, 0, 4, ms, big);
    Put(words, 4, 4, ls, big);
    return words;
}

template <typename Ehdr, typename Shdr>
std::string BuildElf(const ElfShape& shape) {
    const bool big = shape.bigEndian;
    const std::string names = std::string("\0.shstrtab\0", 11) + shape.sectionName + '\0';
    std::string notes;
    for (const std::string& note : shape.notes) {
        notes += note;
    }
    const std::size_t namesAt = sizeof(Ehdr);
    const std::size_t notesAt = (namesAt + names.size() + 3) / 4 * 4;
    const std::size_t table = (notesAt + notes.size() + 7) / 8 * 8;
    std::string out(table + 3 * sizeof(Shdr), '\0');
    std::memcpy(out.data(), ELFMAG, SELFMAG);
    out[EI_CLASS] = shape.is64 ? ELFCLASS64 : ELFCLASS32;
    out[EI_DATA] = big ? ELFDATA2MSB : ELFDATA2LSB;
    out[EI_VERSION] = EV_CURRENT;
    auto header = [&](std::size_t at, std::size_t width, std::uint64_t value) {
        Put(out, at, width, value, big);
    };
    header(offsetof(Ehdr, e_shoff), sizeof(Ehdr::e_shoff), table);
    header(offsetof(Ehdr, e_ehsize), 2, sizeof(Ehdr));
    header(offsetof(Ehdr, e_shentsize), 2, sizeof(Shdr));
    header(offsetof(Ehdr, e_shnum), 2, 3);
    header(offsetof(Ehdr, e_shstrndx), 2, 1);
    auto section = [&](std::size_t index, std::uint32_t name, std::uint32_t type,
                       std::size_t offset, std::size_t size) {
        const std::size_t at = table + index * sizeof(Shdr);
        const std::size_t word = sizeof(Shdr::sh_offset);
        Put(out, at + offsetof(Shdr, sh_name), 4, name, big);
        Put(out, at + offsetof(Shdr, sh_type), 4, type, big);
        Put(out, at + offsetof(Shdr, sh_offset), word, offset, big);
        Put(out, at + offsetof(Shdr, sh_size), word, size, big);
        Put(out, at + offsetof(Shdr, sh_addralign), word, 4, big);
    };
    section(1, 1, SHT_STRTAB, namesAt, names.size());
    section(2, 11, shape.sectionType, notesAt, notes.size());
    out.replace(namesAt, names.size(), names);
    out.replace(notesAt, notes.size(), notes);
    return out;
}

std::string BuildElf(const ElfShape& shape) {
    return shape.is64 ? BuildElf<Elf64_Ehdr, Elf64_Shdr>(shape)
                      : BuildElf<Elf32_Ehdr, Elf32_Shdr>(shape);
}

class CraftedNoteTest : public ::testing::Test {
  protected:
    // The version by path; the reader must ask only for bytes within the file.
    std::string VersionOf(const std::string& bytes) {
        bool inside = true;
        const ReadAt readAt = [&](std::uint64_t offset, std::size_t size, void* out) {
            inside = inside && offset <= bytes.size() && size <= bytes.size() - offset;
            if (inside) {
                std::memcpy(out, bytes.data() + offset, size);
            }
            return inside;
        };
        const bool found = ReadVersionNote(bytes.size(), readAt).has_value();
        EXPECT_TRUE(inside);
        WriteFile(dir_ / "file", bytes);
        const std::string text = version_.GetVersion((dir_ / "file").string());
        EXPECT_EQ(found, text != "Not Found");
        return text;
    }

    TempDir dir_;
    clsFileVersion version_;  // one object for every file, as callers use it
};

TEST_F(CraftedNoteTest, EveryClassAndByteOrder) {
    for (bool is64 : {true, false}) {
        for (bool big : {false, true}) {
            ElfShape shape;
            shape.is64 = is64;
            shape.bigEndian = big;
            // 1.32768 and 65535: no part is negative or carries into the next.
            shape.notes = {Note("GNU", 3, std::string(20, 'x'), big),
                           Note("Wexal", 1, Words(0x00018000, 0xFFFF0012, big), big)};
            EXPECT_EQ(VersionOf(BuildElf(shape)), "1.32768.65535.18") << is64 << big;
            shape.notes = {Note("Wexal", 1, Words(0x00040001, 0x00000012, big), big)};
            EXPECT_EQ(VersionOf(BuildElf(shape)), "4.1.0.18") << is64 << big;
        }
    }
}

TEST_F(CraftedNoteTest, AnythingInconsistentIsNotFound) {
    const std::string good = Note("Wexal", 1, Words(0x00020006, 0x00200000));
    ElfShape shape;
    shape.notes = {good};
    const std::string sound = BuildElf(shape);
    ASSERT_EQ(VersionOf(sound), "2.6.32.0");

    const std::size_t table = sound.size() - 3 * sizeof(Elf64_Shdr);
    const std::size_t notes = sizeof(Elf64_Ehdr) + 32;  // after the 31 bytes of names
    auto header = [](std::size_t field, std::size_t width, std::uint64_t value) {
        return [=](std::string& bytes) { Put(bytes, field, width, value, false); };
    };
    auto section = [&](std::size_t index, std::size_t field, std::size_t width,
                       std::uint64_t value) {
        return header(table + index * sizeof(Elf64_Shdr) + field, width, value);
    };
    const std::vector<std::pair<std::string, std::function<void(std::string&)>>> changes = {
        {"magic", [](std::string& b) { b[1] = 'X'; }},
        {"class", [](std::string& b) { b[EI_CLASS] = 3; }},
        {"byte order", [](std::string& b) { b[EI_DATA] = 0; }},
        {"table past the end", header(offsetof(Elf64_Ehdr, e_shoff), 8, sound.size() - 8)},
        {"table offset wraps", header(offsetof(Elf64_Ehdr, e_shoff), 8, ~0ULL - 8)},
        {"no sections", header(offsetof(Elf64_Ehdr, e_shnum), 2, 0)},
        {"more sections than the file", header(offsetof(Elf64_Ehdr, e_shnum), 2, 0x7FFF)},
        {"short section headers", header(offsetof(Elf64_Ehdr, e_shentsize), 2, 32)},
        {"names index", header(offsetof(Elf64_Ehdr, e_shstrndx), 2, 3)},
        {"names past the end", section(1, offsetof(Elf64_Shdr, sh_size), 8, sound.size())},
        {"name past the names", section(2, offsetof(Elf64_Shdr, sh_name), 4, 25)},
        {"note past the end", section(2, offsetof(Elf64_Shdr, sh_offset), 8, sound.size())},
        {"note size wraps", section(2, offsetof(Elf64_Shdr, sh_size), 8, ~0ULL - 4)},
        {"descriptor cut by the section's end", section(2, offsetof(Elf64_Shdr, sh_size), 8, 24)},
        {"owner size past the section", header(notes, 4, 0xFFFFFFFF)},
        {"descriptor size past the section", header(notes + 4, 4, 0x100)},
        {"not a note section", section(2, offsetof(Elf64_Shdr, sh_type), 4, SHT_PROGBITS)},
    };
    for (const auto& [what, change] : changes) {
        std::string bytes = sound;
        change(bytes);
        EXPECT_EQ(VersionOf(bytes), "Not Found") << what;
    }

    const std::vector<std::pair<std::string, ElfShape>> shapes = {
        {"other owner",
         {true, false, shape.sectionName, SHT_NOTE, {Note("Wexam", 1, Words(1, 1))}}},
        {"other type", {true, false, shape.sectionName, SHT_NOTE, {Note("Wexal", 2, Words(1, 1))}}},
        {"short descriptor",
         {true, false, shape.sectionName, SHT_NOTE, {Note("Wexal", 1, std::string(4, '\1'))}}},
        {"other section", {true, false, ".note.wexal.version2", SHT_NOTE, {good}}},
        {"no notes", {true, false, shape.sectionName, SHT_NOTE, {}}},
    };
    for (const auto& [what, other] : shapes) {
        EXPECT_EQ(VersionOf(BuildElf(other)), "Not Found") << what;
    }
}

}  // namespace
