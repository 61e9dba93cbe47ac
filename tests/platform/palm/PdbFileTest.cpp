#include "platform/palm/PdbFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "tests/platform/palm/PalmTestUtil.h"
#include "tests/support/MissingDependency.h"
#include "tests/support/TempDir.h"

namespace wexal::palm {
namespace {

using testing::Bytes;

std::string BE32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

PdbDatabase SmallDatabase() {
    PdbDatabase db;
    db.header.name = "TestDB";
    db.header.attributes = 0x0008;  // backup
    db.header.version = 1;
    db.header.creationDate = UnixToPalmTime(0);
    db.header.modificationDate = UnixToPalmTime(1700000000);
    db.header.backupDate = 0;
    db.header.modificationNumber = 3;
    db.header.type = FourCC("DATA");
    db.header.creator = FourCC("TLWX");
    db.header.uniqueIdSeed = 0x10;
    db.records.push_back({0x42, 0x000001, Bytes("abc")});
    db.records.push_back({0x00, 0x123456, {}});
    db.records.push_back({0x10, 0xABCDEF, {0x00, 0x01}});
    return db;
}

std::string SmallDatabaseBytes() {
    std::string b;
    b += std::string("TestDB") + std::string(26, '\0');  // name[32]
    b += std::string("\x00\x08", 2);                     // attributes
    b += std::string("\x00\x01", 2);                     // version
    b += std::string("\x7C\x25\xB0\x80", 4);             // 1970-01-01 in 1904 seconds
    b += BE32(1700000000u + 2082844800u);                // modification date
    b += BE32(0);                                        // backup date
    b += BE32(3);                                        // modification number
    b += BE32(0) + BE32(0);                              // appInfo, sortInfo
    b += "DATA";
    b += "TLWX";
    b += BE32(0x10);  // unique id seed
    b += BE32(0);     // next record list
    b += std::string("\x00\x03", 2);
    // Entries: data starts at 78 + 3 * 8 + 2 = 104.
    b += BE32(104) + std::string("\x42\x00\x00\x01", 4);
    b += BE32(107) + std::string("\x00\x12\x34\x56", 4);
    b += BE32(107) + std::string("\x10\xAB\xCD\xEF", 4);
    b += std::string("\x00\x00", 2);  // filler
    b += "abc";
    b += std::string("\x00\x01", 2);
    return b;
}

TEST(PdbFileTest, WritesHeaderAndEntriesByteForByte) {
    std::vector<uint8_t> bytes = SerializePdb(SmallDatabase());
    std::string expected = SmallDatabaseBytes();
    ASSERT_EQ(bytes.size(), 109u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

TEST(PdbFileTest, ReadsWhatItWrites) {
    std::vector<uint8_t> bytes = Bytes(SmallDatabaseBytes());
    PdbDatabase db = ParsePdb(bytes);
    PdbDatabase want = SmallDatabase();
    EXPECT_EQ(db.header.name, "TestDB");
    EXPECT_EQ(db.header.attributes, 0x0008);
    EXPECT_EQ(db.header.version, 1);
    EXPECT_EQ(PalmToUnixTime(db.header.creationDate), 0);
    EXPECT_EQ(PalmToUnixTime(db.header.modificationDate), 1700000000);
    EXPECT_EQ(db.header.modificationNumber, 3u);
    EXPECT_EQ(FourCCToString(db.header.type), "DATA");
    EXPECT_EQ(FourCCToString(db.header.creator), "TLWX");
    EXPECT_EQ(db.header.uniqueIdSeed, 0x10u);
    EXPECT_EQ(db.header.numRecords, 3);
    ASSERT_EQ(db.records.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(db.records[i].attributes, want.records[i].attributes);
        EXPECT_EQ(db.records[i].uniqueId, want.records[i].uniqueId);
        EXPECT_EQ(db.records[i].data, want.records[i].data);
    }
    EXPECT_EQ(SerializePdb(db), bytes);
}

TEST(PdbFileTest, KeepsAppInfoAndSortInfoBlocks) {
    PdbDatabase db = SmallDatabase();
    db.appInfo = Bytes("APPINFO");
    db.sortInfo = Bytes("SORT");
    std::vector<uint8_t> bytes = SerializePdb(db);
    // appInfo right after the filler, sortInfo after it, records after that.
    EXPECT_EQ(std::string(bytes.begin() + 52, bytes.begin() + 56), BE32(104));
    EXPECT_EQ(std::string(bytes.begin() + 56, bytes.begin() + 60), BE32(111));
    EXPECT_EQ(std::string(bytes.begin() + 78, bytes.begin() + 82), BE32(115));
    PdbDatabase back = ParsePdb(bytes);
    EXPECT_EQ(back.appInfo, db.appInfo);
    EXPECT_EQ(back.sortInfo, db.sortInfo);
    EXPECT_EQ(back.records[0].data, Bytes("abc"));
    EXPECT_EQ(SerializePdb(back), bytes);
}

TEST(PdbFileTest, EmptyDatabaseIsHeaderAndFiller) {
    PdbDatabase db;
    db.header.name = "e";
    std::vector<uint8_t> bytes = SerializePdb(db);
    EXPECT_EQ(bytes.size(), 80u);
    PdbDatabase back = ParsePdb(bytes);
    EXPECT_TRUE(back.records.empty());
    // Also without the (optional) filler.
    bytes.resize(78);
    EXPECT_TRUE(ParsePdb(bytes).records.empty());
}

void ExpectDamaged(const std::string& bytes, const std::string& why);

// An application: a resource database with two resources.
PdbDatabase SmallApplication() {
    PdbDatabase db;
    db.header.name = "Wexal";
    db.header.attributes = kPdbAttrResource;
    db.header.version = 1;
    db.header.type = FourCC("appl");
    db.header.creator = FourCC("TLWX");
    db.resources.push_back({FourCC("tSTR"), 1000, Bytes("stand-in")});
    db.resources.push_back({FourCC("tver"), 1, Bytes("2.6")});
    return db;
}

TEST(PdbFileTest, ResourceDatabasesHaveTenByteEntries) {
    std::vector<uint8_t> bytes = SerializePdb(SmallApplication());
    // Entries: type, id, offset; data after 78 + 2 * 10 + 2 = 100 bytes.
    ASSERT_EQ(bytes.size(), 100u + 8 + 3);
    EXPECT_EQ(
        std::string(bytes.begin() + 78, bytes.begin() + 98),
        std::string("tSTR\x03\xE8", 6) + BE32(100) + std::string("tver\x00\x01", 6) + BE32(108));
    EXPECT_EQ(std::string(bytes.begin() + 100, bytes.end()), "stand-in2.6");

    PdbDatabase back = ParsePdb(bytes);
    EXPECT_TRUE(back.header.IsResourceDatabase());
    EXPECT_EQ(back.header.numRecords, 2);
    EXPECT_TRUE(back.records.empty());
    ASSERT_EQ(back.resources.size(), 2u);
    EXPECT_EQ(FourCCToString(back.resources[1].type), "tver");
    EXPECT_EQ(back.resources[1].id, 1);
    EXPECT_EQ(back.resources[1].data, Bytes("2.6"));
    EXPECT_EQ(SerializePdb(back), bytes);

    // Records and resources do not mix.
    PdbDatabase mixed = SmallApplication();
    mixed.records.push_back({});
    EXPECT_THROW(SerializePdb(mixed), PdbFormatError);
    mixed = SmallDatabase();
    mixed.resources.push_back({});
    EXPECT_THROW(SerializePdb(mixed), PdbFormatError);
    // A resource list that does not fit the file.
    std::string cut(bytes.begin(), bytes.begin() + 95);
    ExpectDamaged(cut, "resource list cut");
}

TEST(PdbFileTest, FourCharacterCodes) {
    EXPECT_EQ(FourCC("TLWX"), 0x544C5758u);
    EXPECT_EQ(FourCCToString(0x44415441u), "DATA");
    EXPECT_THROW(FourCC(std::string("ABC")), std::invalid_argument);
    EXPECT_EQ(UnixToPalmTime(0), 2082844800u);
}

TEST(PdbFileTest, RefusesWhatItCannotRepresent) {
    PdbDatabase db = SmallDatabase();
    db.header.name = std::string(32, 'x');
    EXPECT_THROW(SerializePdb(db), PdbFormatError);
    db = SmallDatabase();
    db.records[0].uniqueId = 0x1000000;
    EXPECT_THROW(SerializePdb(db), PdbFormatError);
    db = SmallDatabase();
    db.records.resize(kPdbMaxRecords + 1);
    EXPECT_THROW(SerializePdb(db), PdbFormatError);
}

// --- Damaged files ---------------------------------------------------------------

void ExpectDamaged(const std::string& bytes, const std::string& why) {
    std::vector<uint8_t> v = Bytes(bytes);
    EXPECT_THROW(ParsePdb(v), PdbFormatError) << why;
}

void Patch(std::string& bytes, std::size_t at, const std::string& with) {
    bytes.replace(at, with.size(), with);
}

TEST(PdbFileTest, RejectsDamagedFiles) {
    const std::string good = SmallDatabaseBytes();
    ExpectDamaged("", "empty");
    ExpectDamaged(good.substr(0, 77), "header cut");
    ExpectDamaged(good.substr(0, 90), "record list cut");

    std::string b = good;
    Patch(b, 78, BE32(5000));
    ExpectDamaged(b, "record offset past the end");
    b = good;
    Patch(b, 86, BE32(0xFFFFFFFF));
    ExpectDamaged(b, "record offset far past the end");
    b = good;
    Patch(b, 78, BE32(20));
    ExpectDamaged(b, "record offset inside the header");
    b = good;
    Patch(b, 86, BE32(103));
    ExpectDamaged(b, "record offsets out of order");
    b = good;
    Patch(b, 76, std::string("\xFF\xFF", 2));
    ExpectDamaged(b, "record count larger than the file");
    b = good;
    Patch(b, 52, BE32(500));
    ExpectDamaged(b, "appInfo past the end");
    b = good;
    Patch(b, 52, BE32(106));
    ExpectDamaged(b, "appInfo after the first record");
    b = good;
    Patch(b, 0, std::string(32, 'N'));
    ExpectDamaged(b, "name without terminator");
    b = good;
    Patch(b, 72, BE32(1));
    ExpectDamaged(b, "chained record list");
    b = good;
    Patch(b, 32, std::string("\x00\x01", 2));
    ExpectDamaged(b, "record entries read as 10-byte resource entries");
}

TEST(PdbFileTest, EveryTruncationIsRejectedOrParsedSafely) {
    const std::string good = SmallDatabaseBytes();
    for (std::size_t len = 0; len < good.size(); ++len) {
        std::vector<uint8_t> v(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(len));
        try {
            PdbDatabase db = ParsePdb(v);
            // Only a cut inside the record data can still parse.
            EXPECT_GE(len, 107u) << len;
        } catch (const PdbFormatError&) {
            EXPECT_LT(len, 107u) << len;
        }
    }
}

TEST(PdbFileTest, RandomCorruptionNeverCrashes) {
    const std::string good = SmallDatabaseBytes();
    std::mt19937 rng(12345);
    int parsed = 0;
    int refused = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> v = Bytes(good);
        int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i) {
            v[rng() % v.size()] = static_cast<uint8_t>(rng());
        }
        if (rng() % 3 == 0) {
            v.resize(rng() % (v.size() + 1));
        }
        try {
            PdbDatabase db = ParsePdb(v);
            std::size_t total = 0;
            for (const auto& r : db.records) {
                total += r.data.size();
            }
            EXPECT_LE(total, v.size());
            ++parsed;
        } catch (const PdbFormatError&) {
            ++refused;
        }
    }
    EXPECT_GT(parsed, 0);
    EXPECT_GT(refused, 0);
}

TEST(PdbFileTest, ReadsFilesAndHeaders) {
    wexal::testing::TempDir dir;
    wexal::testing::WriteFile(dir / "x.pdb", SmallDatabaseBytes());
    PdbHeader h = ReadPdbFileHeader(dir / "x.pdb");
    EXPECT_EQ(h.name, "TestDB");
    EXPECT_EQ(h.numRecords, 3);
    EXPECT_EQ(ReadPdbFile(dir / "x.pdb").records.size(), 3u);
    EXPECT_THROW(ReadPdbFile(dir / "missing.pdb"), std::system_error);
    wexal::testing::WriteFile(dir / "short.pdb", SmallDatabaseBytes().substr(0, 90));
    EXPECT_THROW(ReadPdbFileHeader(dir / "short.pdb"), PdbFormatError);
}

// --- An independent reader ---------------------------------------------------------

TEST(PdbFileTest, IndependentReaderPdbdumpAgrees) {
    if (!std::filesystem::exists(WEXAL_PDBDUMP)) {
        WEXAL_MISSING_DEPENDENCY("pdbdump (libpalm-perl) is not installed");
    }
    if (testing::RunCommand("perl -MPalm::PDB -e 1").status != 0) {
        WEXAL_MISSING_DEPENDENCY("perl module Palm::PDB is not installed");
    }
    wexal::testing::TempDir dir;
    PdbDatabase db = SmallDatabase();
    db.records[1].data = Bytes("hello world");
    std::vector<uint8_t> bytes = SerializePdb(db);
    wexal::testing::WriteFile(dir / "TestDB.pdb", std::string(bytes.begin(), bytes.end()));

    testing::CommandResult r = testing::RunCommand("perl " + testing::ShellQuote(WEXAL_PDBDUMP) +
                                                   " " + testing::ShellQuote((dir / "TestDB.pdb")));
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string& out = r.output;
    EXPECT_NE(out.find("Name:           TestDB"), std::string::npos) << out;
    EXPECT_NE(out.find("Type:           DATA"), std::string::npos) << out;
    EXPECT_NE(out.find("Creator:        TLWX"), std::string::npos) << out;
    EXPECT_NE(out.find("Unique ID seed: 16"), std::string::npos) << out;
    EXPECT_NE(out.find("Mod number:     3"), std::string::npos) << out;
    EXPECT_NE(out.find("Ctime:          2082844800"), std::string::npos) << out;
    EXPECT_NE(out.find("# records:      3"), std::string::npos) << out;
    EXPECT_NE(out.find("ID:             0x000001"), std::string::npos) << out;
    EXPECT_NE(out.find("ID:             0x123456"), std::string::npos) << out;
    EXPECT_NE(out.find("ID:             0xabcdef"), std::string::npos) << out;
    EXPECT_NE(out.find("Category:       2"), std::string::npos) << out;
    // Record data as pdbdump's hex dump shows it.
    EXPECT_NE(out.find("61 62 63"), std::string::npos) << out;
    EXPECT_NE(out.find("hello world"), std::string::npos) << out;
    EXPECT_EQ(out.find("Record 0 has same offset"), std::string::npos) << out;

    bytes = SerializePdb(SmallApplication());
    wexal::testing::WriteFile(dir / "Wexal.prc", std::string(bytes.begin(), bytes.end()));
    r = testing::RunCommand("perl " + testing::ShellQuote(WEXAL_PDBDUMP) + " " +
                            testing::ShellQuote((dir / "Wexal.prc")));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Type:           appl"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("RESOURCE"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Type:           tver"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Offset:         108"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace wexal::palm
