// WexalConduit::WriteResponseCodes: rcodesDB rebuilt from the configuration.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "conduit/WexalConduit.h"
#include "platform/palm/SyncManager.h"
#include "tests/conduit/HandheldFixture.h"

namespace wexal::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ResponseCodesTest : public HandheldFixture {
  protected:
    void AddCode(WexalConfig& config, const std::string& code, const std::string& text) {
        ++config.ResponseCount;
        config.Response[config.ResponseCount] = code;
        config.ResponseText[config.ResponseCount] = text;
    }

    WexalConduit conduit_;
};

TEST_F(ResponseCodesTest, CodesReplaceTheOldOnesInConfigurationOrder) {
    PutRecords("rcodesDB", {Texts({"ZZ", "", "Removed on the desktop"})});
    auto config = EmptyConfig();
    AddCode(*config, "NA", "No access");
    AddCode(*config, "DG", "");
    AddCode(*config, "AB", "Dog in yard");

    EXPECT_EQ(conduit_.WriteResponseCodes(*config), 1);
    EXPECT_THAT(Records("rcodesDB"),
                ElementsAre(Texts({"NA", "", "No access"}), Texts({"DG", "", ""}),
                            Texts({"AB", "", "Dog in yard"})));
    EXPECT_THAT(LogLines(), IsEmpty());
}

// The configuration is UTF-8; the handheld has the 8-bit Windows-1252 set.
// A text that is no UTF-8 comes from an older file in that set already.
TEST_F(ResponseCodesTest, ConfigurationTextsReachTheHandheldInItsCharacterSet) {
    auto config = EmptyConfig();
    AddCode(*config, "\xC3\xA4", "Gate locked \xE2\x82\xAC 5");  // "ä", "€"
    AddCode(*config, "CJ", "Dog \xE4\xB8\xAD yard");             // a CJK character
    AddCode(*config, "OL", "Z\xE4hler");                         // Windows-1252 "ä"
    AddCode(*config, "EM", "\xF0\x9F\x90\x95 bites");            // beyond 16 bits
    EXPECT_EQ(conduit_.WriteResponseCodes(*config), 1);
    EXPECT_THAT(
        Records("rcodesDB"),
        ElementsAre(Texts({"\xE4", "", "Gate locked \x80 5"}), Texts({"CJ", "", "Dog ? yard"}),
                    Texts({"OL", "", "Z\xE4hler"}), Texts({"EM", "", "? bites"})));
}

TEST_F(ResponseCodesTest, NoCodesLeaveAnEmptyDatabase) {
    PutRecords("rcodesDB", {Texts({"NA", "", "No access"})});
    EXPECT_EQ(conduit_.WriteResponseCodes(*EmptyConfig()), 1);
    EXPECT_TRUE(Exists("rcodesDB"));
    EXPECT_EQ(CountOf("rcodesDB"), 0u);
}

TEST_F(ResponseCodesTest, OldCodesThatCannotBeDeletedAreNotWrittenTwice) {
    const std::string old = Texts({"NA", "", "No access"});
    PutRecords("rcodesDB", {old});
    std::uint8_t handle = 0;
    ASSERT_EQ(SyncOpenDB("rcodesDB", 0, &handle, kSyncModeRead), 0);  // blocks the delete

    auto config = EmptyConfig();
    AddCode(*config, "NA", "No access");
    EXPECT_EQ(conduit_.WriteResponseCodes(*config), 1);
    SyncCloseDB(handle);

    EXPECT_THAT(Records("rcodesDB"), ElementsAre(old));
    EXPECT_THAT(LogLines(),
                ElementsAre("[22] Unable to delete rcodesDB; response codes not written"));
}

}  // namespace
}  // namespace wexal::testing
