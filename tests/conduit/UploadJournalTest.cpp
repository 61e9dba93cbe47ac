// The upload journal on its own: what it cuts back and what it keeps when
// an upload into a billing file did not reach its end.
#include "conduit/UploadJournal.h"

#include <gtest/gtest.h>

#include <filesystem>
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
constexpr std::uint32_t kRecord = 12;

void Append(const fs::path& file, const std::string& bytes) {
    WriteFile(file, ReadFile(file) + bytes);
}

// Records which route the journal asked about and answers `awaits`.
struct RouteList {
    bool awaits = true;
    std::string askedRoute{};
    std::uint32_t askedRecord = 0;
    UploadJournal::RouteAwaitsUpload Ask() {
        return [this](const std::string& route, std::uint32_t record) {
            askedRoute = route;
            askedRecord = record;
            return awaits;
        };
    }
};

class UploadJournalTest : public ::testing::Test {
  protected:
    fs::path File() const { return dir_ / "readings.txt"; }
    fs::path Journal() const { return dir_ / "readings.txt.pending"; }

    // An upload of route "0001" that appended `lines` after `before` and
    // stopped: with `commit` after its lines were on disk, else while
    // appending.
    void UploadStopped(const std::string& before, const std::string& lines, bool commit) {
        WriteFile(File(), before);
        UploadJournal journal(File().string());
        ASSERT_TRUE(journal.Begin("0001", kRecord, kHandheld));
        Append(File(), lines);
        if (commit) {
            ASSERT_TRUE(journal.Commit());
        }
    }

    Settled Settle(std::uint32_t handheld, RouteList& list,
                   UploadJournal::Purpose purpose = UploadJournal::Purpose::Append) {
        UploadJournal journal(File().string());
        const Settled settled = journal.Settle(handheld, list.Ask(), purpose);
        settledRoute_ = journal.SettledRoute();
        return settled;
    }

    TempDir dir_;
    std::string settledRoute_;
};

TEST_F(UploadJournalTest, WithoutJournalNothingIsTouched) {
    WriteFile(File(), "line\r\n");
    RouteList list;
    EXPECT_EQ(Settle(kHandheld, list), Settled::Nothing);
    EXPECT_EQ(ReadFile(File()), "line\r\n");
    EXPECT_EQ(list.askedRoute, "");
}

TEST_F(UploadJournalTest, FinishedUploadLeavesNoJournal) {
    WriteFile(File(), "old\r\n");
    UploadJournal journal(File().string());
    ASSERT_TRUE(journal.Begin("0001", kRecord, kHandheld));
    EXPECT_TRUE(fs::exists(Journal()));
    Append(File(), "new\r\n");
    ASSERT_TRUE(journal.Commit());
    EXPECT_TRUE(journal.End());
    EXPECT_FALSE(fs::exists(Journal()));
    EXPECT_FALSE(fs::exists(Journal().string() + ".tmp"));
    EXPECT_EQ(ReadFile(File()), "old\r\nnew\r\n");
}

// --- Killed while appending ----------------------------------------------------

TEST_F(UploadJournalTest, PendingUploadIsCutBackWhoeverSettlesIt) {
    for (const std::uint32_t handheld : {kHandheld, kOtherHandheld, 0u}) {
        UploadStopped("old\r\n", "new1\r\nne", /*commit=*/false);
        RouteList list;
        list.awaits = false;  // a pending route cannot have been marked uploaded
        EXPECT_EQ(Settle(handheld, list), Settled::CutBack);
        EXPECT_EQ(settledRoute_, "0001");
        EXPECT_EQ(ReadFile(File()), "old\r\n");
        EXPECT_FALSE(fs::exists(Journal()));
    }
}

TEST_F(UploadJournalTest, PendingUploadThatCreatedTheFileEmptiesIt) {
    UploadJournal journal(File().string());
    ASSERT_TRUE(journal.Begin("0001", kRecord, kHandheld));
    WriteFile(File(), "new1\r\nne");
    RouteList list;
    EXPECT_EQ(Settle(kHandheld, list), Settled::CutBack);
    EXPECT_TRUE(fs::exists(File()));
    EXPECT_EQ(ReadFile(File()), "");
}

TEST_F(UploadJournalTest, PendingUploadThatWroteNothingKeepsTheFile) {
    UploadStopped("old\r\n", "", /*commit=*/false);
    RouteList list;
    EXPECT_EQ(Settle(kHandheld, list), Settled::Kept);
    EXPECT_EQ(ReadFile(File()), "old\r\n");
    EXPECT_FALSE(fs::exists(Journal()));
}

// --- Killed after the lines were on disk -----------------------------------------

TEST_F(UploadJournalTest, CommittedRouteStillToUploadIsCutBack) {
    UploadStopped("old\r\n", "new1\r\nnew2\r\n", /*commit=*/true);
    RouteList list;
    EXPECT_EQ(Settle(kHandheld, list), Settled::CutBack);
    EXPECT_EQ(list.askedRoute, "0001");
    EXPECT_EQ(list.askedRecord, kRecord);
    EXPECT_EQ(ReadFile(File()), "old\r\n");
    EXPECT_FALSE(fs::exists(Journal()));
}

TEST_F(UploadJournalTest, CommittedRouteMarkedUploadedKeepsItsLines) {
    UploadStopped("old\r\n", "new1\r\nnew2\r\n", /*commit=*/true);
    RouteList list;
    list.awaits = false;
    EXPECT_EQ(Settle(kHandheld, list), Settled::Kept);
    EXPECT_EQ(ReadFile(File()), "old\r\nnew1\r\nnew2\r\n");
    EXPECT_FALSE(fs::exists(Journal()));
}

