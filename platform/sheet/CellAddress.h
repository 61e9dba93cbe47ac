// Cell addresses in A1 form: column letters followed by the row number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace wexal::sheet {

// The largest sheet: columns A to XFD, rows 1 to 1048576.
inline constexpr std::int32_t kMaxColumns = 16384;
inline constexpr std::int32_t kMaxRows = 1048576;

struct CellAddress {
    std::int32_t row = 0;
    std::int32_t column = 0;
    bool operator==(const CellAddress&) const = default;
};

// Bijective base 26 (A = 1, Z = 26, AA = 27); empty for a column below 1.
std::string ColumnLetters(std::int64_t column);
// The column of leading letters (either case); nothing when there are none
// or the column lies beyond the sheet.
std::optional<std::int32_t> ParseColumnLetters(std::string_view letters);
// "AB12" or "$AB$12"; nothing when the text is no cell of the sheet.
std::optional<CellAddress> ParseCellAddress(std::string_view text);
// "AB12:AC14" or one cell address for both corners.
std::optional<std::pair<CellAddress, CellAddress>> ParseRangeAddress(std::string_view text);
std::string FormatCellAddress(CellAddress address);

}  // namespace wexal::sheet
