// Worksheet column letters of a column number.
#pragma once

#include <cstdint>
#include <string>

// 1 gives A, 26 Z, 27 AA, 703 AAA, 18278 ZZZ; a number outside 1 to 18278
// gives no letters.
void ColumnNumberToLetters(std::int32_t column, std::string& letters);
