// The forms in which readings lines carry their field texts ("%10s",
// "%06s", "%02s%02s%02s", "%010ld", "00%09s", ...), as segments and pieces
// for the layout tables, and the making of a piece's text from a codec's
// fields. A width padded with zeros pads text with zeros too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/formats/ReadingLayout.h"

class VendorReading;

namespace layout {

// The field text as it is ("%s").
Segment Text(CodecField field);
// `count` characters of the text from `from`.
Segment Part(CodecField field, std::size_t from, std::size_t count);
// The last `count` characters of the text.
Segment LastPart(CodecField field, std::size_t count);
Segment Literal(std::string_view text);
// The leading integer of the text in decimal, a minus sign first ("%ld").
Segment Number(CodecField field);
Segment Custom(CustomSegment make);

// Right-aligned in `width` with blanks ("%10s") or zeros ("%06s", "%010ld").
Segment PadFront(Segment segment, std::size_t width, char fill);
// Left-aligned in `width` with blanks ("%-10s").
Segment PadBehind(Segment segment, std::size_t width);

// A date held as YYMMDD written as MMDDYY ("%02s%02s%02s" of characters 2-3,
// 4-5 and 0-1, each zero-padded to two).
std::vector<Segment> MonthDayYear(CodecField date);

// Pieces: the first or last `count` characters of the joined segments, or
// all of them.
ReadingPiece First(std::size_t column, std::size_t count, std::vector<Segment> segments);
ReadingPiece Last(std::size_t column, std::size_t count, std::vector<Segment> segments);
ReadingPiece Whole(std::size_t column, std::vector<Segment> segments);
// The most common piece: the first `width` characters of a field text.
ReadingPiece TextIn(std::size_t column, std::size_t width, CodecField field);
// A reading right-aligned in 10 with blanks, of which the last 9 ("%10s" in
// nine columns): a longer reading loses its leading characters, and the loss
// is logged.
ReadingPiece ReadingIn9(std::size_t column, CodecField field);
// The piece with its loss of digits logged (see ReadingPiece::reportsLoss).
ReadingPiece ReportingLoss(ReadingPiece piece);
// The first `width` characters of the text right-aligned in `width` with
// zeros ("%06s").
ReadingPiece ZeroPaddedIn(std::size_t column, std::size_t width, CodecField field);
// A YYMMDD date as MMDDYY in six columns.
ReadingPiece DateMMDDYY(std::size_t column, CodecField date);

}  // namespace layout

// Appends the text of one piece, made from the codec's field texts. True
// when a piece that reports its loss dropped digits: characters other than
// blanks from its end, or other than blanks and zeros from its front. `whole`
// then receives the piece's text before the cut.
bool AppendPiece(const ReadingPiece& piece, const VendorReading& codec, std::string& out,
                 std::string* whole = nullptr);
