#include "platform/sheet/SharedStrings.h"

#include <limits>
#include <memory>
#include <utility>

#include "platform/sheet/OoxmlText.h"
#include "platform/sheet/SharedStringsScanner.h"
#include "platform/sheet/SheetError.h"
#include "platform/sheet/XmlPart.h"
#include "platform/sheet/ZipPackage.h"

namespace wexal::sheet {

namespace {

// The texts of an item joined, their escapes not yet decoded: an escape may
// be cut across two runs.
std::string JoinedText(pugi::xml_node item) {
    std::string text;
    for (pugi::xml_node child : item.children()) {
        if (HasLocalName(child, "t")) {
            text += child.child_value();
        } else if (HasLocalName(child, "r")) {
            text += ChildByLocalName(child, "t").child_value();
        }
    }
    return text;
}

SharedStrings ParseDocument(std::string_view xml, const std::string& partName) {
    pugi::xml_document document;
    ParseXmlPart(document, xml, partName);
    SharedStrings strings;
    strings.AppendItems(ChildByLocalName(document, "sst"));
    return strings;
}

}  // namespace

void SharedStrings::AppendItems(pugi::xml_node table) {
    for (pugi::xml_node item : table.children()) {
        if (!HasLocalName(item, "si")) {
            continue;
        }
        const std::size_t start = texts_.size();
        texts_ += JoinedText(item);
        DecodeEscapesInPlace(texts_, start);
        if (texts_.size() > std::numeric_limits<std::uint32_t>::max()) {
            throw SheetError(kErrorPartTooLarge, "The shared strings hold more than 4 GiB of text");
        }
        ends_.push_back(static_cast<std::uint32_t>(texts_.size()));
    }
}

std::string StringItemText(pugi::xml_node item) {
    return DecodeEscapes(JoinedText(item));
}

SharedStrings ParseSharedStrings(std::string_view xml, const std::string& partName) {
    {
        SharedStrings strings;
        std::string_view rest = xml;
        const auto next = [&rest] { return std::exchange(rest, std::string_view()); };
        if (ScanSharedStrings(next, strings)) {
            return strings;
        }
    }
    return ParseDocument(xml, partName);
}

std::optional<SharedStrings> ReadSharedStrings(const ZipPackage& package,
                                               const std::string& partName) {
    {
        const std::unique_ptr<PartReader> reader = package.OpenPart(partName);
        if (!reader) {
            return std::nullopt;
        }
        SharedStrings strings;
        // The texts are never longer than the part, and only what they take
        // of the room is memory in use.
        strings.Reserve(reader->DeclaredSize());
        if (ScanSharedStrings([&reader] { return reader->Next(); }, strings)) {
            return strings;
        }
    }
    return ParseDocument(package.Read(partName).value(), partName);
}

}  // namespace wexal::sheet
