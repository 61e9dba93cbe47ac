// The readings roll beside the conduit's real sync (linked into this test
// only; WexalDT never links it): the next HotSync starts a new readings file,
// a roll while a sync appends to the file loses and doubles no reading, and
// what a killed sync left behind keeps the roll and the clearing of printed
// exceptions waiting only until the killed sync's handheld syncs again.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/core/ExceptionsClearing.h"
#include "desktop/core/ReadingsRoll.h"
#include "desktop/core/TextFileLines.h"
#include "tests/conduit/HotSyncRun.h"
#include "tests/conduit/KilledSync.h"
#include "tests/conduit/NumberedRoutes.h"
#include "tests/conduit/SyncProcess.h"
#include "tests/desktop/core/FixedClock.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/support/LockWaiters.h"
#include "tests/support/WaitUntil.h"

namespace wexal::testing {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr desktop::LocalDateTime kMorning{2026, 12, 8, 7, 34, 37};

// The billing system's side: it takes each rolled file as soon as the roll
// names it, and counts the readings of what it took.
class Billing {
  public:
    // Takes the file that the last message names, when the roll moved one.
    void Take(bool rolled, const ScriptedMessages& messages) {
        if (rolled) {
            const std::string named = messages.Texts().back();
            const fs::path file = named.substr(desktop::kReadingsMovedTo.size());
            taken_.emplace_back(file, ReadFile(file));
        }
    }

    // Every reading once, in whole lines; and no file grew after it was
    // taken (such lines would never reach billing).
    void ExpectEachReadingOnce(const KeyCounts& expected) const {
        KeyCounts all;
        for (const auto& [file, bytes] : taken_) {
            SCOPED_TRACE(file.string());
            EXPECT_EQ(ReadFile(file).size(), bytes.size()) << "grew after the roll";
            const FileLines lines = StandardReadingLines(bytes);
            EXPECT_EQ(lines.badLines, 0u);
            EXPECT_FALSE(lines.cutLast);
            for (const auto& [key, count] : lines.keys) {
                all[key] += count;
            }
        }
        const Lines wrong = Mismatches(all, expected);
        EXPECT_TRUE(wrong.empty())
            << wrong.size() << " readings lost or doubled, first " << wrong.front();
    }

    std::size_t Files() const { return taken_.size(); }

