// The handheld's 8-bit texts and the database objects' wide texts.
#include <gtest/gtest.h>

#include "conduit/formats/AnsiText.h"

namespace {

TEST(AnsiTextTest, EveryByteSurvivesTheWayThereAndBack) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::u16string wide = AnsiToWide(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(WideToAnsi(wide), all);
}

TEST(AnsiTextTest, WindowsLettersTakeTheirUnicodeNames) {
    EXPECT_EQ(AnsiToWide("Caf\xE9 \x80 \x8A\x9F"), u"Caf\u00E9 \u20AC \u0160\u0178");
    EXPECT_EQ(AnsiToWide("\x81"), u"\u0081");
    EXPECT_EQ(WideToAnsi(u"\u201Cquoted\u201D"), "\x93quoted\x94");
}

TEST(AnsiTextTest, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    EXPECT_EQ(WideToAnsi(u"\u0100\u4E2D"), "??");
    EXPECT_EQ(WideToAnsi(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(WideToAnsi(std::u16string(1, char16_t(0xDC00))), "?");
}

}  // namespace
