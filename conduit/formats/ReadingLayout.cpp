#include "conduit/formats/ReadingLayout.h"

#include <algorithm>
#include <utility>

void ReadingLayout::Put(ReadingPiece piece) {
    auto at = std::lower_bound(
        pieces.begin(), pieces.end(), piece.column,
        [](const ReadingPiece& existing, std::size_t column) { return existing.column < column; });
    if (at != pieces.end() && at->column == piece.column) {
        *at = std::move(piece);
    } else {
        pieces.insert(at, std::move(piece));
    }
}

void ReadingLayout::Remove(std::size_t column) {
    std::erase_if(pieces, [column](const ReadingPiece& piece) { return piece.column == column; });
}
