// Whole syncs of a large route file killed with SIGKILL at random moments:
// a child process runs the sync and is killed after a random delay spread
// over the length of a sync, so that kills land in the upload of the
// readings, the exceptions capture and the download of the routes. After
// each kill every handheld database loads and the billing files are whole
// but for a cut last line; the next sync then brings every reading taken on
// the handheld into the readings file exactly once, with no cut line left
// behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "conduit/HHMeter.h"
#include "conduit/formats/RouteFileClaim.h"
#include "platform/palm/HandheldStore.h"
#include "tests/conduit/BillingFileLines.h"
#include "tests/conduit/OpenFaults.h"
#include "tests/conduit/SyncProcess.h"
#include "tests/conduit/TextFileOffice.h"
#include "tests/conduit/WriteFaults.h"

namespace {

namespace fs = std::filesystem;
using wexal::testing::BeforeOpening;
using wexal::testing::ExceptionLines;
using wexal::testing::FileLines;
using wexal::testing::KeyCounts;
using wexal::testing::KillAtWrite;
using wexal::testing::ReadFile;
using wexal::testing::ReadingKey;
using wexal::testing::RefusedMoves;
using wexal::testing::RouteMeter;
using wexal::testing::StandardReadingLines;
using wexal::testing::SyncProcess;
using wexal::testing::TextFileOffice;
using wexal::testing::WithoutRenameNoReplace;
using Clock = std::chrono::steady_clock;

// 20,000 meters over 10 routes. One route is larger than the readings
// file's write buffer: its lines reach the file in more than one write, so
// that a kill between them leaves part of the route, its last line cut.
constexpr int kRoutes = 10;
constexpr int kLargeRoute = 4;
constexpr int kMetersOfLargeRoute = 14600;
constexpr int kMetersOfOtherRoutes = 600;

int MetersOf(int route) {
    return route == kLargeRoute ? kMetersOfLargeRoute : kMetersOfOtherRoutes;
}

// The kills are shared out over shards that ctest runs side by side.
constexpr int kShards = 4;
constexpr int kKillsPerShard = 5;
constexpr int kKills = kShards * kKillsPerShard;
// Every so many meters one is marked an exception with a response.
constexpr int kExceptionEvery = 40;

std::string RouteName(int route) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d", route + 1);
    return name;
}

// Seventeen digits, so that it fills the service columns of both files.
std::string ServiceId(int route, int meter) {
    char id[24];
    std::snprintf(id, sizeof id, "1%06d%010d", route, meter);
    return id;
}

FileLines ReadingsIn(const fs::path& file) {
    return StandardReadingLines(ReadFile(file));
}

FileLines ExceptionsIn(const fs::path& file) {
    return ExceptionLines(ReadFile(file));
}

class KillOffice {
  public:
    KillOffice() {
        WriteRouteFile(0);
        office_.Sync();
    }

    TextFileOffice& Office() { return office_; }

    // The route file of a round: every round's file differs in the previous
    // readings, so that the handheld shows which one it holds.
    void WriteRouteFile(int round) {
        std::vector<RouteMeter> meters;
        for (int route = 0; route < kRoutes; ++route) {
            for (int meter = 0; meter < MetersOf(route); ++meter) {
                meters.push_back({.route = RouteName(route),
                                  .sequence = std::to_string(meter + 1),
                                  .service = ServiceId(route, meter),
                                  .previous = std::to_string(100000 + round)});
            }
        }
        office_.WriteRouteFile(meters);
        routeFile_ = ReadFile(office_.RouteFile());
        round_ = round;
    }

    // The reader reads every meter of every route with the round's number
    // as reading, marks some as exceptions, and hands every route back.
    void TakeReadings(int round) {
        auto& bed = office_.Bed();
        bed.BeginSession();
        const std::string reading = std::to_string(round);
        for (int route = 0; route < kRoutes; ++route) {
            HHMeter meters;
            ASSERT_EQ(meters.Open(RouteName(route)), 1);
            ASSERT_EQ(meters.RecordCount(), static_cast<std::uint32_t>(MetersOf(route)));
            for (std::uint16_t index = 0; index < MetersOf(route); ++index) {
                ASSERT_EQ(meters.ReadByIndex(index), 0);
                const bool exception = index % kExceptionEvery == 0;
                meters.Status = exception ? "E" : "R";
                meters.CurReading = reading;
                meters.ReadingDate = "240315";
                meters.ReadingTime = "0930";
                meters.ResponseCode = exception ? "01" : "";
                meters.ResponseText = exception ? "Dog in yard" : "";
                ASSERT_EQ(meters.Write(), 0);
                ++readings_[ReadingKey(meters.ServiceUniqueID, reading)];
                if (exception) {
                    ++exceptions_[ReadingKey(meters.ServiceUniqueID, reading)];
                }
            }
            meters.Close();
            TextFileOffice::SetRouteStatus(RouteName(route), "U");
        }
        bed.EndSession();
    }

