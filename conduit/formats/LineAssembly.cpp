#include "conduit/formats/LineAssembly.h"

#include "conduit/LineBreaks.h"
#include "conduit/formats/FieldForms.h"
#include "conduit/formats/ReadingLayout.h"

const std::string& LineAssembler::Assemble(const ReadingLayout& layout,
                                           const VendorReading& codec) {
    const std::size_t beforeLineEnd = layout.lineLength > 0 ? layout.lineLength - 1 : 0;
    // The line holds what stands before the column of the next piece, then
    // what was inserted but reaches past it (blanks implied after that).
    line_.clear();
    losses_.clear();
    for (const ReadingPiece& piece : layout.pieces) {
        if (piece.column >= beforeLineEnd) {
            break;  // the line end comes first and cuts it off
        }
        if (line_.size() <= piece.column) {
            // Nothing reaches this column: the piece is made in place.
            line_.resize(piece.column, ' ');
            if (AppendPiece(piece, codec, line_, &lost_)) {
                losses_.push_back(lost_);
            }
            continue;
        }
        // The piece goes in at its column and pushes what stands there.
        next_.clear();
        if (AppendPiece(piece, codec, next_, &lost_)) {
            losses_.push_back(lost_);
        }
        line_.insert(piece.column, next_);
    }
    line_.resize(beforeLineEnd, ' ');
    // Whatever a text holds, the line ends only where its line end goes.
    BlankLineBreaks(line_);
    return line_;
}