  private:
    std::vector<std::pair<fs::path, std::string>> taken_;
};

TEST(ReadingsRollSyncTest, TheNextHotSyncStartsANewReadingsFile) {
    TextFileOffice office;
    const fs::path rolls = office.Bed().Folder() / "rolls";
    fs::create_directory(rolls);
    office.WriteRouteFile(RouteOf("0001", 5));
    HotSyncRun sync = RunHotSync(office.Bed().Handheld());
    ASSERT_EQ(sync.exitCode, 0) << sync.output;

    KeyCounts first;
    ReadRoute(office, "0001", 5, "111", first);
    office.WriteRouteFile(RouteOf("0001", 5));
    sync = RunHotSync(office.Bed().Handheld());
    ASSERT_EQ(sync.exitCode, 0) << sync.output;
    ExpectEachReadingOnce(office.Readings(), first);

    ScriptedMessages messages;
    ASSERT_TRUE(desktop::RollReadings(office.Readings().string(), rolls.string(),
                                      FixedClock(kMorning), messages))
        << messages.Texts().at(0);
    const fs::path rolled = rolls / "Readings- 2026-12-08 073437";
    const std::string rolledBytes = ReadFile(rolled);
    EXPECT_FALSE(fs::exists(office.Readings()));

    KeyCounts second;
    ReadRoute(office, "0001", 5, "222", second);
    sync = RunHotSync(office.Bed().Handheld());
    ASSERT_EQ(sync.exitCode, 0) << sync.output;
    ExpectEachReadingOnce(office.Readings(), second);
    EXPECT_EQ(ReadFile(rolled), rolledBytes);
    ExpectEachReadingOnce(rolled, first);
}

// Whether the process has the file open (a sync writing the route it
// uploads).
bool HasOpen(pid_t pid, const fs::path& file) {
    std::error_code error;
    for (fs::directory_iterator it("/proc/" + std::to_string(pid) + "/fd", error), end;
         !error && it != end; it.increment(error)) {
        std::error_code unreadable;
        if (fs::read_symlink(it->path(), unreadable) == file) {
            return true;
        }
    }
    return false;
}

TEST(ReadingsRollSyncTest, RollsDuringASyncLoseAndDoubleNoReading) {
    constexpr int kRoutes = 16;
    constexpr int kMeters = 400;
    // A busy machine may let a whole sync pass without meeting it mid-route.
    constexpr int kMostRounds = 32;
    TextFileOffice office;
    const fs::path rolls = office.Bed().Folder() / "rolls";
    fs::create_directory(rolls);
    const fs::path lockFile = office.Readings().string() + ".lock";
    std::vector<std::pair<std::string, int>> routes;
    for (int route = 1; route <= kRoutes; ++route) {
        char name[8];
        std::snprintf(name, sizeof name, "%04d", route);
        routes.emplace_back(name, kMeters);
    }

    ScriptedMessages messages;
    const FixedClock clock(kMorning, /*ticking=*/true);
    const auto roll = [&] {
        return desktop::RollReadings(office.Readings().string(), rolls.string(), clock, messages);
    };
    KeyCounts expected;
    Billing billing;
    bool metMidRoute = false;
    for (int round = 1; round <= kMostRounds && !metMidRoute; ++round) {
        office.WriteRouteFile(RoutesOf(routes));
        office.Sync();
        for (const auto& [route, meters] : routes) {
            ReadRoute(office, route, meters, std::to_string(round), expected);
        }
        SyncProcess sync(office.Bed().Handheld(), office.Bed().Folder() / "sync.log");
        while (sync.Running()) {
            // A missing or empty file is left alone at once, lock or not.
            std::error_code error;
            const std::uintmax_t size = fs::file_size(office.Readings(), error);
            if (metMidRoute || error || size == 0 || !HasOpen(sync.Pid(), office.Readings())) {
                billing.Take(roll(), messages);
                continue;
            }
            // Caught with a route's lines half written: held there, the sync
            // keeps the readings file's lock, and the roll must wait for it.
            // (Looked at again once it stands still: it may have closed the
            // file just before.)
            ::kill(sync.Pid(), SIGSTOP);
            int status = 0;
            ::waitpid(sync.Pid(), &status, WUNTRACED);
            if (!HasOpen(sync.Pid(), office.Readings())) {
                ::kill(sync.Pid(), SIGCONT);
                continue;
            }
            metMidRoute = true;
            std::future<bool> rolling = std::async(std::launch::async, roll);
            const auto rolled = [&] {
                return rolling.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
            };
            WaitUntil([&] { return SomeoneWaitsToLock(lockFile) || rolled(); });
            EXPECT_FALSE(rolled())
                << "the roll took the file from under the sync: " << messages.Texts().back();
            ::kill(sync.Pid(), SIGCONT);
            billing.Take(rolling.get(), messages);
        }
        ASSERT_TRUE(sync.Succeeded()) << ReadFile(office.Bed().Folder() / "sync.log");
        EXPECT_EQ(office.RouteList(), Lines{}) << "routes not marked uploaded";
    }
    const std::size_t rolledDuringSyncs = billing.Files();
    billing.Take(roll(), messages);
    EXPECT_FALSE(fs::exists(office.Readings()));
    EXPECT_FALSE(HasJournal(office.Readings()));
    billing.ExpectEachReadingOnce(expected);
    EXPECT_TRUE(metMidRoute) << "no sync was met writing";
    EXPECT_GE(rolledDuringSyncs, 2u);
}

// Clears every line of the exceptions file as printed; the refusal's text,
// or "" when it cleared.
std::string ClearEveryException(const fs::path& file) {
    desktop::PrintedLines printed;
    desktop::TextFileLines lines(file.string());
    for (std::string line; lines.Next(line);) {
        printed.emplace(printed.size(), line);
    }
    try {
        desktop::ClearPrintedExceptions(file.string(), printed);
    } catch (const std::runtime_error& refused) {
        return refused.what();
    }
    return "";
}

TEST(ReadingsRollSyncTest, JournalsOfASyncKilledAfterItsMarksGoWithItsHandheldsNextSync) {
    TextFileOffice office;
    const fs::path rolls = office.Bed().Folder() / "rolls";
    fs::create_directory(rolls);
    const fs::path rolled = rolls / "Readings- 2026-12-08 073437";
    const fs::path killedUnit = office.Bed().AddHandheld("UNIT02");
    const fs::path otherUnit = office.Bed().Handheld();
    for (const fs::path& unit : {otherUnit, killedUnit}) {
        office.Bed().UseHandheld(unit);
        office.WriteRouteFile(RoutesOf({{"0001", 6}, {"0002", 6}}));
        office.Sync();
    }
    KeyCounts readings;
    KeyCounts exceptions;
    ReadRoute(office, "0001", 6, "31", readings, /*exceptionEvery=*/2, &exceptions);
    ReadRoute(office, "0002", 6, "32", readings, /*exceptionEvery=*/2, &exceptions);
    const fs::path killedLog = office.Bed().Folder() / "killed.log";
    ASSERT_TRUE(
        SyncKilledAfterItsMarks(killedUnit, office.Readings().string() + ".pending", killedLog))
        << ReadFile(killedLog);
    ASSERT_EQ(office.RouteList(), (Lines{"0001 6 N", "0002 6 N"}));
    ASSERT_TRUE(HasJournal(office.Readings()) && HasJournal(office.Exceptions()));

    // Syncs with nothing to upload: the other handheld cannot see the marks
    // the journals hang on; the killed sync's handheld can.
    ScriptedMessages messages;
    for (const fs::path& unit : {otherUnit, killedUnit}) {
        const bool settles = unit == killedUnit;
        SCOPED_TRACE(unit.filename().string());
        office.Bed().UseHandheld(unit);
        const Lines log = office.Sync();
        EXPECT_EQ(
            std::count(log.begin(), log.end(),
                       "19 Wexal - Unfinished upload journal " + office.Readings().string() +
                           ".pending stays for the next HotSync of the handheld that wrote it"),
            settles ? 0 : 1);
        EXPECT_EQ(HasJournal(office.Readings()), !settles);
        EXPECT_EQ(HasJournal(office.Exceptions()), !settles);
        ExpectEachLineOnce(ExceptionLines(ReadFile(office.Exceptions())), exceptions);
        EXPECT_EQ(ClearEveryException(office.Exceptions()),
                  settles ? "" : desktop::kClearRefusedWhileSyncing);
        EXPECT_EQ(desktop::RollReadings(office.Readings().string(), rolls.string(),
                                        FixedClock(kMorning), messages),
                  settles);
        EXPECT_EQ(messages.Texts().back(),
                  settles ? std::string(desktop::kReadingsMovedTo) + rolled.string()
                          : desktop::kUnfinishedUpload);
    }
    EXPECT_FALSE(fs::exists(office.Exceptions()));
    ExpectEachReadingOnce(rolled, readings);
}

}  // namespace
}  // namespace wexal::testing
