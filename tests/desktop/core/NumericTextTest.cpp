#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/core/DesktopError.h"
#include "desktop/core/NumericText.h"

namespace {

using wexal::desktop::DesktopError;
using wexal::desktop::NumericValue;
using wexal::desktop::ToInteger16;

TEST(NumericTextTest, StrictSixteenBitNumbers) {
    struct Case {
        std::string text;
        int expected;  // or the error number when `error`
        bool error = false;
    };
    const std::vector<Case> cases = {
        {"0", 0},
        {"  42\t", 42},
        {"+5", 5},
        {"2.5", 2},  // halves go to the even neighbour
        {"3.5", 4},
        {"-2.5", -2},
        {".5", 0},
        {"1.5E1", 15},
        {"1D2", 100},
        {"32767", 32767},
        {"32767.5", 6, true},
        {"-32768.5", -32768},
        {"-32768.51", 6, true},
        {"40000", 6, true},
        {"1e400", 6, true},
        {"1e-400", 0},
        {"", 13, true},
        {"abc", 13, true},
        {"12abc", 13, true},
        {"1.2.3", 13, true},
        {"&H10", 13, true},
        {"1e", 13, true},
        {"inf", 13, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        try {
            const int value = ToInteger16(c.text, "Key", "/f.cfg");
            EXPECT_FALSE(c.error) << "gave " << value;
            EXPECT_EQ(value, c.expected);
        } catch (const DesktopError& error) {
            EXPECT_TRUE(c.error) << error.what();
            EXPECT_EQ(error.Number(), c.expected);
            EXPECT_EQ(error.Key(), "Key");
            EXPECT_EQ(error.Value(), c.text);
            EXPECT_EQ(error.File(), "/f.cfg");
        }
    }
}

TEST(NumericTextTest, LeadingNumberOfAText) {
    struct Case {
        std::string text;
        double expected;
    };
    // Blanks, tabs and line feeds are skipped anywhere; CR is not.
    const std::vector<Case> cases = {
        {"", 0},        {"abc", 0},     {"12abc", 12}, {"12.5 %", 12.5}, {" 1 2 3", 123},
        {"\t-\n4", -4}, {"1.2.3", 1.2}, {".5", 0.5},   {"-.5x", -0.5},   {"+7", 7},
        {"1e3", 1000},  {"2D-2", 0.02}, {"1e", 1},     {"1e+", 1},       {"5E2x", 500},
        {"&H1F", 31},   {"&hff", 255},  {"&O17", 15},  {"&O8", 0},       {"&Hg", 0},
        {"&", 0},       {"-", 0},       {"1e-400", 0}, {"\r1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        EXPECT_DOUBLE_EQ(NumericValue(c.text), c.expected);
    }
    try {
        NumericValue("9e999");
        ADD_FAILURE() << "no error";
    } catch (const DesktopError& error) {
        EXPECT_EQ(error.Number(), 6);
    }
}

}  // namespace
