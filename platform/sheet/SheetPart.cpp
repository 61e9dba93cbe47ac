#include "platform/sheet/SheetPart.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>

#include "platform/sheet/OoxmlText.h"
#include "platform/sheet/SharedStrings.h"
#include "platform/sheet/SheetError.h"
#include "platform/sheet/XmlPart.h"

namespace wexal::sheet {

namespace {

using RowVisitor = std::function<void(pugi::xml_node row, std::int32_t number)>;
using CellVisitor = std::function<void(pugi::xml_node cell, CellAddress address)>;

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::optional<std::int32_t> ParseRowNumber(std::string_view text) {
    text = Trimmed(text);
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < 1 ||
        number > kMaxRows) {
        return std::nullopt;
    }
    return number;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

std::string ShortestForm(double number) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, error == std::errc() ? end : buffer);
}

// Walks the rows and cells of <sheetData>, numbering those without an "r"
// attribute by their position after the one before.
void VisitCells(pugi::xml_node sheetData, const std::string& partName, const RowVisitor& onRow,
                const CellVisitor& onCell) {
    const auto damaged = [&partName](const std::string& what) {
        return SheetError(kErrorDamaged, "The part " + partName + " is damaged: " + what);
    };
    std::int32_t rowNumber = 0;
    for (pugi::xml_node row : sheetData.children()) {
        if (!HasLocalName(row, "row")) {
            continue;
        }
        const pugi::xml_attribute rowReference = row.attribute("r");
        const auto number =
            rowReference ? ParseRowNumber(rowReference.value())
                         : (rowNumber < kMaxRows ? std::optional(rowNumber + 1) : std::nullopt);
        if (!number) {
            throw damaged("bad row number \"" + std::string(rowReference.value()) + "\"");
        }
        rowNumber = *number;
        if (onRow) {
            onRow(row, rowNumber);
        }
        std::int32_t column = 0;
        for (pugi::xml_node cell : row.children()) {
            if (!HasLocalName(cell, "c")) {
                continue;
            }
            const pugi::xml_attribute cellReference = cell.attribute("r");
            if (cellReference) {
                const auto address = ParseCellAddress(cellReference.value());
                if (!address) {
                    throw damaged("bad cell reference \"" + std::string(cellReference.value()) +
                                  "\"");
                }
                column = address->column;
            } else if (++column > kMaxColumns) {
                throw damaged("too many cells in row " + std::to_string(rowNumber));
            }
            onCell(cell, CellAddress{rowNumber, column});
        }
    }
}

CellValue ReadCell(pugi::xml_node cell, CellKind numberKind, const SharedStrings& sharedStrings,
                   const std::string& partName) {
    const auto damaged = [&](const std::string& what) {
        return SheetError(kErrorDamaged, "The part " + partName + " is damaged: cell " +
                                             cell.attribute("r").value() + " " + what);
    };
    const std::string_view type = cell.attribute("t").value();
    const pugi::xml_node value = ChildByLocalName(cell, "v");
    if (type == "inlineStr") {
        const pugi::xml_node item = ChildByLocalName(cell, "is");
        if (item) {
            return CellValue::Text(StringItemText(item));
        }
        return value ? CellValue::Text(DecodeEscapes(value.child_value())) : CellValue{};
    }
    if (!value) {
        return {};
    }
    const std::string_view text = value.child_value();
    if (type == "str") {
        return CellValue::Text(DecodeEscapes(text));
    }
    if (Trimmed(text).empty()) {
        return {};  // a formula not calculated yet
    }
    if (type == "s") {
        const auto index = ParseNumber(text);
        if (!index || *index < 0 || *index >= static_cast<double>(sharedStrings.Count()) ||
            *index != std::floor(*index)) {
            throw damaged("names no shared string");
        }
        return CellValue::Text(std::string(sharedStrings[static_cast<std::size_t>(*index)]));
    }
    if (type == "b") {
        const std::string_view truth = Trimmed(text);
        return {CellKind::Boolean, truth == "1" || truth == "true" ? 1.0 : 0.0, {}};
    }
    if (type == "e") {
        return {CellKind::Error, 0, std::string(Trimmed(text))};
    }
    if (type == "d") {
        return {CellKind::Date, 0, std::string(Trimmed(text))};
    }
    const auto number = ParseNumber(text);
    if (!number) {
        throw damaged("holds no number");
    }
    if (!std::isfinite(*number)) {
        return {CellKind::Error, 0, "#NUM!"};
    }
    return {numberKind, *number, {}};
}

void RemoveChildren(pugi::xml_node node, std::string_view localName) {
    for (pugi::xml_node child = node.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (HasLocalName(child, localName)) {
            node.remove_child(child);
        }
        child = next;
    }
}