    // One sync in a child process, killed after `delay` unless it ended
    // before (without a delay it runs to its end). The child captures no
    // log; its log lines go to a file. How long the child ran.
    std::chrono::microseconds ChildSync(std::optional<std::chrono::microseconds> delay) {
        const fs::path childLog = office_.Bed().Folder() / "child.log";
        const auto start = Clock::now();
        SyncProcess child(office_.Bed().Handheld(), childLog);
        if (!child.Started()) {
            ADD_FAILURE() << "fork failed";
            return {};
        }
        if (delay) {
            std::this_thread::sleep_for(*delay);
            child.Kill();
        }
        const int status = child.Wait();
        const auto ran =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        // Killed, or ended by itself: never crashed or failed.
        if (WIFSIGNALED(status)) {
            EXPECT_EQ(WTERMSIG(status), SIGKILL);
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "child status " << status << "; see " << childLog;
        }
        return ran;
    }

    // What a kill may leave: every database loads, the billing files hold
    // whole lines but for a cut last one, and the route file is whole in its
    // place or in its history.
    void CheckAfterKill() {
        LoadsEveryDatabase();
        EXPECT_TRUE(std::ifstream(office_.Readings(), std::ios::binary).good());
        EXPECT_TRUE(std::ifstream(office_.Exceptions(), std::ios::binary).good());
        const FileLines readings = ReadingsIn(office_.Readings());
        EXPECT_EQ(readings.badLines, 0u) << "a cut line in the middle of the readings file";
        const FileLines exceptions = ExceptionsIn(office_.Exceptions());
        EXPECT_EQ(exceptions.badLines, 0u) << "a cut line in the middle of the exceptions file";
        // In its place, under a name the sync claimed it by, or in its history.
        const std::string path = office_.RouteFile().string();
        for (const std::string& place :
             {path, DownloadingName(path), DownloadedName(path), office_.History(1).string()}) {
            if (fs::exists(place)) {
                EXPECT_EQ(ReadFile(place), routeFile_) << place;
                break;
            }
        }
    }

    // After a normal sync: every reading and exception once, every line
    // whole, the round's routes on the handheld waiting to be read.
    void CheckComplete() {
        LoadsEveryDatabase();
        const FileLines readings = ReadingsIn(office_.Readings());
        EXPECT_EQ(readings.badLines, 0u);
        EXPECT_FALSE(readings.cutLast);
        const auto wrongReadings = wexal::testing::Mismatches(readings.keys, readings_);
        EXPECT_TRUE(wrongReadings.empty())
            << wrongReadings.size() << " readings lost or doubled, first " << wrongReadings.front();
        const FileLines exceptions = ExceptionsIn(office_.Exceptions());
        EXPECT_EQ(exceptions.badLines, 0u);
        EXPECT_FALSE(exceptions.cutLast);
        const auto wrongExceptions = wexal::testing::Mismatches(exceptions.keys, exceptions_);
        EXPECT_TRUE(wrongExceptions.empty())
            << wrongExceptions.size() << " exceptions lost or doubled, first "
            << wrongExceptions.front();

        const std::string path = office_.RouteFile().string();
        for (const std::string& place : {path, DownloadingName(path), DownloadedName(path)}) {
            EXPECT_FALSE(fs::exists(place)) << place;
        }
        EXPECT_EQ(ReadFile(office_.History(1)), routeFile_);
        std::vector<std::string> list = office_.RouteList();
        std::sort(list.begin(), list.end());
        std::vector<std::string> expected;
        for (int route = 0; route < kRoutes; ++route) {
            expected.push_back(RouteName(route) + " " + std::to_string(MetersOf(route)) + " R");
        }
        EXPECT_EQ(list, expected);
        const auto meters = office_.Meters(RouteName(kRoutes - 1));
        ASSERT_EQ(meters.size(), static_cast<std::size_t>(MetersOf(kRoutes - 1)));
        EXPECT_EQ(meters.back()[6], std::to_string(100000 + round_));
    }

  private:
    void LoadsEveryDatabase() {
        const auto store = wexal::palm::HandheldStore::Open(office_.Bed().Handheld());
        for (const auto& info : store.List()) {
            EXPECT_TRUE(info.error.empty()) << info.name << ": " << info.error;
            EXPECT_NO_THROW(store.Load(info.name)) << info.name;
        }
    }

    TextFileOffice office_;
    std::string routeFile_;
    int round_ = 0;
    KeyCounts readings_;
    KeyCounts exceptions_;
};

class SyncKillTest : public ::testing::TestWithParam<int> {};

