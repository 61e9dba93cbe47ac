// What a column's style decides beyond the keystroke filter: the edit length,
// the alignment a new column gets, the text that sizes a new column and the
// alignment of the edit box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "desktop/core/QvGridColumn.h"

namespace wexal::desktop {

// True for the styles whose cells can be edited (every code above 0).
bool IsEditableStyle(std::int32_t style);
// Styles 2, 3, 4, 5, 6 and 14.
bool IsNumberStyle(std::int32_t style);

// The edit box's maximum length for the column: MaxLen when given, else the
// style's own length; 0 means no limit.
std::int32_t DefaultEditLength(const QvGridColumn& column);

// The alignment AddColumn chooses when none is given.
std::int16_t StyleAlignment(std::int32_t style);

// The alignment of the edit box over a cell of this style; none for the
// styles that leave the edit box as it was.
std::optional<std::int16_t> EditorAlignment(std::int32_t style);

// The sample text whose width a new column of this style needs at least;
// none when the heading alone sizes it. `maxLen` counts for the text styles.
std::optional<std::string> WidthSample(std::int32_t style, std::int16_t maxLen);

// The entries a value-list column offers, as the list shows them.
std::vector<std::string> ValueListEntries(const std::string& valueList);

}  // namespace wexal::desktop