// A shared or array formula whose range covers more than this cell: the
// other cells depend on its text, so it cannot simply go.
bool SpansOtherCells(pugi::xml_node formula, CellAddress address) {
    const pugi::xml_attribute reference = formula.attribute("ref");
    if (!reference) {
        return false;
    }
    const auto range = ParseRangeAddress(reference.value());
    return !range || range->first != address || range->second != address;
}

// New content goes before <extLst>, which must stay last.
pugi::xml_node AddContentChild(pugi::xml_node cell, const std::string& name) {
    const pugi::xml_node extensions = ChildByLocalName(cell, "extLst");
    return extensions ? cell.insert_child_before(name.c_str(), extensions)
                      : cell.append_child(name.c_str());
}

void CheckPuttable(const CellValue& value, CellAddress address) {
    const std::string where = "The value for cell " + FormatCellAddress(address);
    switch (value.kind) {
        case CellKind::Number:
            if (!std::isfinite(value.number)) {
                throw SheetError(kErrorBadValue, where + " is not a finite number");
            }
            return;
        case CellKind::Text:
            if (!IsValidUtf8(value.text)) {
                throw SheetError(kErrorBadValue, where + " is not UTF-8 text");
            }
            return;
        case CellKind::Empty:
            return;
        default:
            throw SheetError(kErrorBadValue, where + " must be a number or a text");
    }
}

}  // namespace

SheetPart::SheetPart(std::string xml, std::string partName, const SharedStrings& sharedStrings,
                     DateStyles dateStyles)
    : partName_(std::move(partName)),
      dateStyles_(std::move(dateStyles)),
      xml_(std::move(xml)),
      sharedStrings_(&sharedStrings) {
    ParseXmlPartInPlace(document_, xml_, partName_);
    worksheet_ = ChildByLocalName(document_, "worksheet");
    sheetData_ = ChildByLocalName(worksheet_, "sheetData");
    if (!sheetData_) {
        throw SheetError(kErrorDamaged, "The part " + partName_ + " holds no sheet data");
    }
    prefix_ = PrefixOf(sheetData_);
    CheckCells();
}

void SheetPart::CheckCells() {
    VisitCells(sheetData_, partName_, {}, [&](pugi::xml_node cell, CellAddress address) {
        lastRow_ = std::max(lastRow_, address.row);
        lastColumn_ = std::max(lastColumn_, address.column);
        ReadCell(cell, NumberKind(cell), *sharedStrings_, partName_);
    });
}

CellKind SheetPart::NumberKind(pugi::xml_node cell) const {
    return dateStyles_.IsDate(cell.attribute("s").as_uint()) ? CellKind::Date : CellKind::Number;
}

CellArray SheetPart::Values(CellAddress first, CellAddress last) const {
    CellArray values(last.row - first.row + 1, last.column - first.column + 1);
    VisitCells(sheetData_, partName_, {}, [&](pugi::xml_node cell, CellAddress address) {
        if (address.row < first.row || address.row > last.row || address.column < first.column ||
            address.column > last.column) {
            return;
        }
        CellValue value = ReadCell(cell, NumberKind(cell), *sharedStrings_, partName_);
        if (value.kind != CellKind::Empty) {
            values.Set(address.row - first.row + 1, address.column - first.column + 1,
                       std::move(value));
        }
    });
    return values;
}

bool SheetPart::Put(CellAddress address, const CellValue& value) {
    CheckPuttable(value, address);
    MakeReferencesExplicit();
    pugi::xml_node cell = CellFor(RowFor(address.row), address);
    const pugi::xml_node formula = ChildByLocalName(cell, "f");
    if (formula && SpansOtherCells(formula, address)) {
        throw SheetError(kErrorLockedCell, "Cell " + FormatCellAddress(address) +
                                               " holds a formula that other cells share");
    }
    for (const char* content : {"f", "v", "is"}) {
        RemoveChildren(cell, content);
    }
    // Type and metadata described the old content.
    for (const char* attribute : {"t", "cm", "vm"}) {
        cell.remove_attribute(attribute);
    }

    if (value.kind == CellKind::Number) {
        AddContentChild(cell, prefix_ + "v").text().set(ShortestForm(value.number).c_str());
    } else if (value.kind == CellKind::Text && !value.text.empty()) {
        cell.append_attribute("t").set_value("inlineStr");
        pugi::xml_node text =
            AddContentChild(cell, prefix_ + "is").append_child((prefix_ + "t").c_str());
        const std::string encoded = EncodeEscapes(value.text);
        if (Trimmed(encoded).size() != encoded.size()) {
            text.append_attribute("xml:space").set_value("preserve");
        }
        text.text().set(encoded.c_str());
    }
    // An empty text leaves the cell empty.
    lastRow_ = std::max(lastRow_, address.row);
    lastColumn_ = std::max(lastColumn_, address.column);
    ExtendDimension(address);
    modified_ = true;
    return static_cast<bool>(formula);
}

