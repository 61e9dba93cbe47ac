// Two handhelds synced at once into one readings file and one exceptions
// file, as two sync managers of one office do: the billing-file lock makes
// them take turns, so that neither takes the other's live upload for a dead
// one. And a lock that cannot be taken lets nothing into its file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "conduit/UploadJournal.h"
#include "platform/billingfile/BillingFileLock.h"
#include "tests/conduit/BillingFileLines.h"
#include "tests/conduit/NumberedRoutes.h"
#include "tests/conduit/SyncProcess.h"
#include "tests/conduit/TextFileOffice.h"
#include "tests/support/WaitUntil.h"

namespace wexal::testing {
namespace {

namespace fs = std::filesystem;
using billingfile::BillingFileLock;
using Lines = std::vector<std::string>;

constexpr const char* kWaiting = "Wexal - Waiting for another HotSync or program to finish with ";

// Log lines of a child's sync (its standard error) with activity 17.
Lines FailuresLogged(const fs::path& log) {
    Lines failures;
    const std::string text = ReadFile(log);
    for (std::size_t at = text.find("[17]"); at != std::string::npos;
         at = text.find("[17]", at + 1)) {
        failures.push_back(text.substr(at, text.find('\n', at) - at));
    }
    return failures;
}

// Waits until the child's log holds `text`; false when the child ended (or
// the hang bound passed) first.
bool AwaitLogged(SyncProcess& sync, const fs::path& log, const std::string& text) {
    const auto logged = [&] { return ReadFile(log).find(text) != std::string::npos; };
    WaitUntil([&] { return logged() || !sync.Running(); });
    return logged();
}

TEST(BillingFileLockSyncTest, TwoHandheldsSyncingAtOnceLoseAndDoubleNothing) {
    constexpr int kRounds = 8;
    constexpr int kMeters = 300;
    constexpr int kExceptionEvery = 10;
    const std::array<std::vector<std::string>, 2> routes = {
        {{"0101", "0102", "0103"}, {"0201", "0202", "0203"}}};
    TextFileOffice office;
    const std::array<fs::path, 2> handhelds = {office.Bed().Handheld(),
                                               office.Bed().AddHandheld("UNIT02")};
    KeyCounts readings;
    KeyCounts exceptions;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        for (std::size_t unit = 0; unit < handhelds.size(); ++unit) {
            office.Bed().UseHandheld(handhelds[unit]);
            std::vector<std::pair<std::string, int>> file;
            for (const std::string& route : routes[unit]) {
                file.emplace_back(route, kMeters);
            }
            office.WriteRouteFile(RoutesOf(file));
            office.Sync();
            for (const std::string& route : routes[unit]) {
                ReadRoute(office, route, kMeters, std::to_string(round), readings, kExceptionEvery,
                          &exceptions);
            }
        }

        const std::array<fs::path, 2> logs = {office.Bed().Folder() / "unit1.log",
                                              office.Bed().Folder() / "unit2.log"};
        {
            StartGate gate;
            SyncProcess first(handhelds[0], logs[0], &gate);
            SyncProcess second(handhelds[1], logs[1], &gate);
            gate.Open();
            EXPECT_TRUE(first.Succeeded());
            EXPECT_TRUE(second.Succeeded());
        }
        ASSERT_NO_FATAL_FAILURE(ExpectEachReadingOnce(office.Readings(), readings));
        ASSERT_NO_FATAL_FAILURE(
            ExpectEachLineOnce(ExceptionLines(ReadFile(office.Exceptions())), exceptions));
        EXPECT_FALSE(HasJournal(office.Readings()));
        EXPECT_FALSE(HasJournal(office.Exceptions()));
        for (std::size_t unit = 0; unit < handhelds.size(); ++unit) {
            EXPECT_EQ(FailuresLogged(logs[unit]), Lines{});
            office.Bed().UseHandheld(handhelds[unit]);
            EXPECT_EQ(office.RouteList(), Lines{}) << "routes not marked uploaded";
        }
    }
}

TEST(BillingFileLockSyncTest, SyncWaitsForTheLiveUploadThatOwnsTheJournal) {
    TextFileOffice office;
    office.WriteRouteFile(RouteOf("0001", 4));
    office.Sync();
    KeyCounts expected;
    ReadRoute(office, "0001", 4, "7", expected);
    // Another handheld's sync halfway through its route: it holds the lock,
    // its journal is pending, two of its three lines are in.
    const std::string earlier = std::string(135, 'e') + "\r\n";
    const std::string theirs = std::string(135, 't') + "\r\n";
    const fs::path readings = office.Readings();
    WriteFile(readings, earlier);
    BillingFileLock live;
    ASSERT_TRUE(live.Acquire(readings.string()));
    UploadJournal journal(readings.string());
    ASSERT_TRUE(journal.Begin("0901", 1, 4242));
    WriteFile(readings, earlier + theirs + theirs);

    const fs::path log = office.Bed().Folder() / "child.log";
    SyncProcess sync(office.Bed().Handheld(), log);
    ASSERT_TRUE(AwaitLogged(sync, log, kWaiting + readings.string())) << "the sync did not wait:\n"
                                                                      << ReadFile(log);
    EXPECT_EQ(ReadFile(readings), earlier + theirs + theirs);
    EXPECT_TRUE(HasJournal(readings));

    // The live upload ends as a sync ends it; then the waiting one goes on.
    WriteFile(readings, earlier + theirs + theirs + theirs);
    ASSERT_TRUE(journal.Commit());
    ASSERT_TRUE(journal.End());
    live.Release();
    ASSERT_TRUE(sync.Succeeded());
    const std::string text = ReadFile(readings);
    const std::string before = earlier + theirs + theirs + theirs;
    ASSERT_EQ(text.substr(0, before.size()), before);
    ExpectEachLineOnce(StandardReadingLines(text.substr(before.size())), expected);
    EXPECT_FALSE(HasJournal(readings));
    EXPECT_EQ(FailuresLogged(log), Lines{});
    EXPECT_EQ(office.RouteList(), Lines{});
}

// Either lock refused keeps the route on the handheld: an exception that
// cannot be captured is no less lost than a reading that cannot be written.
TEST(BillingFileLockSyncTest, LockFileThatCannotBeMadeLetsNothingIntoItsFile) {
    struct Case {
        bool readingsLock;  // else the exceptions file's
        std::string failure;
    };
    const Case cases[] = {
        {true, "17 Write to text file failed\nBad file name or disk full?"},
        {false,
         "17 Write to exception text file failed\nBad file name or disk full?\nRoute 0001 stays "
         "on the handheld with its readings for the next HotSync"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.readingsLock ? "readings file" : "exceptions file");
        TextFileOffice office;
        office.WriteRouteFile(RouteOf("0001", 6));
        office.Sync();
        KeyCounts expected;
        ReadRoute(office, "0001", 6, "5", expected, /*exceptionEvery=*/2);
        const fs::path file = test.readingsLock ? office.Readings() : office.Exceptions();
        // A folder where the lock file belongs.
        fs::create_directory(BillingFileLock::LockPathOf(file.string()));

        const Lines log = office.Sync();
        const auto count = [&log](const std::string& line) {
            return static_cast<std::size_t>(std::count(log.begin(), log.end(), line));
        };
        EXPECT_EQ(
            count("17 Wexal - Lock file " + file.string() +
                  ".lock cannot be used (Is a directory); nothing is written to " + file.string()),
            1u);
        EXPECT_EQ(count(test.failure), 1u);
        EXPECT_EQ(ReadFile(office.Readings()), "");
        EXPECT_FALSE(fs::exists(office.Exceptions()));
        EXPECT_EQ(office.RouteList(), (Lines{"0001 6 U"}));
    }
}

}  // namespace
}  // namespace wexal::testing
