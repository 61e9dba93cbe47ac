// SetReaderRoute on the handheld's reader settings.
#include <gtest/gtest.h>

#include "conduit/HHReader.h"
#include "conduit/SetReaderRoute.h"
#include "platform/palm/SyncManager.h"
#include "tests/conduit/ConduitTestBed.h"
#include "tests/conduit/ReadFaults.h"

namespace wexal::testing {
namespace {

class SetReaderRouteTest : public ::testing::Test {
  protected:
    void SetUp() override { bed_.BeginSession(); }
    void TearDown() override { bed_.EndSession(); }

    void PutSettings() {
        HHReader reader;
        ASSERT_EQ(reader.Open(), 1);
        reader.Clear();
        reader.Word1 = 11;
        reader.AutoOffSeconds = 0xFFFF;
        reader.UserName = "UNIT01";
        reader.CurrentRoute = "old";
        reader.Text4 = "1";
        ASSERT_EQ(reader.Write(), 0);
        reader.Close();
    }

    ConduitTestBed bed_;
};

TEST_F(SetReaderRouteTest, ReplacesOnlyTheCurrentRoute) {
    PutSettings();
    EXPECT_EQ(SetReaderRoute("12 A"), 1);
    HHReader reader;
    ASSERT_EQ(reader.Open(), 1);
    ASSERT_EQ(reader.RecordCount(), 1u);
    ASSERT_EQ(reader.ReadByIndex(0), 0);
    EXPECT_EQ(reader.CurrentRoute, "12 A");
    EXPECT_EQ(reader.Word1, 11);
    EXPECT_EQ(reader.AutoOffSeconds, 0xFFFF);
    EXPECT_EQ(reader.UserName, "UNIT01");
    EXPECT_EQ(reader.Text4, "1");
    reader.Close();
}

TEST_F(SetReaderRouteTest, EmptySettingsGetTheirFirstRecord) {
    EXPECT_EQ(SetReaderRoute("01"), 1);
    HHReader reader;
    ASSERT_EQ(reader.Open(), 1);
    ASSERT_EQ(reader.RecordCount(), 1u);
    ASSERT_EQ(reader.ReadByIndex(0), 0);
    EXPECT_EQ(reader.CurrentRoute, "01");
    reader.Close();
}

TEST_F(SetReaderRouteTest, UnreadableSettingsAreLeftAsTheyAre) {
    PutSettings();
    {
        FailingRead failing(0, kSyncErrIo);
        EXPECT_EQ(SetReaderRoute("01"), 1);
    }
    HHReader reader;
    ASSERT_EQ(reader.Open(), 1);
    EXPECT_EQ(reader.RecordCount(), 1u);
    ASSERT_EQ(reader.ReadByIndex(0), 0);
    EXPECT_EQ(reader.CurrentRoute, "old");
    reader.Close();
}

}  // namespace
}  // namespace wexal::testing
