// What the Connekt and RMSBadger files have in common: route files whose
// meter records are the lines that begin with two blanks, and 255-character
// readings lines with name and address at 8 and 28 and the meter fields from
// column 48 on. Each vendor's source builds its layouts on these.
#pragma once

#include <string_view>
#include <vector>

#include "conduit/formats/ReadingLayout.h"

struct MeterLayout;

// The route-file fields and rules both vendors share.
MeterLayout ConnektFamilyRouteLayout();
// Whether a route-file line is a meter record: it starts with two blanks.
bool StartsWithTwoBlanks(std::string_view line);

// The readings-line columns both vendors share.
ReadingLayout ConnektFamilyReadingsLayout();

namespace layout {

// A YYMMDD date as MM/DD/YY ("%02s/%02s/%02s").
std::vector<Segment> MonthDayYearWithSlashes(CodecField date);
// An HHMMSS time as its three pairs, each zero-padded to two, joined by
// `separator` (none when empty; a literal, as the segments keep a view of
// it).
std::vector<Segment> TimePairs(CodecField time, std::string_view separator);

}  // namespace layout
