// What may be typed into a grid cell, character by character, by column
// style: numbers keep their digits and decimals in place, dates are typed as
// month/day/year with the separators supplied, Yes/No and "X" cells toggle,
// upper-case text is upper-cased. Texts are UTF-16 with positions as the edit
// box counts them.
#pragma once

#include <cstdint>
#include <string>

namespace wexal::desktop {

inline constexpr char16_t kKeyBackspace = 8;

// The edit box as the filter sees and leaves it.
struct EditBoxState {
    std::u16string Text{};
    std::int32_t SelStart = 0;  // caret, or the start of the selection
    std::int32_t SelLength = 0;
    std::int32_t MaxLength = 0;  // 0: no limit

    friend bool operator==(const EditBoxState&, const EditBoxState&) = default;
};

struct FilterResult {
    // The character the edit box then inserts at the caret (replacing the
    // selection, within MaxLength); 0 when it is swallowed.
    char16_t Key = 0;
    // The edit box after the filter: a text the filter sets is cut to
    // MaxLength and the caret kept within it.
    EditBoxState Box{};
    bool Beep = false;
};

// `decimals` negative: no limit. `lowerBound` below 0 lets a number take a
// minus sign (the grid passes none, so 0).
FilterResult FilterKeyPress(char16_t key, std::int32_t style, std::int16_t decimals,
                            EditBoxState box, double lowerBound = 0);

}  // namespace wexal::desktop
