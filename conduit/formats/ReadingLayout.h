// The table that describes one vendor's readings line: pieces inserted at
// their columns into a line of blanks, each made of segments (field texts,
// parts of them, numbers, constants) padded and cut as the vendor's forms
// say, and the line length with its line end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/formats/CodecField.h"
#include "conduit/formats/FieldSet.h"

class VendorReading;

// Makes a segment that no table entry can express; appends it to `out`.
using CustomSegment = void (*)(const VendorReading& codec, std::string& out);

struct Segment {
    enum class Kind : std::uint8_t {
        Field,     // (a part of) a field text
        Constant,  // a fixed text
        Number,    // the leading integer of (a part of) a field text
        Custom,    // made by a vendor's function
    };

    Kind kind = Kind::Field;
    CodecField field = CodecField::Count;
    std::string_view constant{};
    CustomSegment custom = nullptr;
    // The part of the field text: `count` characters from `from`, or with
    // `fromEnd` its last `count` characters.
    std::size_t from = 0;
    std::size_t count = std::string_view::npos;
    bool fromEnd = false;
    // Padded with `fill` up to `width`: in front (right-aligned), or behind
    // when `padBehind`. A number padded with zeros keeps its sign first.
    std::size_t width = 0;
    char fill = ' ';
    bool padBehind = false;
};

// Which characters of a piece reach the line.
enum class Take : std::uint8_t { First, Last, Whole };

struct ReadingPiece {
    std::size_t column = 0;
    std::vector<Segment> segments;
    Take take = Take::Whole;
    std::size_t count = 0;  // for First and Last
    // A reading whose cut drops digits is still written cut, as the billing
    // system expects the column, but the loss is logged with the service id.
    bool reportsLoss = false;
};

struct ReadingLayout {
    // Characters of a line counted with its line end (one character, LF, as
    // the layouts count it; CR LF on disk).
    std::size_t lineLength = 0;
    // The field texts the vendor's line has room for.
    FieldSet members;
    // In ascending column order; pieces at one column keep their table order.
    std::vector<ReadingPiece> pieces;

    // Replaces the piece at `piece.column`, or inserts it in column order.
    void Put(ReadingPiece piece);
    void Remove(std::size_t column);
};