// An upload into the file settles it; a sync that only tidies up leaves it
// to the handheld that can tell whether the route was marked.
TEST_F(UploadJournalTest, CommittedRouteOfAnotherOrUnknownHandheldKeepsItsLines) {
    using Purpose = UploadJournal::Purpose;
    for (const Purpose purpose : {Purpose::Append, Purpose::Tidy}) {
        for (const std::uint32_t handheld : {kOtherHandheld, 0u}) {
            UploadStopped("old\r\n", "new1\r\n", /*commit=*/true);
            RouteList list;
            EXPECT_EQ(Settle(handheld, list, purpose),
                      purpose == Purpose::Tidy ? Settled::Undecided : Settled::Kept);
            EXPECT_EQ(list.askedRoute, "") << "its route list is not this handheld's";
            EXPECT_EQ(ReadFile(File()), "old\r\nnew1\r\n");
            EXPECT_EQ(fs::exists(Journal()), purpose == Purpose::Tidy);
        }
    }
}

TEST_F(UploadJournalTest, CommittedRouteWithLinesAfterItIsDoubtfulAndKept) {
    UploadStopped("old\r\n", "new1\r\n", /*commit=*/true);
    Append(File(), "other\r\n");
    RouteList list;
    EXPECT_EQ(Settle(kHandheld, list), Settled::Doubtful);
    EXPECT_EQ(ReadFile(File()), "old\r\nnew1\r\nother\r\n");
    EXPECT_FALSE(fs::exists(Journal()));
}

// --- A file that is no longer the journal's ----------------------------------------

TEST_F(UploadJournalTest, FileRolledAwayIsLeftAlone) {
    UploadStopped("old\r\n", "new1\r\nne", /*commit=*/false);
    fs::rename(File(), dir_ / "rolled.txt");
    WriteFile(File(), "started again after the roll\r\n");
    RouteList list;
    EXPECT_EQ(Settle(kHandheld, list), Settled::Kept);
    EXPECT_EQ(ReadFile(File()), "started again after the roll\r\n");
    EXPECT_EQ(ReadFile(dir_ / "rolled.txt"), "old\r\nnew1\r\nne");
    EXPECT_FALSE(fs::exists(Journal()));
}

TEST_F(UploadJournalTest, MissingOrShortenedFileIsNotLengthened) {
    UploadStopped("old line\r\n", "new1\r\n", /*commit=*/false);
    WriteFile(File(), "x");
    RouteList list;
    EXPECT_EQ(Settle(kHandheld, list), Settled::Kept);
    EXPECT_EQ(ReadFile(File()), "x");

    UploadStopped("old line\r\n", "new1\r\n", /*commit=*/false);
    fs::remove(File());
    EXPECT_EQ(Settle(kHandheld, list), Settled::Kept);
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_FALSE(fs::exists(Journal()));
}

// --- The journal itself ------------------------------------------------------------

TEST_F(UploadJournalTest, DamagedJournalFailsAndStays) {
    WriteFile(File(), "old\r\nnew\r\n");
    for (const std::string& damaged :
         {std::string("pending 4 4 1 2 3"), std::string("pending x 4 1 2 3 4 0001\n"),
          std::string("finished 4 4 1 2 3 4 0001\n"), std::string(5000, 'p')}) {
        WriteFile(Journal(), damaged);
        RouteList list;
        EXPECT_EQ(Settle(kHandheld, list), Settled::Failed) << damaged.substr(0, 40);
        EXPECT_EQ(ReadFile(File()), "old\r\nnew\r\n");
        EXPECT_EQ(ReadFile(Journal()), damaged);
    }
}

TEST_F(UploadJournalTest, RouteNameWithBlanksComesBackWhole) {
    WriteFile(File(), "old\r\n");
    UploadJournal journal(File().string());
    ASSERT_TRUE(journal.Begin("NORTH 7 ", kRecord, kHandheld));
    Append(File(), "new\r\n");
    ASSERT_TRUE(journal.Commit());
    RouteList list;
    list.awaits = false;
    EXPECT_EQ(Settle(kHandheld, list), Settled::Kept);
    EXPECT_EQ(list.askedRoute, "NORTH 7 ");
    EXPECT_EQ(settledRoute_, "NORTH 7 ");
}

TEST_F(UploadJournalTest, NewUploadReplacesAJournalLeftBehind) {
    UploadStopped("old\r\n", "", /*commit=*/true);
    UploadJournal journal(File().string());
    ASSERT_TRUE(journal.Begin("0002", kRecord + 1, kHandheld));
    Append(File(), "two\r\nt");
    RouteList list;
    list.awaits = false;
    EXPECT_EQ(Settle(kHandheld, list), Settled::CutBack);
    EXPECT_EQ(settledRoute_, "0002");
    EXPECT_EQ(ReadFile(File()), "old\r\n");
}

TEST_F(UploadJournalTest, JournalThatCannotBeWrittenRefusesTheUpload) {
    WriteFile(dir_ / "plainfile", "");
    UploadJournal journal((dir_ / "plainfile" / "readings.txt").string());
    EXPECT_FALSE(journal.Begin("0001", kRecord, kHandheld));
    RouteList list;
    EXPECT_EQ(journal.Settle(kHandheld, list.Ask()), Settled::Nothing);
    EXPECT_TRUE(journal.End());
}

}  // namespace