std::string SheetPart::Serialize() const {
    return SerializeXmlPart(document_);
}

void SheetPart::MakeReferencesExplicit() {
    if (referencesExplicit_) {
        return;
    }
    VisitCells(
        sheetData_, partName_,
        [](pugi::xml_node row, std::int32_t number) {
            if (!row.attribute("r")) {
                row.prepend_attribute("r").set_value(number);
            }
        },
        [](pugi::xml_node cell, CellAddress address) {
            if (!cell.attribute("r")) {
                cell.prepend_attribute("r").set_value(FormatCellAddress(address).c_str());
            }
        });
    IndexRows();
    referencesExplicit_ = true;
}

void SheetPart::IndexRows() {
    rows_.clear();
    for (pugi::xml_node row : sheetData_.children()) {
        if (!HasLocalName(row, "row")) {
            continue;
        }
        const std::int32_t number = ParseRowNumber(row.attribute("r").value()).value_or(0);
        // Equal numbers keep the first row, as the walk finds it.
        if (!rows_.empty() && number < rows_.back().first) {
            rowsInOrder_ = false;
            rows_.clear();
            return;
        }
        rows_.emplace_back(number, row);
    }
}

pugi::xml_node SheetPart::RowFor(std::int32_t number) {
    if (!rowsInOrder_) {
        return WalkToRow(number);
    }
    const auto before = [](const std::pair<std::int32_t, pugi::xml_node>& entry,
                           std::int32_t wanted) { return entry.first < wanted; };
    const auto found = std::lower_bound(rows_.begin(), rows_.end(), number, before);
    if (found != rows_.end() && found->first == number) {
        return found->second;
    }
    const std::string name = prefix_ + "row";
    pugi::xml_node added = found != rows_.end()
                               ? sheetData_.insert_child_before(name.c_str(), found->second)
                               : sheetData_.append_child(name.c_str());
    added.append_attribute("r").set_value(number);
    rows_.emplace(found, number, added);
    return added;
}

pugi::xml_node SheetPart::WalkToRow(std::int32_t number) {
    // The row of that number wherever it stands: a second one would make the
    // sheet unreadable. A new row goes before the first of a higher number.
    pugi::xml_node higher;
    for (pugi::xml_node row : sheetData_.children()) {
        if (!HasLocalName(row, "row")) {
            continue;
        }
        const std::int32_t existing = ParseRowNumber(row.attribute("r").value()).value_or(0);
        if (existing == number) {
            return row;
        }
        if (existing > number && !higher) {
            higher = row;
        }
    }
    const std::string name = prefix_ + "row";
    pugi::xml_node added = higher ? sheetData_.insert_child_before(name.c_str(), higher)
                                  : sheetData_.append_child(name.c_str());
    added.append_attribute("r").set_value(number);
    return added;
}

pugi::xml_node SheetPart::CellFor(pugi::xml_node row, CellAddress address) {
    pugi::xml_node before;
    for (pugi::xml_node cell : row.children()) {
        if (!HasLocalName(cell, "c")) {
            continue;
        }
        const auto existing = ParseCellAddress(cell.attribute("r").value());
        const std::int32_t column = existing ? existing->column : 0;
        if (column == address.column) {
            return cell;
        }
        if (column > address.column) {
            before = cell;
            break;
        }
    }
    // The row's span hint would no longer cover its cells.
    row.remove_attribute("spans");
    const std::string name = prefix_ + "c";
    const pugi::xml_node anchor = before ? before : ChildByLocalName(row, "extLst");
    pugi::xml_node cell =
        anchor ? row.insert_child_before(name.c_str(), anchor) : row.append_child(name.c_str());
    cell.append_attribute("r").set_value(FormatCellAddress(address).c_str());
    return cell;
}

void SheetPart::ExtendDimension(CellAddress address) {
    pugi::xml_attribute reference = ChildByLocalName(worksheet_, "dimension").attribute("ref");
    if (!reference) {
        return;
    }
    const auto range = ParseRangeAddress(reference.value());
    if (!range) {
        return;
    }
    CellAddress first{std::min(range->first.row, address.row),
                      std::min(range->first.column, address.column)};
    CellAddress last{std::max(range->second.row, address.row),
                     std::max(range->second.column, address.column)};
    const std::string text = first == last
                                 ? FormatCellAddress(first)
                                 : FormatCellAddress(first) + ":" + FormatCellAddress(last);
    reference.set_value(text.c_str());
}

}  // namespace wexal::sheet
