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
