// What typing and pasting do to a grid cell, style by style.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/core/GridPaste.h"
#include "desktop/core/KeystrokeFilter.h"
#include "desktop/core/QvGridColumn.h"

namespace {

using namespace wexal::desktop;

// An edit box written as its text with the caret as "|" or the selection in
// "[" and "]": "12|34", "[Yes]".
EditBoxState Box(const std::u16string& picture, std::int32_t maxLength) {
    EditBoxState box;
    box.MaxLength = maxLength;
    for (char16_t c : picture) {
        if (c == u'|' || c == u'[') {
            box.SelStart = static_cast<std::int32_t>(box.Text.size());
        } else if (c == u']') {
            box.SelLength = static_cast<std::int32_t>(box.Text.size()) - box.SelStart;
        } else {
            box.Text += c;
        }
    }
    return box;
}

std::string Picture(const EditBoxState& box) {
    std::string out;
    for (std::size_t i = 0; i <= box.Text.size(); ++i) {
        if (static_cast<std::int32_t>(i) == box.SelStart) {
            out += box.SelLength > 0 ? "[" : "|";
        }
        if (box.SelLength > 0 && static_cast<std::int32_t>(i) == box.SelStart + box.SelLength) {
            out += "]";
        }
        if (i < box.Text.size()) {
            const char16_t c = box.Text[i];
            out += c < 0x80 ? std::string(1, static_cast<char>(c)) : "?";
        }
    }
    return out;
}

struct Case {
    std::int32_t style;
    std::int16_t decimals;
    std::int32_t maxLength;
    std::u16string before;
    char16_t key;
    std::string after;  // the box after the filter, as a picture
    char16_t passed;    // the character handed on to the edit box, 0 when swallowed
    bool beep = false;
    double lowerBound = 0;
};

constexpr char16_t kBack = kKeyBackspace;

TEST(KeystrokeFilterTest, EveryStyle) {
    const std::vector<Case> cases = {
        // Dates: month, day, year, with the separators supplied.
        {kStyleDate, 0, 10, u"|", u'5', "5/|", 0},
        {kStyleDate, 0, 10, u"|", u'1', "1|", 0},
        {kStyleDate, 0, 10, u"1|", u'2', "12/|", 0},
        {kStyleDate, 0, 10, u"1|", u'3', "1|", 0, true},
        {kStyleDate, 0, 10, u"12/|", u'4', "12/4/|", 0},
        {kStyleDate, 0, 10, u"12/|", u'3', "12/3|", 0},
        {kStyleDate, 0, 10, u"12/3|", u'1', "12/31/|", 0},
        {kStyleDate, 0, 10, u"12/3|", u'2', "12/3|", 0, true},
        {kStyleDate, 0, 10, u"12/|", u'/', "12/|", 0},
        {kStyleDate, 0, 10, u"|", u'/', "|", 0},
        {kStyleDate, 0, 10, u"1/2|", u'-', "1/2|", u'-'},
        {kStyleDate, 0, 10, u"1/2/2020|", u'/', "1/2/2020|", 0},
        {kStyleDate, 0, 10, u"1|/2/2020", u'/', "1|/2/2020", 0},
        {kStyleDate, 0, 10, u"12/4/202|", u'0', "12/4/2020|", 0},
        {kStyleDate, 0, 10, u"12/4/2020|", u'1', "12/4/2020|", 0},
        {kStyleDate, 0, 10, u"1/2/|2020", u'3', "1/2/3|202", 0},
        {kStyleDate, 0, 10, u"[12]/5/2020", u'3', "3|/5/2020", 0},
        {kStyleDate, 0, 10, u"|1/5", u'0', "0|1/5", 0},
        {kStyleDate, 0, 10, u"1|/5", u'0', "10/|5", 0},
        {kStyleDate, 0, 10, u"1/2/3/4|", u'5', "1/2/3/4|", 0},
        {kStyleDate, 0, 10, u"12|", u'a', "12|", 0},
        {kStyleDate, 0, 10, u"12|", kBack, "12|", kBack},

        // Numbers: digits stay in place, the length cuts, decimals are counted.
        {kStyleShortInteger, 0, 4, u"1234|", u'9', "1234|", 0},
        {kStyleShortInteger, 0, 4, u"12|34", u'9', "129|3", 0},
        {kStyleShortInteger, 0, 4, u"[12]34", u'9', "9|34", 0},
        {kStyleSingle, 2, 5, u"1.23|", u'4', "1.23|", 0, true},
        {kStyleSingle, 2, 5, u"1.2|", u'3', "1.23|", 0},
        {kStyleSingle, 2, 5, u"1.|23", u'4', "1.4|2", 0},
        {kStyleSingle, 0, 5, u"12|", u'.', "12|", 0},
        {kStyleDecimal, -1, 0, u"12|34", u'.', "12.|", 0},
        {kStyleDecimal, -1, 0, u"12.5|", u'.', "12.|5", 0},
        {kStyleDecimal, -1, 0, u"1.5|", u'5', "1.55|", 0},
        {kStyleLongInteger, 0, 9, u"-1|23", u'9', "-19|23", 0},
        // The caret before the minus sign: the digit goes right after the sign.
        {kStyleLongInteger, 0, 9, u"|-123", u'9', "-9|123", 0},
        {kStyleLongInteger, 0, 9, u"12|", u'-', "12|", 0},
        {kStyleLongInteger, 0, 9, u"12|", u'-', "-12|", 0, false, -1},
        {kStyleDouble, -1, 14, u"1.5|", u'-', "-1.5|", 0, false, -1},
        {kStyleCurrency, 2, 14, u"12|", u'a', "12|", 0},
        {kStyleCurrency, 2, 14, u"12|", kBack, "12|", kBack},

        // Yes/No cells toggle; nothing else is typed.
        {kStyleYesNo, 0, 3, u"|", u'y', "[Yes]", 0},
        {kStyleYesNo, 0, 3, u"[Yes]", u' ', "[No]", 0},
        {kStyleYesNo, 0, 3, u"[No]", u' ', "[Yes]", 0},
        {kStyleYesNo, 0, 3, u"[Yes]", u'N', "[No]", 0},
        {kStyleYesNo, 0, 3, u"[Yes]", u'x', "[Yes]", 0},
        {kStyleYesNo, 0, 3, u"[Yes]", kBack, "[Yes]", 0},

        // "X" cells.
        {kStyleCheckMark, 0, 0, u"|", u'a', "X|", 0},
        {kStyleCheckMark, 0, 0, u"[X]", u'q', "X|", 0},
        {kStyleCheckMark, 0, 0, u"X|", u' ', "|", 0},
        {kStyleCheckMark, 0, 0, u"|", u' ', "X|", 0},
        {kStyleCheckMark, 0, 0, u"X|", kBack, "|", 0},

        // Letters upper-cased; everything else passes as typed.
        {kStyleUpperText, 0, 2, u"|", u'a', "|", u'A'},
        {kStyleUpperText, 0, 2, u"|", u'7', "|", u'7'},
        {kStyleUpperText, 0, 2, u"|", u'\u00e9', "|", u'\u00e9'},
        {kStyleText, 0, 30, u"|", u'a', "|", u'a'},
        {kStyleValueList, 0, 0, u"|", u'a', "|", u'a'},
        {kStyleCustom, 0, 0, u"|", u'a', "|", u'a'},
        {0, 0, 0, u"|", u'a', "|", u'a'},
        {99, 0, 0, u"|", u'a', "|", u'a'},
    };
    for (const Case& c : cases) {
        const EditBoxState before = Box(c.before, c.maxLength);
        SCOPED_TRACE("style " + std::to_string(c.style) + ", " + Picture(before) + " + '" +
                     std::string(1, c.key < 0x80 ? static_cast<char>(c.key) : '?') + "'");
        const FilterResult result =
            FilterKeyPress(c.key, c.style, c.decimals, before, c.lowerBound);
        EXPECT_EQ(Picture(result.Box), c.after);
        EXPECT_EQ(result.Key, c.passed);
        EXPECT_EQ(result.Beep, c.beep);
    }
}

TEST(KeystrokeFilterTest, PasteByStyle) {
    using Kind = GridPaste::Kind;
    struct PasteCase {
        std::int32_t style;
        std::string clipboard;
        Kind action;
        std::string text;
    };
    const std::vector<PasteCase> cases = {
        {kStyleLongInteger, "12.7abc", Kind::kReplaceText, "12"},
        {kStyleShortInteger, "-2.5", Kind::kReplaceText, "-3"},
        {kStyleSingle, "12.7abc", Kind::kReplaceText, "12.7"},
        {kStyleDouble, "12.7abc", Kind::kReplaceText, "12.7"},
        {kStyleCurrency, "abc", Kind::kReplaceText, "0"},
        {kStyleDecimal, "1e999", Kind::kBeep, ""},
        {kStyleDate, "12/31/1999", Kind::kReplaceText, "12/31/1999"},
        {kStyleDate, " 2/29/2024 ", Kind::kReplaceText, "2/29/2024"},
        {kStyleDate, "2/30/2024", Kind::kBeep, ""},
        {kStyleDate, "tomorrow", Kind::kBeep, ""},
        {kStyleUpperText, "ab\r\ncd", Kind::kReplaceText, "AB"},
        // Every letter of the UTF-8 text; bytes that are no UTF-8 stay.
        {kStyleUpperText, "café ñandú straße ǆ", Kind::kReplaceText, "CAFÉ ÑANDÚ STRAßE Ǆ"},
        {kStyleUpperText, "éa\xE9x\xC3", Kind::kReplaceText, "ÉA\xE9X\xC3"},
        {kStyleText, "Meter\tblocked\nsecond line", Kind::kInsertText, "Meter\tblocked"},
        {kStyleCustom, "x", Kind::kInsertText, "x"},
        {kStyleYesNo, "Yes", Kind::kNothing, ""},
        {kStyleCheckMark, "X", Kind::kNothing, ""},
        {kStyleValueList, "A", Kind::kNothing, ""},
    };
    for (const PasteCase& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style) + " \"" + c.clipboard + "\"");
        const GridPaste paste = PasteForStyle(c.style, c.clipboard);
        EXPECT_EQ(paste.Action, c.action);
        EXPECT_EQ(paste.Text, c.text);
    }
}

}  // namespace