TEST_P(SyncKillTest, KilledSyncLosesAndDoublesNoReading) {
    const int shard = GetParam();
    KillOffice office;
    ASSERT_NO_FATAL_FAILURE(office.TakeReadings(0));
    office.WriteRouteFile(1);

    // A sync left alone: it must be right by itself, and its length spreads
    // the kills over a whole sync.
    const std::chrono::microseconds length = office.ChildSync(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(office.CheckComplete());

    std::mt19937 random(20240315u + static_cast<unsigned>(shard));
    std::uniform_real_distribution<double> within(0.0, 1.0);
    for (int kill = 0; kill < kKillsPerShard; ++kill) {
        const int round = 2 + kill;
        SCOPED_TRACE("shard " + std::to_string(shard) + ", kill " + std::to_string(kill));
        ASSERT_NO_FATAL_FAILURE(office.TakeReadings(round - 1));
        office.WriteRouteFile(round);
        // Each kill of all the shards takes its own slice of the sync's
        // length, a little beyond its end.
        const int slice = kill * kShards + shard;
        const double at = (slice + within(random)) / kKills * 1.1;
        office.ChildSync(
            std::chrono::microseconds(static_cast<long>(at * static_cast<double>(length.count()))));
        ASSERT_NO_FATAL_FAILURE(office.CheckAfterKill());
        office.Office().Sync();
        ASSERT_NO_FATAL_FAILURE(office.CheckComplete());
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, SyncKillTest, ::testing::Range(0, kShards));

// A sync killed at a known point of its route file's turn: once it claimed
// the file and stored part of it, and once the file was marked downloaded,
// before it moved into the history. The next sync brings the file down once
// in all: again in the first case; in the second not at all, as the reader
// already works its routes. Held by a sync still running, the file is left
// to it; moved into the history by its owner as the next sync locks it, it
// is not the next sync's to move. Killed between the link and the unlink of
// its move to the downloaded name, it is that name's; left by the previous
// version beside the route file, it is settled likewise.
TEST(RouteFileKillTest, KilledTurnBringsTheFileDownOnce) {
    const struct {
        const char* where;
        bool downloaded;
        bool movedByItsOwner;
        bool byLinking;
        const char* previousName;
    } cases[] = {
        {"storing its routes", false, false, false, nullptr},
        {"moving it into the history", true, false, false, nullptr},
        {"moving it into the history, then moved by its owner", true, true, false, nullptr},
        {"moving it to its downloaded name by linking", true, false, true, nullptr},
        {"storing its routes, by the previous version", false, false, false, ".downloading"},
        {"moving it into the history, by the previous version", true, false, false, ".downloaded"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        TextFileOffice office;
        office.WriteRouteFile({{.route = "0001"}, {.route = "0001"}, {.route = "0002"}});
        const std::string routeFile = ReadFile(office.RouteFile());
        const std::string path = office.RouteFile().string();
        {
            const KillAtWrite storing("route0002",
                                      [&c](const std::string&) { return !c.downloaded; });
            const RefusedMoves moving([&c, path](const std::string&) {
                if (c.downloaded && fs::exists(DownloadedName(path))) {
                    ::kill(::getpid(), SIGKILL);
                }
                return false;
            });
            std::optional<WithoutRenameNoReplace> linking;
            if (c.byLinking) {
                linking.emplace(DownloadingName(path), [] { ::kill(::getpid(), SIGKILL); });
            }
            SyncProcess child(office.Bed().Handheld(), office.Bed().Folder() / "child.log");
            const int status = child.Wait();
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        }
        const std::string left = c.downloaded ? DownloadedName(path) : DownloadingName(path);
        EXPECT_EQ(ReadFile(left), routeFile);
        if (c.downloaded) {
            office.TakeReadings("0001", {{.current = "111"}, {.current = "222"}});
        }
        {
            // While a sync of another handheld holds it, it is that sync's.
            const int held = ::open(left.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_EQ(::flock(held, LOCK_EX), 0);
            const std::vector<std::string> log = office.Sync();
            ::close(held);
            EXPECT_EQ(std::count(log.begin(), log.end(),
                                 "19 Wexal - Route file in the turn of another HotSync: " + path),
                      1);
            EXPECT_EQ(ReadFile(left), routeFile);
        }

        if (c.previousName != nullptr) {
            fs::rename(left, path + c.previousName);
        }
        std::optional<BeforeOpening> owner;
        if (c.movedByItsOwner) {
            owner.emplace(
                left, 1, [&] { fs::rename(left, office.History(1)); }, /*locking=*/true);
        }
        const std::vector<std::string> log = office.Sync();
        EXPECT_TRUE(!owner || owner->Ran());
        EXPECT_EQ(
            std::count(log.begin(), log.end(),
                       "19 Wexal - Route file of an interrupted HotSync downloaded again: " + left),
            c.downloaded ? 0 : 1);
        using Lines = std::vector<std::string>;
        EXPECT_EQ(office.RouteList(),
                  c.downloaded ? Lines{"0002 1 R"} : (Lines{"0001 2 R", "0002 1 R"}));
        EXPECT_EQ(ReadFile(office.Readings()).size(), c.downloaded ? 2 * 137u : 0u);
        EXPECT_EQ(ReadFile(office.History(1)), routeFile);
        EXPECT_FALSE(fs::exists(left));
        EXPECT_FALSE(fs::exists(office.History(2)));
    }
}

}  // namespace
