// One column of the editable grid: how its cells are edited (style, length,
// decimals, value list) and how the column is aligned. Fixed columns have a
// record too; a new record is all zero, that is display only.
#pragma once

#include <cstdint>
#include <string>

namespace wexal::desktop {

// The style codes of a column record.
inline constexpr std::int32_t kStyleShortInteger = 2;
inline constexpr std::int32_t kStyleLongInteger = 3;
inline constexpr std::int32_t kStyleSingle = 4;
inline constexpr std::int32_t kStyleDouble = 5;
inline constexpr std::int32_t kStyleCurrency = 6;
inline constexpr std::int32_t kStyleDate = 7;
inline constexpr std::int32_t kStyleText = 8;
inline constexpr std::int32_t kStyleYesNo = 11;
inline constexpr std::int32_t kStyleDecimal = 14;
inline constexpr std::int32_t kStyleUpperText = 36;
inline constexpr std::int32_t kStyleValueList = 100;
inline constexpr std::int32_t kStyleCheckMark = 102;
inline constexpr std::int32_t kStyleCustom = 103;
// Any code of 0 or less: the column cannot be edited.

// Column alignments.
inline constexpr std::int16_t kAlignLeft = 0;
inline constexpr std::int16_t kAlignRight = 1;
inline constexpr std::int16_t kAlignCentre = 2;

struct QvGridColumn {
    std::string Heading{};
    std::int32_t Style = 0;
    std::int16_t MaxLen = 0;    // 0: the style's own length (DefaultEditLength)
    std::int16_t Decimals = 0;  // negative: no limit
    std::int16_t Alignment = kAlignLeft;
    bool SearchButton = false;  // kept for the caller; nothing draws it
    // Entries of a value-list column separated by ","; an entry holding ";"
    // shows the text after its first ";".
    std::string ValueList{};
};

}  // namespace wexal::desktop
