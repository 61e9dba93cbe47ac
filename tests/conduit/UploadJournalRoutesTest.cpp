// One journal for several routes uploaded into one file: after a stop at any
// point the file keeps the lines of the routes whose marks lasted and loses
// those of every later route, cut lines included.
#include "conduit/UploadJournal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using wexal::testing::ReadFile;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;
using Settled = UploadJournal::Settled;

constexpr std::uint32_t kHandheld = 4711;
constexpr std::uint32_t kOtherHandheld = 815;

class UploadJournalRoutesTest : public ::testing::Test {
  protected:
    fs::path File() const { return dir_ / "readings.txt"; }
    fs::path Journal() const { return dir_ / "readings.txt.pending"; }

    void Append(const std::string& bytes) { WriteFile(File(), ReadFile(File()) + bytes); }

    // Routes 1 and 2 uploaded whole, route 3 stopped while appending.
    void ThreeRoutesStoppedInTheThird() {
        WriteFile(File(), "old\r\n");
        UploadJournal journal(File().string());
        ASSERT_TRUE(journal.Begin("0001", 1, kHandheld));
        Append("r1\r\n");
        ASSERT_TRUE(journal.CommitAndContinue());
        ASSERT_TRUE(journal.Continue("0002", 2));
        Append("r2\r\n");
        ASSERT_TRUE(journal.CommitAndContinue());
        ASSERT_TRUE(journal.Continue("0003", 3));
        Append("r3\r\nr");
    }

    Settled Settle(std::uint32_t handheld, const std::set<std::string>& marked) {
        UploadJournal journal(File().string());
        return journal.Settle(handheld, [&](const std::string& route, std::uint32_t) {
            return marked.count(route) == 0;
        });
    }

    TempDir dir_;
};

TEST_F(UploadJournalRoutesTest, FileKeepsTheRoutesWhoseMarksLasted) {
    struct Case {
        std::uint32_t handheld;
        std::set<std::string> marked;
        const char* left;
    };
    const Case cases[] = {
        {kHandheld, {}, "old\r\n"},
        {kHandheld, {"0001"}, "old\r\nr1\r\n"},
        {kHandheld, {"0001", "0002"}, "old\r\nr1\r\nr2\r\n"},
        // Another handheld's marks are unknown: committed routes stay.
        {kOtherHandheld, {}, "old\r\nr1\r\nr2\r\n"},
        {0, {}, "old\r\nr1\r\nr2\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("left ") + c.left);
        ThreeRoutesStoppedInTheThird();
        EXPECT_EQ(Settle(c.handheld, c.marked), Settled::CutBack);
        EXPECT_EQ(ReadFile(File()), c.left);
        EXPECT_FALSE(fs::exists(Journal()));
    }
}

TEST_F(UploadJournalRoutesTest, RecordCutShortByAPowerLossCountsAsNotWritten) {
    ThreeRoutesStoppedInTheThird();
    WriteFile(Journal(), ReadFile(Journal()) + "continued 14 ");
    EXPECT_EQ(Settle(kHandheld, {"0001", "0002"}), Settled::CutBack);
    EXPECT_EQ(ReadFile(File()), "old\r\nr1\r\nr2\r\n");
}

TEST_F(UploadJournalRoutesTest, RouteThatAddedNothingNeedsNoRecord) {
    WriteFile(File(), "old\r\n");
    UploadJournal journal(File().string());
    ASSERT_TRUE(journal.Begin("0001", 1, kHandheld));
    ASSERT_TRUE(journal.CommitAndContinue());
    const std::string begun = ReadFile(Journal());
    ASSERT_TRUE(journal.Continue("0002", 2));
    Append("r2\r\n");
    ASSERT_TRUE(journal.CommitAndContinue());
    EXPECT_NE(ReadFile(Journal()), begun);
    ASSERT_TRUE(journal.Continue("0003", 3));
    ASSERT_TRUE(journal.CommitAndContinue());
    ASSERT_TRUE(journal.Continue("0004", 4));
    Append("r4\r\n");
    EXPECT_EQ(Settle(kHandheld, {"0001", "0002", "0003"}), Settled::CutBack);
    EXPECT_EQ(ReadFile(File()), "old\r\nr2\r\n");
}

TEST_F(UploadJournalRoutesTest, FileChangedBehindTheUploadRefusesTheNextRoute) {
    WriteFile(File(), "old\r\n");
    UploadJournal journal(File().string());
    ASSERT_TRUE(journal.Begin("0001", 1, kHandheld));
    Append("r1\r\n");
    ASSERT_TRUE(journal.CommitAndContinue());
    Append("x\r\n");
    EXPECT_FALSE(journal.Continue("0002", 2));
}

}  // namespace
