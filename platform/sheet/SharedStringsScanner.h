// The shared-string table read as it inflates, without a document of all
// of it: a table of millions of short texts made the parsed document ten
// times the size of the part.
#pragma once

#include <functional>
#include <string_view>

namespace wexal::sheet {

class SharedStrings;

// Reads the table from the pieces that `next` gives (an empty one at the
// end) into `strings`, the same texts that the XML parser's document of it
// gives, holding no more than a piece and an unfinished item. False, with
// `strings` of no use, when the part holds what only the parser of the
// whole part reads the same (another encoding, a document type, comments,
// character data, processing instructions, a null character), is not cut
// into items at their end tags, or is damaged: the parser then reads it and
// describes the damage.
bool ScanSharedStrings(const std::function<std::string_view()>& next, SharedStrings& strings);

}  // namespace wexal::sheet
