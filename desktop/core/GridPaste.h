// What a paste does in a grid cell, by column style: numbers take the number
// the clipboard text begins with, dates only a whole date, upper-case text
// the text upper-cased, plain text cells paste as any one-line edit box does
// (up to the first line break), Yes/No, "X" and list cells take nothing (a
// paste would bypass what typing allows).
#pragma once

#include <cstdint>
#include <string>

namespace wexal::desktop {

struct GridPaste {
    enum class Kind {
        kReplaceText,  // the edit box's whole text becomes Text
        kInsertText,   // Text goes in at the caret, replacing the selection
        kNothing,
        kBeep,  // nothing changes, and the user hears why
    };
    Kind Action = Kind::kNothing;
    std::string Text{};  // UTF-8
};

GridPaste PasteForStyle(std::int32_t style, const std::string& clipboard);

}  // namespace wexal::desktop
