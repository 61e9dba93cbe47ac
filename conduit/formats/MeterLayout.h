// The table that describes one vendor's route-file line: which columns make
// each field, the digit rule and its readings, single-column marks, and which
// fields get blanks turned into zeros or lose their trailing blanks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "conduit/formats/CodecField.h"
#include "conduit/formats/DigitRule.h"
#include "conduit/formats/FieldSet.h"

// One part of a field text: columns of the line, or a constant text.
struct LinePiece {
    enum class Kind : std::uint8_t { Columns, Constant };

    Kind kind = Kind::Columns;
    std::size_t column = 0;
    std::size_t length = 0;
    std::size_t width = 0;  // right-aligned in this many positions; 0: as cut
    std::string_view constant{};
};

// A field made of its pieces, joined in order.
struct FieldRule {
    CodecField field;
    std::vector<LinePiece> pieces;
};

// A field set from one column: when the column holds one of `letters`, the
// field becomes `marked` (the letter itself when `copyLetter`); otherwise
// it becomes `unmarked`, or keeps its text when `keepUnmarked`.
struct MarkRule {
    CodecField field;
    std::size_t column;
    std::string_view letters;
    std::string_view marked{};
    bool copyLetter = false;
    std::string_view unmarked{};
    bool keepUnmarked = true;
};

struct MeterLayout {
    // Characters of a line kept; a longer line is cut, its rest passed over.
    std::size_t lineLimit = 499;
    // The fields the vendor's codec holds (the others stay empty).
    FieldSet members;
    // Fields cut from the line or set to constants, before the readings.
    std::vector<FieldRule> fields;
    // The readings cut by the record's digit count, and how it is settled.
    std::vector<ReadingRule> readings;
    DigitRule digits;
    // Single-column rules, applied in order after every field was cut.
    std::vector<MarkRule> marks;
    // Fields whose blanks become "0" (after the readings are cut).
    FieldSet blanksToZeros;
    // Fields that lose their trailing blanks, last of all.
    FieldSet trimmed;
    // Trimming takes every trailing white-space character (tab, CR, LF, VT,
    // FF too), not blanks alone.
    bool trimsWhiteSpace = false;
    // The field that names the record's route.
    CodecField route = CodecField::SelectedRoute;
    // Whether a Read in the wrong mode shows its message box.
    bool wrongModeMessage = true;
    // The file's first line is its header, read as a record whatever it
    // holds (even empty or blank): no meter is ever taken for it.
    bool firstLineIsHeader = false;

    // Replaces the rule of `field`, or adds it when the table has none.
    void SetField(CodecField field, std::vector<LinePiece> pieces);
    // Replaces the reading rule of `rule.field`, or adds it.
    void SetReading(ReadingRule rule);
};

// Helpers that keep the layout tables short.
namespace layout {

// `length` characters from `column` (fewer where the line ends early).
constexpr LinePiece Columns(std::size_t column, std::size_t length) {
    return {LinePiece::Kind::Columns, column, length, 0, {}};
}
// The same, right-aligned with blanks in front up to `width` positions.
constexpr LinePiece RightAligned(std::size_t column, std::size_t length, std::size_t width) {
    return {LinePiece::Kind::Columns, column, length, width, {}};
}
constexpr LinePiece Constant(std::string_view text) {
    return {LinePiece::Kind::Constant, 0, 0, 0, text};
}

// The field becomes `text` when the column holds one of `letters`.
constexpr MarkRule MarkSets(CodecField field, std::size_t column, std::string_view letters,
                            std::string_view text) {
    return {field, column, letters, text, false, {}, true};
}
// The field becomes `text` when marked, else `otherwise`.
constexpr MarkRule MarkOr(CodecField field, std::size_t column, std::string_view letters,
                          std::string_view text, std::string_view otherwise) {
    return {field, column, letters, text, false, otherwise, false};
}
// The field becomes the column's letter when it is one of `letters`, else `otherwise`.
constexpr MarkRule MarkLetterOr(CodecField field, std::size_t column, std::string_view letters,
                                std::string_view otherwise) {
    return {field, column, letters, {}, true, otherwise, false};
}

}  // namespace layout
