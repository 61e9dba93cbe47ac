// Zero-padded numbers as the route-file readers write them into meters.
#include <gtest/gtest.h>

#include <string>

#include "conduit/formats/LeadingNumber.h"

namespace {

struct PaddedCase {
    std::string text;
    int digits;
    std::string padded;  // as "%0*lld" gives it
};

TEST(LeadingNumberTest, ZeroPaddedIntegersMatchTheCFormat) {
    const PaddedCase cases[] = {
        {"7A", 4, "0007"},
        {"-3", 4, "-003"},
        {"  +12", 2, "12"},
        {"", 2, "00"},
        {"0", 0, "0"},
        {"123456", 4, "123456"},
        {"-1", 1, "-1"},
        {"9223372036854775807", 4, "9223372036854775807"},
        {"-9223372036854775808", 21, "-09223372036854775808"},
        {"99999999999999999999", 25, "0000009223372036854775807"},
        {"-99999999999999999999", 31, "-000000000009223372036854775808"},
    };
    std::string out = "a text longer than any number it will hold";
    for (const PaddedCase& c : cases) {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.digits));
        AssignZeroPaddedInteger(out, c.text, c.digits);
        EXPECT_EQ(out, c.padded);
        // Padded in place, as a reader does with a field of its own.
        std::string same = c.text;
        AssignZeroPaddedInteger(same, same, c.digits);
        EXPECT_EQ(same, c.padded);
    }
}

}  // namespace
