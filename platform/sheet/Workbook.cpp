#include "platform/sheet/Workbook.h"

#include <strings.h>

#include <map>
#include <set>
#include <system_error>

#include "platform/files/AtomicFile.h"
#include "platform/files/RegularFile.h"
#include "platform/sheet/PackageParts.h"
#include "platform/sheet/SheetError.h"
#include "platform/sheet/WorkbookParts.h"

namespace wexal::sheet {

namespace {

// The start of an OLE compound file: the old binary workbooks, and the
// container of encrypted ones.
constexpr std::string_view kCompoundFileSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// A FIFO would hold the sync or the dialog until some writer came, and a
// device such as /dev/zero would be read until memory ran out.
std::string ReadWholeFile(const std::filesystem::path& path) {
    std::string bytes;
    int error = 0;
    if (!files::ReadRegularFile(path, bytes, error)) {
        throw SheetError(kErrorCannotOpen, files::ErrorText(error));
    }
    return bytes;
}

// What `open` makes of the file's bytes; every failure names the file.
template <typename Open>
auto OpenFile(const std::filesystem::path& path, Open open) {
    try {
        std::string bytes = ReadWholeFile(path);
        if (std::string_view(bytes).starts_with(kCompoundFileSignature)) {
            throw SheetError(kErrorCannotOpen,
                             "it is an old binary workbook (.xls) or an encrypted one; only "
                             ".xlsx workbooks can be opened");
        }
        return open(std::move(bytes));
    } catch (const SheetError& error) {
        throw SheetError(kErrorCannotOpen,
                         "Cannot open the workbook " + path.string() + ": " + error.Description());
    }
}

std::unique_ptr<ZipPackage> PackageOf(std::string bytes) {
    try {
        return std::make_unique<ZipPackage>(std::move(bytes));
    } catch (const SheetError&) {
        throw SheetError(kErrorCannotOpen, "it is not an .xlsx workbook");
    }
}

}  // namespace

Worksheet& WorksheetCollection::Item(std::string_view name) {
    for (const auto& sheet : sheets_) {
        if (sheet->Name().size() == name.size() &&
            strncasecmp(sheet->Name().c_str(), name.data(), name.size()) == 0) {
            return *sheet;
        }
    }
    throw SheetError(kErrorNoSuchSheet, "The workbook " + workbook_->Path().string() +
                                            " has no worksheet named \"" + std::string(name) +
                                            "\"");
}

void WorksheetCollection::Add(std::string name, std::string partName) {
    sheets_.push_back(
        std::make_unique<Worksheet>(*workbook_, std::move(name), std::move(partName)));
}

Workbook::Workbook(std::filesystem::path path) : path_(std::move(path)), worksheets_(*this) {
    OpenFile(path_, [this](std::string bytes) { Load(std::move(bytes)); });
}

std::vector<std::string> Workbook::WorksheetNames(const std::filesystem::path& path) {
    return OpenFile(path, [](std::string bytes) {
        const std::unique_ptr<ZipPackage> package = PackageOf(std::move(bytes));
        std::vector<std::string> names;
        for (SheetEntry& sheet : ListWorksheets(*package, FindWorkbookParts(*package))) {
            names.push_back(std::move(sheet.name));
        }
        return names;
    });
}

Workbook::~Workbook() = default;

void Workbook::Load(std::string bytes) {
    package_ = PackageOf(std::move(bytes));
    const WorkbookParts parts = FindWorkbookParts(*package_);
    workbookPart_ = parts.workbookPart;
    for (const Relationship& relationship : parts.relationships) {
        if (HasRelationshipType(relationship, "sharedStrings")) {
            auto strings = ReadSharedStrings(*package_, relationship.part);
            if (!strings) {
                throw MissingPart(relationship.part);
            }
            sharedStrings_ = std::move(*strings);
        } else if (HasRelationshipType(relationship, "styles")) {
            dateStyles_ = DateStyles(ReadPart(relationship.part), relationship.part);
        } else if (HasRelationshipType(relationship, "calcChain")) {
            calcChainPart_ = relationship.part;
        }
    }
    for (SheetEntry& sheet : ListWorksheets(*package_, parts)) {
        worksheets_.Add(std::move(sheet.name), std::move(sheet.part));
    }
}

void Workbook::CheckOpen() const {
    if (!IsOpen()) {
        throw SheetError(kErrorClosed, "The workbook " + path_.string() + " is closed");
    }
}

std::string Workbook::ReadPart(const std::string& partName) const {
    return ReadPartOf(*package_, partName);
}

WorksheetCollection& Workbook::Worksheets() {
    CheckOpen();
    return worksheets_;
}

std::unique_ptr<SheetPart> Workbook::LoadSheetPart(const std::string& partName) {
    CheckOpen();
    return std::make_unique<SheetPart>(ReadPart(partName), partName, sharedStrings_, dateStyles_);
}

void Workbook::Save() {
    CheckOpen();
    std::map<std::string, std::string> replacements;
    std::vector<SheetPart*> saved;
    for (const auto& sheet : worksheets_.All()) {
        SheetPart* part = sheet->LoadedPart();
        if (part != nullptr && part->Modified()) {
            replacements[part->PartName()] = part->Serialize();
            saved.push_back(part);
        }
    }
    if (replacements.empty()) {
        return;
    }
    std::set<std::string> removals;
    const bool dropCalcChain = formulaOverwritten_ && calcChainPart_.has_value();
    if (dropCalcChain) {
        removals.insert(*calcChainPart_);
        const std::string relationships = RelationshipsPartOf(workbookPart_);
        replacements[relationships] =
            RemoveRelationships(ReadPart(relationships), workbookPart_, "calcChain");
        if (const auto types = package_->Read(kContentTypesPart)) {
            replacements[kContentTypesPart] = RemoveContentTypeOverride(*types, *calcChainPart_);
        }
    }

    std::string bytes = package_->Rewrite(replacements, removals);
    try {
        files::ReplaceFileAtomically(path_, bytes);
    } catch (const std::system_error& failure) {
        throw SheetError(kErrorCannotSave, failure.what());
    }
    package_ = std::make_unique<ZipPackage>(std::move(bytes));
    for (SheetPart* part : saved) {
        part->MarkSaved();
    }
    if (dropCalcChain) {
        calcChainPart_.reset();
    }
    formulaOverwritten_ = false;
}

void Workbook::Close() {
    for (const auto& sheet : worksheets_.All()) {
        sheet->Unload();
    }
    package_.reset();
}

}  // namespace wexal::sheet
