// libuserdata.so: HotSync users in the registry, in the order they came.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/registry/Registry.h"
#include "tests/platform/palmdesktop/StandInFixture.h"

namespace wexal::palmdesktop::testing {
namespace {

class UserDataTest : public StandInTest {
  protected:
    UmGetUserCountFn count_ = userData_.Entry<UmGetUserCountFn>("UmGetUserCount");
    UmGetUserIDFn id_ = userData_.Entry<UmGetUserIDFn>("UmGetUserID");
    UmGetUserNameFn name_ = userData_.Entry<UmGetUserNameFn>("UmGetUserName");

    uint32_t IdAt(uint32_t index) {
        uint32_t id = 0;
        EXPECT_EQ(id_(index, &id), kUmErrNone) << index;
        return id;
    }
};

TEST_F(UserDataTest, UsersKeepTheirOrderAndIdsAreNeverGivenTwice) {
    EXPECT_EQ(count_(), 0);
    EXPECT_EQ(addUser_("UNIT02", 0), kUmErrNone);
    EXPECT_EQ(addUser_("UNIT01", 0), kUmErrNone);
    EXPECT_EQ(addUser_("unit01", 0), kUmErrNone);  // the same user: nothing changes
    ASSERT_EQ(count_(), 2);
    const uint32_t first = IdAt(0);
    const uint32_t second = IdAt(1);
    EXPECT_LT(first, second);
    EXPECT_NE(first, 0u);
    EXPECT_TRUE(std::filesystem::is_directory(Desktop() / "UNIT02"));
    EXPECT_TRUE(std::filesystem::is_directory(Desktop() / "UNIT01"));
    EXPECT_FALSE(std::filesystem::exists(Desktop() / "unit01"));

    uint32_t untouched = 77;
    EXPECT_EQ(id_(2, &untouched), kUmErrNotFound);
    EXPECT_EQ(untouched, 77u);

    // A user taken away by hand leaves its id used.
    registry::Registry::CurrentUser().DeleteKey(
        "Software\\U.S. Robotics\\Pilot Desktop\\Users\\UNIT01");
    EXPECT_EQ(addUser_("UNIT03", 0), kUmErrNone);
    ASSERT_EQ(count_(), 2);
    EXPECT_GT(IdAt(1), second);
}

TEST_F(UserDataTest, NamesThatCannotBeUsersAreRefused) {
    const std::string refused[] = {"",     ".",    "..",    "a/b",
                                   "a\\b", "a\nb", "a\x7f", std::string(64, 'u')};
    for (const std::string& name : refused) {
        EXPECT_EQ(addUser_(name.c_str(), 0), kUmErrBadArgument) << name;
    }
    EXPECT_EQ(addUser_(nullptr, 0), kUmErrBadArgument);
    EXPECT_EQ(addUser_(std::string(63, 'u').c_str(), 0), kUmErrNone);
    EXPECT_EQ(count_(), 1);
}

// The buffer gets the name and its NUL when they fit, else as much of the
// name as fits, without a NUL.
TEST_F(UserDataTest, NamesFillTheBufferTheyAreGiven) {
    const std::string fifty(50, 'n');
    const std::string longer = std::string(50, 'l') + "-tail";
    for (const std::string& user : {std::string("UNIT01"), fifty, longer}) {
        ASSERT_EQ(addUser_(user.c_str(), 0), kUmErrNone);
    }
    struct Case {
        uint32_t index;
        int16_t result;
        std::string buffer;
        uint32_t size;
    };
    for (const Case& c :
         {Case{0, kUmErrNone, "UNIT01" + std::string(1, '\0') + std::string(43, ' '), 7},
          Case{1, kUmErrNameTooLong, fifty, 51},
          Case{2, kUmErrNameTooLong, std::string(50, 'l'), 56}}) {
        std::string buffer(50, ' ');
        uint32_t size = 50;
        EXPECT_EQ(name_(IdAt(c.index), buffer.data(), &size), c.result) << c.index;
        EXPECT_EQ(buffer, c.buffer) << c.index;
        EXPECT_EQ(size, c.size) << c.index;
    }
    std::string buffer(50, ' ');
    uint32_t size = 50;
    EXPECT_EQ(name_(999, buffer.data(), &size), kUmErrNotFound);
    EXPECT_EQ(buffer, std::string(50, ' '));
    EXPECT_EQ(name_(IdAt(0), nullptr, &size), kUmErrBadArgument);
}

TEST_F(UserDataTest, DamagedRegistryIsAnErrorNotACrash) {
    wexal::testing::WriteFile(scratch_ / "registry.reg", "REGEDIT4\n\nnot a registry line\n");
    EXPECT_EQ(count_(), kUmErrRegistry);
    EXPECT_EQ(addUser_("UNIT01", 0), kUmErrRegistry);
    uint32_t id = 5;
    EXPECT_EQ(id_(0, &id), kUmErrRegistry);
    EXPECT_EQ(id, 5u);
}

}  // namespace
}  // namespace wexal::palmdesktop::testing
