// The handheld store's PDB reader on any file image, record or resource
// database: the whole-file parse, and the header-only read that listing the
// store does. A database that parses must come back unchanged through the
// writer, since the store saves what it read.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "fuzz/ScratchFolder.h"
#include "platform/palm/PdbFile.h"

namespace {

using wexal::palm::PdbDatabase;
using wexal::palm::PdbHeader;
using wexal::palm::PdbRecord;
using wexal::palm::PdbResource;

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

bool SameHeader(const PdbHeader& a, const PdbHeader& b) {
    return a.name == b.name && a.attributes == b.attributes && a.version == b.version &&
           a.creationDate == b.creationDate && a.modificationDate == b.modificationDate &&
           a.backupDate == b.backupDate && a.modificationNumber == b.modificationNumber &&
           a.type == b.type && a.creator == b.creator && a.uniqueIdSeed == b.uniqueIdSeed &&
           a.numRecords == b.numRecords;
}

bool SameRecords(const std::vector<PdbRecord>& a, const std::vector<PdbRecord>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].attributes != b[i].attributes || a[i].uniqueId != b[i].uniqueId ||
            a[i].data != b[i].data) {
            return false;
        }
    }
    return true;
}

bool SameResources(const std::vector<PdbResource>& a, const std::vector<PdbResource>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].type != b[i].type || a[i].id != b[i].id || a[i].data != b[i].data) {
            return false;
        }
    }
    return true;
}

// The header read from the file agrees with the parse of the whole image:
// both fail, or both give the same header.
void CheckHeaderRead(const std::vector<std::uint8_t>& image) {
    const auto path = wexal::fuzz::WriteScratchFile("database.pdb", image.data(), image.size());
    std::optional<PdbHeader> fromFile;
    std::optional<PdbHeader> fromImage;
    try {
        fromFile = wexal::palm::ReadPdbFileHeader(path);
    } catch (const wexal::palm::PdbFormatError&) {
    }
    try {
        fromImage = wexal::palm::ParsePdbHeader(image.data(), image.size(), image.size());
    } catch (const wexal::palm::PdbFormatError&) {
    }
    Check(fromFile.has_value() == fromImage.has_value());
    Check(!fromFile || SameHeader(*fromFile, *fromImage));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> image(data, data + size);
    CheckHeaderRead(image);
    PdbDatabase db;
    try {
        db = wexal::palm::ParsePdb(image.data(), image.size());
    } catch (const wexal::palm::PdbFormatError&) {
        return 0;
    }
    Check(db.header.numRecords == db.records.size() + db.resources.size());
    Check(db.records.empty() || db.resources.empty());
    Check(db.header.name.size() < wexal::palm::kPdbNameSize);

    const std::vector<std::uint8_t> written = wexal::palm::SerializePdb(db);
    const PdbDatabase again = wexal::palm::ParsePdb(written);
    Check(SameHeader(again.header, db.header));
    Check(again.appInfo == db.appInfo && again.sortInfo == db.sortInfo);
    Check(SameRecords(again.records, db.records));
    Check(SameResources(again.resources, db.resources));
    return 0;
}
