// One worksheet part: its XML kept as a document, the values of its cells
// read from it, and the putting of single cells into the document so that
// writing it back changes nothing but those cells. The document is the only
// copy of the sheet that it holds.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sheet/CellAddress.h"
#include "platform/sheet/CellValue.h"
#include "platform/sheet/DateStyles.h"
#include "platform/sheet/SharedStrings.h"

namespace wexal::sheet {

class SheetPart {
  public:
    // Throws SheetError when the part is damaged. The shared strings must
    // outlive the part.
    SheetPart(std::string xml, std::string partName, const SharedStrings& sharedStrings,
              DateStyles dateStyles);
    SheetPart(const SheetPart&) = delete;
    SheetPart& operator=(const SheetPart&) = delete;

    const std::string& PartName() const { return partName_; }
    // The last row and column that hold a cell (a value or a format); 1 when
    // the sheet is empty.
    std::int32_t LastRow() const { return lastRow_; }
    std::int32_t LastColumn() const { return lastColumn_; }
    CellArray Values(CellAddress first, CellAddress last) const;

    // Puts a number, a text or nothing (Empty) into one cell; the cell keeps
    // its format. True when a formula was overwritten. Throws SheetError for
    // other kinds of value, for text that is not UTF-8, for numbers that are
    // not finite, and for a cell whose formula spans other cells.
    bool Put(CellAddress address, const CellValue& value);

    bool Modified() const { return modified_; }
    void MarkSaved() { modified_ = false; }
    std::string Serialize() const;

  private:
    // Finds the used extent, and refuses a damaged part before any use.
    void CheckCells();
    // Gives every row and cell its "r" attribute, so that rows and cells can
    // be inserted without moving the ones that were numbered by position.
    void MakeReferencesExplicit();
    pugi::xml_node RowFor(std::int32_t row);
    // Rows by number, in the order of the sheet, built at the first put; a
    // sheet whose rows are out of order is walked instead.
    void IndexRows();
    pugi::xml_node WalkToRow(std::int32_t row);
    pugi::xml_node CellFor(pugi::xml_node row, CellAddress address);
    void ExtendDimension(CellAddress address);
    CellKind NumberKind(pugi::xml_node cell) const;

    std::string partName_;
    DateStyles dateStyles_;
    // The part's text, which the document is built in.
    std::string xml_;
    pugi::xml_document document_;
    pugi::xml_node worksheet_;
    pugi::xml_node sheetData_;
    std::string prefix_;
    const SharedStrings* sharedStrings_;
    std::int32_t lastRow_ = 1;
    std::int32_t lastColumn_ = 1;
    std::vector<std::pair<std::int32_t, pugi::xml_node>> rows_;
    bool rowsInOrder_ = true;
    bool referencesExplicit_ = false;
    bool modified_ = false;
};

}  // namespace wexal::sheet
