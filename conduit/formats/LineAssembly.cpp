#include "conduit/formats/LineAssembly.h"

#include <algorithm>
#include <utility>

#include "conduit/LineBreaks.h"
#include "conduit/formats/FieldForms.h"
#include "conduit/formats/ReadingLayout.h"

namespace {

// Moves characters from the front of `pending` (then blanks) to `line` until
// the line has `column` characters.
void PlaceUpTo(std::size_t column, std::string& line, std::string& pending, std::size_t& used) {
    if (line.size() >= column) {
        return;
    }
    const std::size_t room = column - line.size();
    const std::size_t moved = std::min(room, pending.size() - used);
    line.append(pending, used, moved);
    used += moved;
    line.append(room - moved, ' ');
}

}  // namespace

const std::string& LineAssembler::Assemble(const ReadingLayout& layout,
                                           const VendorReading& codec) {
    const std::size_t beforeLineEnd = layout.lineLength > 0 ? layout.lineLength - 1 : 0;
    line_.clear();
    pending_.clear();
    losses_.clear();
    std::size_t used = 0;  // characters of pending_ already placed
    for (const ReadingPiece& piece : layout.pieces) {
        if (piece.column >= beforeLineEnd) {
            break;  // the line end comes first and cuts it off
        }
        PlaceUpTo(piece.column, line_, pending_, used);
        // What stands from this column on: the piece, then what it pushed.
        next_.clear();
        if (AppendPiece(piece, codec, next_, &lost_)) {
            losses_.push_back(lost_);
        }
        next_.append(pending_, used);
        std::swap(pending_, next_);
        used = 0;
    }
    PlaceUpTo(beforeLineEnd, line_, pending_, used);
    // Whatever a text holds, the line ends only where its line end goes.
    BlankLineBreaks(line_);
    return line_;
}
