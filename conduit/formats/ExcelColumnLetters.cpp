#include "conduit/formats/ExcelColumnLetters.h"

#include "platform/sheet/CellAddress.h"

namespace {

// ZZZ: the most that three letters can name.
constexpr std::int32_t kLargestThreeLetterColumn = 18278;

}  // namespace

void ColumnNumberToLetters(std::int32_t column, std::string& letters) {
    letters = column >= 1 && column <= kLargestThreeLetterColumn
                  ? wexal::sheet::ColumnLetters(column)
                  : std::string();
}
