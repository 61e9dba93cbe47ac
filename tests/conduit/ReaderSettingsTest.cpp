// WexalConduit::WriteReaderDB: the readerDB record byte for byte, the words
// kept from the handheld, and the handheld clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "conduit/HHReader.h"
#include "conduit/WexalConduit.h"
#include "platform/palm/SyncManager.h"
#include "tests/conduit/HandheldFixture.h"
#include "tests/conduit/ReadFaults.h"

namespace wexal::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ReaderSettingsTest : public HandheldFixture {
  protected:
    // The words at offset 32 (auto-off seconds) of record 0.
    std::uint16_t AutoOffWord() {
        const std::string record = Records("readerDB").at(0);
        return static_cast<std::uint16_t>(static_cast<unsigned char>(record[32]) << 8 |
                                          static_cast<unsigned char>(record[33]));
    }

    WexalConduit conduit_;
};

TEST_F(ReaderSettingsTest, NewHandheldGetsTheWholeRecordAndItsClock) {
    auto config = EmptyConfig();
    config->ShowExpectedRange = 1;
    config->UseInitials = 1;
    config->RightToLeft = 1;
    config->OverrideAutoOff = 1;
    config->AutoOffMinutes = 5;
    config->Journalling = 1;
    config->MeterIDChoice = 1;
    config->RestorePIN = 1234;

    const std::time_t before = std::time(nullptr);
    EXPECT_EQ(conduit_.WriteReaderDB(*config), 1);
    const std::time_t after = std::time(nullptr);

    const std::string expected = Words({0,   0, 0, 0,    0, 0, 0,  // words 1-7
                                        1,   0, 1, 1,    1,        // range, prior, initials x2, RTL
                                        4,   0, 4, 0,              // constants
                                        300, 1, 1, 1234,           // auto-off, journal, id, PIN
                                        0,   0, 0, 0}) +
                                 Texts({"", "Alice ", "", "1", "", "", ""});
    EXPECT_EQ(expected.size(), 62u);
    EXPECT_THAT(Records("readerDB"), ElementsAre(expected));
    EXPECT_THAT(LogLines(), IsEmpty());

    const palm::HandheldClock clock = store_->Clock();
    EXPECT_TRUE(clock.isSet);
    EXPECT_GE(clock.value, before);
    EXPECT_LE(clock.value, after);
}

TEST_F(ReaderSettingsTest, HandheldWordsAreKeptAndTheRecordReplaced) {
    PutRecords("readerDB", {Words({11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                                   23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34}) +
                            Texts({"t1", "OldUser", "route9", "t4", "t5", "t6", "t7"})});
    auto config = EmptyConfig();
    config->ShowPriorReadings = 1;
    EXPECT_EQ(conduit_.WriteReaderDB(*config), 1);

    const std::string expected = Words({11,     12, 13, 14, 0, 0, 17,  //
                                        0,      1,  0,  0,  0,         //
                                        4,      0,  4,  0,             //
                                        0xFFFF, 0,  0,  0,             //
                                        0,      0,  0,  0}) +
                                 Texts({"", "Alice ", "", "1", "", "", ""});
    EXPECT_THAT(Records("readerDB"), ElementsAre(expected));
}

TEST_F(ReaderSettingsTest, AutoOffIsNeverUnlessOverriddenAndStopsBelowNever) {
    auto config = EmptyConfig();
    config->AutoOffMinutes = 5;
    conduit_.WriteReaderDB(*config);
    EXPECT_EQ(AutoOffWord(), 0xFFFF);

    config->OverrideAutoOff = 1;
    conduit_.WriteReaderDB(*config);
    EXPECT_EQ(AutoOffWord(), 300);

    config->AutoOffMinutes = 1092;  // 65520 seconds still fit
    conduit_.WriteReaderDB(*config);
    EXPECT_EQ(AutoOffWord(), 65520);

    config->AutoOffMinutes = 1093;  // 65580 would wrap to 44 seconds
    conduit_.WriteReaderDB(*config);
    EXPECT_EQ(AutoOffWord(), 0xFFFE);

    config->AutoOffMinutes = 0xFFFF;
    conduit_.WriteReaderDB(*config);
    EXPECT_EQ(AutoOffWord(), 0xFFFE);
    EXPECT_EQ(Records("readerDB").size(), 1u);
}

TEST_F(ReaderSettingsTest, UserNameIsCutAfterSixCharacters) {
    auto config = EmptyConfig();
    for (const auto& [name, stored] : {std::pair<std::string, std::string>{"Bob", "Bob"},
                                       {"Robert", "Robert"},
                                       {"Roberta", "Robert"}}) {
        store_->SetUserName(name);
        conduit_.WriteReaderDB(*config);
        const std::string record = Records("readerDB").at(0);
        EXPECT_EQ(record.substr(49, stored.size() + 1), stored + '\0') << name;
        EXPECT_EQ(record.size(), 56 + stored.size()) << name;
    }
}

TEST_F(ReaderSettingsTest, UnreadableRecordIsNeitherReplacedNorJoinedByAnother) {
    const std::string old = Words({1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                   13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}) +
                            Texts({"", "Old", "", "1", "", "", ""});
    PutRecords("readerDB", {old});
    {
        FailingRead failing(0, kSyncErrIo);
        EXPECT_EQ(conduit_.WriteReaderDB(*EmptyConfig()), 1);
    }
    EXPECT_THAT(Records("readerDB"), ElementsAre(old));
    EXPECT_THAT(LogLines(), ElementsAre("[22] Error " + std::to_string(kSyncErrIo) +
                                        " occurred reading reader settings; settings not written"));
}

}  // namespace
}  // namespace wexal::testing
