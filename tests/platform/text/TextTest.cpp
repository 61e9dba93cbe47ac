#include <gtest/gtest.h>

#include "platform/text/Utf8.h"
#include "platform/text/Windows1252.h"

namespace wexal::text {
namespace {

TEST(Windows1252Test, EveryByteComesBackAndReadsAsWellFormedUtf8) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        EXPECT_EQ(Windows1252Byte(Windows1252Char(b)), b) << byte;
        all += static_cast<char>(b);
    }
    EXPECT_TRUE(IsValidUtf8(Windows1252ToUtf8(all)));
    EXPECT_EQ(Windows1252ToUtf8("\x80\xE4\x81"), "\u20AC\u00E4\u0081");
    EXPECT_EQ(Windows1252Byte(U'\u4E2D'), std::nullopt);
    EXPECT_EQ(Windows1252Byte(U'\U0001F600'), std::nullopt);
}

TEST(Utf8Test, OnlyWellFormedTextIsValid) {
    struct Case {
        const char* bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain", true},
        {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", true},
        {"\xE4", false},              // a Windows-1252 byte
        {"\xC3", false},              // cut
        {"\xC0\xAF", false},          // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // beyond 0x10FFFF
        {"\xF8\x88\x80\x80\x80", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
    }
    for (const std::uint32_t code : {0x41u, 0xE4u, 0x20ACu, 0x1F600u}) {
        std::string out;
        AppendUtf8(out, code);
        EXPECT_TRUE(IsValidUtf8(out)) << code;
    }
}

}  // namespace
}  // namespace wexal::text
