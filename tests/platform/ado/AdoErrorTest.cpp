// The message that an error shows, with and without a text of its own.
#include <gtest/gtest.h>

#include "platform/ado/AdoError.h"

namespace wexal::ado {
namespace {

std::string MessageOf(std::uint32_t code, std::u16string text = {}) {
    return ToUtf8(AdoError(FailureCode(code), std::move(text)).ErrorMessage());
}

TEST(AdoErrorTest, TextLosesOnlyItsFinalLineBreak) {
    EXPECT_EQ(MessageOf(0x80004005, u"ERROR: no such table;\nError while executing\n"),
              "ERROR: no such table;\nError while executing");
    EXPECT_EQ(MessageOf(0x80004005, u"Class not registered\r\n"), "Class not registered");
    EXPECT_EQ(MessageOf(0x80004005, u"two\n\n"), "two\n");
    EXPECT_EQ(MessageOf(0x80004005, u"plain"), "plain");
}

TEST(AdoErrorTest, CodeWithoutTextIsNamedByItsRange) {
    EXPECT_EQ(MessageOf(0x80040E14), "IDispatch error #3092");
    EXPECT_EQ(MessageOf(0x80040201), "IDispatch error #1");
    EXPECT_EQ(MessageOf(0x8004FFFF), "IDispatch error #65023");
    EXPECT_EQ(MessageOf(0x80040200), "Unknown error 0x80040200");
    EXPECT_EQ(MessageOf(0x80050000), "Unknown error 0x80050000");
    EXPECT_EQ(MessageOf(0x800401F3), "Unknown error 0x800401F3");
    EXPECT_EQ(MessageOf(0x1), "Unknown error 0x1");
}

TEST(AdoErrorTest, WhatGivesTheMessageAsUtf8) {
    const AdoError error(kErrorFailed, u"Z\u00FCrich \u20AC \U0001F600\n", u"42000");
    EXPECT_STREQ(error.what(), "Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(error.SqlState(), u"42000");
    EXPECT_EQ(error.Description(), u"Z\u00FCrich \u20AC \U0001F600\n");
    // A lone half of a surrogate pair cannot be written as UTF-8.
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace wexal::ado
