// The column-map entry: how every Excel mapping is kept, as the text
// "field/value" in one of the 50 slots of an interface's route map or
// reading map. The value is a column letter, an offset from the usage column
// or a percentage; the conduit reads the entries back.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "desktop/core/clsConfig.h"

namespace wexal::desktop {

// One of the 16 choices of a position relative to the usage column: the text
// split at its "/" into what the list shows and the value stored.
struct OffsetChoice {
    std::string_view Text;
    std::string_view Shown;
    std::string_view Value;  // empty for "[None]"
};

inline constexpr std::size_t kOffsetChoiceCount = 16;
inline constexpr std::string_view kNoColumn = "[None]";

// "[None]", "Usage Col/0", "1 Right/+1", "1 Left/-1" ... "7 Left/-7", in list
// order.
const std::array<OffsetChoice, kOffsetChoiceCount>& OffsetChoices();

// The position of the first choice whose value equals `value`; -1 when none
// does (nothing is then selected).
int OffsetChoiceOf(std::string_view value);

// The value of `field` in `map`: the first slot (from 0) that begins with the
// field's name, compared with letter case, gives the text from the second
// character after the name (the separator is not tested). Empty when no slot
// holds the field.
std::string LookupMapField(const MapSlots& map, std::string_view field);

// The item of a column list ("[None]", then "A" to "Z") that a stored column
// value selects: its first character "A" gives 1 ... "Z" 26; anything else,
// the empty value included, 0 ("[None]").
int ColumnItemOf(std::string_view value);

// The value of column-list item 1..26 ("A".."Z"); empty for 0.
std::string ColumnOfItem(int item);

// "field/value".
std::string MapEntry(std::string_view field, std::string_view value);

}  // namespace wexal::desktop
