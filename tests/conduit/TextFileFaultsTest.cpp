// The text-file road when files or the handheld fail: readings are never
// lost or written twice, and a download that did not reach the handheld
// whole leaves its route file for the next sync.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <iostream>
#include <set>
#include <thread>

#include "conduit/formats/RouteFileClaim.h"
#include "tests/conduit/OpenFaults.h"
#include "tests/conduit/ReadFaults.h"
#include "tests/conduit/SmallDisk.h"
#include "tests/conduit/SyncProcess.h"
#include "tests/conduit/TextFileOffice.h"
#include "tests/conduit/WriteFaults.h"
#include "tests/support/NotRegularFiles.h"
#include "tests/support/Watchdog.h"

namespace {

using wexal::testing::FailingFlushes;
using wexal::testing::FailingRead;
using wexal::testing::FailingSaves;
using wexal::testing::FailingWrites;
using wexal::testing::ReadFile;
using wexal::testing::Reading;
using wexal::testing::RefusedMoves;
using wexal::testing::RouteMeter;
using wexal::testing::SmallDisk;
using wexal::testing::SyncProcess;
using wexal::testing::TextFileOffice;
using wexal::testing::WriteFile;
using Lines = std::vector<std::string>;

constexpr const char* kFinish = "20 Wexal Conduit Finished - AccuFund";
constexpr const char* kWriteFailed = "17 Write to text file failed\nBad file name or disk full?";
constexpr const char* kDownloadHeldBack =
    "22 Wexal - Readings not uploaded, download left for the next HotSync";

bool Logged(const Lines& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

// Route 0001 with two meters read on the handheld and handed back, and a
// new route file that would bring 0001 down again: a download now would
// wipe the readings. `secondStatus` "E" makes the second meter an exception.
void ReadingsWaitOnTheHandheld(TextFileOffice& office, const std::string& secondStatus = "R") {
    office.WriteRouteFile({{.route = "0001", .sequence = "1"}, {.route = "0001", .sequence = "2"}});
    office.Sync();
    office.TakeReadings(
        "0001", {{.current = "111", .date = "240315", .time = "0900"},
                 {.status = secondStatus, .current = "222", .date = "240315", .time = "0901"}});
    office.WriteRouteFile({{.route = "0001", .sequence = "1"}});
}

// After the failed sync: the route, its readings and the route file as they were.
void NothingWasLost(TextFileOffice& office) {
    EXPECT_EQ(office.RouteList(), (Lines{"0001 2 U"}));
    const auto meters = office.Meters("0001");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0][9], "111");
    EXPECT_EQ(meters[1][9], "222");
    EXPECT_TRUE(std::filesystem::exists(office.RouteFile()));
    EXPECT_FALSE(std::filesystem::exists(office.History(2)));
}

// The next sync uploads both readings once and brings the new route down.
void RetrySucceeds(TextFileOffice& office, const std::string& earlier) {
    std::int32_t result = 0;
    const Lines log = office.Sync(&result);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(Logged(log, kFinish));
    const std::string readings = ReadFile(office.Readings());
    ASSERT_EQ(readings.size(), earlier.size() + 2 * 137u);
    EXPECT_EQ(readings.substr(0, earlier.size()), earlier);
    EXPECT_EQ(readings.substr(earlier.size() + 88, 9), "      111");
    EXPECT_EQ(readings.substr(earlier.size() + 137 + 88, 9), "      222");
    EXPECT_EQ(office.RouteList(), (Lines{"0001 1 R"}));
    EXPECT_TRUE(std::filesystem::exists(office.History(2)));
}

TEST(ReadingsNeverLostTest, UnopenableReadingsFileKeepsRouteAndRouteFile) {
    TextFileOffice office;
    ReadingsWaitOnTheHandheld(office);
    // Under a regular file no folder can be made, even by root.
    WriteFile(office.Bed().Folder() / "plainfile", "");
    office.Configure(office.RouteFile(), office.Bed().Folder() / "plainfile" / "readings.txt");

    std::int32_t result = 1;
    const Lines log = office.Sync(&result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Logged(log, kWriteFailed));
    EXPECT_EQ(log.back(), kDownloadHeldBack);
    NothingWasLost(office);

    office.Configure(office.RouteFile(), office.Readings());
    RetrySucceeds(office, "");
}

TEST(ReadingsNeverLostTest, UnreadableMeterTakesBackTheRoutesLines) {
    TextFileOffice office;
    ReadingsWaitOnTheHandheld(office);
    WriteFile(office.Readings(), "earlier\r\n");
    {
        // The second meter: the first one's line is already written.
        FailingRead unreadable(1, 0x4108);
        std::int32_t result = 1;
        const Lines log = office.Sync(&result);
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(Logged(log, "22 Error 16648 occurred reading meter table"));
        EXPECT_EQ(log.back(), kDownloadHeldBack);
    }
    EXPECT_EQ(ReadFile(office.Readings()), "earlier\r\n");
    NothingWasLost(office);
    RetrySucceeds(office, "earlier\r\n");
}

TEST(ReadingsNeverLostTest, FailedRouteTakesBackItsCapturedExceptions) {
    TextFileOffice office;
    office.WriteRouteFile({{.route = "0001", .sequence = "1"}, {.route = "0001", .sequence = "2"}});
    office.Sync();
    office.TakeReadings("0001", {{.status = "E", .responseCode = "01", .responseText = "Dog"},
                                 {.current = "222", .date = "240315", .time = "0901"}});
    office.WriteRouteFile({{.route = "0001", .sequence = "1"}});
    WriteFile(office.Exceptions(), "earlier\r\n");
    {
        FailingRead unreadable(1, 0x4108);
        office.Sync();
    }
    EXPECT_EQ(ReadFile(office.Exceptions()), "earlier\r\n");

    office.Sync();
    const std::string exceptions = ReadFile(office.Exceptions());
    EXPECT_EQ(exceptions.size(), 9u + 370u) << "the exception is captured once";
}

TEST(ReadingsNeverLostTest, FullDiskAtCloseTakesBackTheRoutesLines) {
    SmallDisk disk;
    if (!disk.Mounted()) {
        GTEST_SKIP() << "no permission to mount a small file system";
    }
    TextFileOffice office;
    ReadingsWaitOnTheHandheld(office);
    const auto readings = disk.Path() / "readings.txt";
    // A full page of earlier lines: the new ones need a page of their own.
    const std::string earlier(4096, 'x');
    WriteFile(readings, earlier);
    disk.Fill();
    office.Configure(office.RouteFile(), readings);

    std::int32_t result = 1;
    const Lines log = office.Sync(&result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Logged(log, kWriteFailed));
    EXPECT_EQ(ReadFile(readings), earlier);
    NothingWasLost(office);

    disk.FreeUp();
    std::int32_t retried = 0;
    office.Sync(&retried);
    EXPECT_EQ(retried, 1);
    EXPECT_EQ(ReadFile(readings).size(), earlier.size() + 2 * 137u);
}

TEST(ReadingsNeverLostTest, FullDiskPartwayTakesBackLinesAlreadyOnDisk) {
    // More lines than the codec buffers, so that some reach the disk before
    // the disk is full.
    constexpr std::uint16_t kMeters = 8000;
    SmallDisk disk("2m");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "no permission to mount a small file system";
    }
    TextFileOffice office;
    const auto readings = disk.Path() / "readings.txt";
    const std::string earlier = "earlier\r\n";
    WriteFile(readings, earlier);
    WriteFile(disk.Path() / "reserve", std::string(1536 * 1024, 'r'));
    auto& bed = office.Bed();
    bed.BeginSession();
    {
        WexalConduit conduit;
        conduit.UpdateRoute("0001", kMeters, "R");
        TextFileOffice::SetRouteStatus("0001", "U");
        HHMeter meters;
        meters.Open("0001");
        for (std::uint16_t i = 0; i < kMeters; ++i) {
            meters.Clear();
            meters.ServiceUniqueID = std::to_string(i);
            meters.CurReading = "42";
            meters.Status = "R";
            meters.Write();
        }
        meters.Close();
    }
    bed.EndSession();
    office.Configure(office.RouteFile(), readings);

    std::int32_t result = 1;
    const Lines log = office.Sync(&result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Logged(log, kWriteFailed));
    EXPECT_EQ(ReadFile(readings).size(), earlier.size());
    EXPECT_EQ(office.RouteList(), (Lines{"0001 8000 U"}));

    std::filesystem::remove(disk.Path() / "reserve");
    std::int32_t retried = 0;
    office.Sync(&retried);
    const std::string text = ReadFile(readings);
    ASSERT_EQ(text.size(), earlier.size() + kMeters * 137u);
    EXPECT_EQ(text.substr(earlier.size(), 4), "0   ");
    EXPECT_EQ(text.substr(text.size() - 137, 4), "7999");
}

TEST(ReadingsNeverLostTest, RouteThatCannotBeMarkedUploadedStopsTheLoop) {
    TextFileOffice office;
    ReadingsWaitOnTheHandheld(office);
    std::int32_t result = 1;
    Lines log;
    {
        FailingWrites refused("routeDB", 0);
        log = office.Sync(&result);
    }
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Logged(log, "22 Wexal - Route 0001 was uploaded but cannot be marked so"));
    EXPECT_EQ(log.back(), kDownloadHeldBack);
    // Uploaded once, not over and over.
    EXPECT_EQ(ReadFile(office.Readings()).size(), 2 * 137u);
    EXPECT_TRUE(std::filesystem::exists(office.RouteFile()));
}

// A route's lines are made to last while the next route's are appended:
// when they cannot be, that route and every one after it stay to be uploaded
// and none of their lines stay in the file. Routes long enough that the
// failure may be met between the next route's meters as well as after them.
TEST(ReadingsNeverLostTest, LinesThatCannotBeFlushedGoWithTheRoutesAfterThem) {
    struct Case {
        const char* file;    // whose flush fails
        int failingFlush;    // of that file, counted from 1
        std::size_t marked;  // routes marked uploaded before it
    };
    const Case cases[] = {
        {"readings.txt", 2, 1},
        {"readings.txt.pending", 2, 1},
        {"readings.txt", 3, 2},
    };
    constexpr std::size_t kMeters = 1000;
    constexpr std::size_t kRouteBytes = kMeters * 137;
    const std::string routes[] = {"0001", "0002", "0003"};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " flush " + std::to_string(c.failingFlush));
        TextFileOffice office;
        std::vector<RouteMeter> meters;
        for (const std::string& route : routes) {
            meters.insert(meters.end(), kMeters, RouteMeter{.route = route});
        }
        office.WriteRouteFile(meters);
        office.Sync();
        for (std::size_t r = 0; r < 3; ++r) {
            office.TakeReadings(
                routes[r],
                std::vector<Reading>(kMeters, Reading{.current = std::to_string(101 * (r + 1)),
                                                      .date = "240315",
                                                      .time = "0900"}));
        }
        office.WriteRouteFile({{.route = "0009"}});
        const std::string failing = (office.Bed().Folder() / c.file).string();
        std::atomic<int> flushes = 0;
        std::int32_t result = 1;
        Lines log;
        {
            FailingFlushes failure([&](const std::string& path) {
                return path == failing && ++flushes == c.failingFlush;
            });
            log = office.Sync(&result);
        }
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(Logged(log, kWriteFailed));
        EXPECT_FALSE(Logged(log, "17 Readings of route 0003 could not be taken back from " +
                                     office.Readings().string() + "; they may be written twice"));
        EXPECT_EQ(log.back(), kDownloadHeldBack);
        // Routes marked uploaded are purged from the list.
        Lines expected;
        for (std::size_t r = c.marked; r < 3; ++r) {
            expected.push_back(routes[r] + " " + std::to_string(kMeters) + " U");
        }
        EXPECT_EQ(office.RouteList(), expected);
        EXPECT_EQ(ReadFile(office.Readings()).size(), c.marked * kRouteBytes);
        EXPECT_FALSE(std::filesystem::exists(office.Readings().string() + ".pending"));

        std::int32_t retried = 0;
        office.Sync(&retried);
        EXPECT_EQ(retried, 1);
        const std::string readings = ReadFile(office.Readings());
        ASSERT_EQ(readings.size(), 3 * kRouteBytes);
        for (std::size_t r = 0; r < 3; ++r) {
            EXPECT_EQ(readings.substr(r * kRouteBytes + 88, 9),
                      "      " + std::to_string(101 * (r + 1)));
            EXPECT_EQ(readings.substr((r + 1) * kRouteBytes - 137 + 88, 9),
                      "      " + std::to_string(101 * (r + 1)));
        }
    }
}

// The next route's lines are appended before the route before it is marked:
// when that mark cannot be saved, they are taken back, and the next sync
// settles the first route's lines, so every reading arrives once.
TEST(ReadingsNeverLostTest, LinesAfterARouteThatCannotBeMarkedAreTakenBack) {
    TextFileOffice office;
    office.WriteRouteFile({{.route = "0001"}, {.route = "0002"}});
    office.Sync();
    office.TakeReadings("0001", {{.current = "111", .date = "240315", .time = "0900"}});
    office.TakeReadings("0002", {{.current = "222", .date = "240315", .time = "0900"}});
    {
        FailingWrites refused("routeDB", 0);
        const Lines log = office.Sync();
        EXPECT_TRUE(Logged(log, "22 Wexal - Route 0001 was uploaded but cannot be marked so"));
    }
    EXPECT_EQ(ReadFile(office.Readings()).size(), 137u);
    EXPECT_EQ(office.RouteList(), (Lines{"0001 1 U", "0002 1 U"}));

    office.Sync();
    const std::string readings = ReadFile(office.Readings());
    ASSERT_EQ(readings.size(), 2 * 137u);
    EXPECT_EQ(readings.substr(88, 9), "      111");
    EXPECT_EQ(readings.substr(137 + 88, 9), "      222");
}

// The lock of the readings file is taken again by the next route when the
// one held no longer covers the file (its lock file went, as a cleanup or a
// network share may make it go): the files of the routes before it are let
// go first, which must wait for the route still committing. A sync killed
// while that route's lines are not yet journaled as whole and it is not yet
// marked must still have them cut back by the retry.
TEST(ReadingsNeverLostTest, LockTakenAgainWaitsForTheCommittingRoute) {
    constexpr std::size_t kMeters = 300;
    TextFileOffice office;
    std::vector<RouteMeter> meters(kMeters, RouteMeter{.route = "0001"});
    meters.insert(meters.end(), kMeters, RouteMeter{.route = "0002"});
    office.WriteRouteFile(meters);
    office.Sync();
    office.TakeReadings(
        "0001",
        std::vector<Reading>(kMeters, Reading{.current = "111", .date = "240315", .time = "0900"}));
    office.TakeReadings(
        "0002",
        std::vector<Reading>(kMeters, Reading{.current = "222", .date = "240315", .time = "0900"}));
    office.WriteRouteFile({{.route = "0009"}});

    const std::string readings = office.Readings().string();
    const std::string journal = readings + ".pending";
    const pid_t parent = ::getpid();
    std::atomic<bool> lockGone{false};
    std::atomic<bool> waited{false};
    int status = 0;
    {
        // In the sync's process: the lock file goes once route 0001 holds
        // it (its journal begun); route 0001's commit then waits until its
        // journal no longer names it, and the sync is killed there.
        FailingFlushes hook([&](const std::string& path) {
            if (::getpid() == parent) {
                return false;
            }
            if (path == journal + ".tmp" && !lockGone.exchange(true)) {
                std::filesystem::remove(readings + ".lock");
            } else if (path == readings && !waited.exchange(true)) {
                for (int wait = 0; wait < 1000; ++wait) {
                    if (ReadFile(journal).find(" 0001\n") == std::string::npos) {
                        ::kill(::getpid(), SIGKILL);
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }
            return false;
        });
        SyncProcess child(office.Bed().Handheld(), office.Bed().Folder() / "child.log");
        ASSERT_TRUE(child.Started());
        status = child.Wait();
    }
    std::cerr << (WIFSIGNALED(status) ? "killed while 0001 committed unjournaled\n"
                                      : "sync ran to its end\n");

    office.Sync();
    const std::string text = ReadFile(office.Readings());
    std::size_t first = 0;
    std::size_t second = 0;
    for (std::size_t at = 0; at + 137 <= text.size(); at += 137) {
        first += text.substr(at + 88, 9) == "      111";
        second += text.substr(at + 88, 9) == "      222";
    }
    EXPECT_EQ(first, kMeters);
    EXPECT_EQ(second, kMeters);
    EXPECT_EQ(text.size(), 2 * kMeters * 137);
}

TEST(HonestDownloadTest, RouteWithoutItsDatabaseIsNotListed) {
    TextFileOffice office;
    office.WriteRouteFile({{.route = "0001"}, {.route = "0002"}});
    office.Sync();
    office.WriteRouteFile(
        {{.route = "0001"}, {.route = "0001"}, {.route = "0002"}, {.route = "0003"}});
    Lines log;
    {
        FailingWrites refused("route0002", 0, /*refuseCreate=*/true);
        log = office.Sync();
    }
    EXPECT_TRUE(Logged(log, "22 Create Failed"));
    EXPECT_TRUE(
        Logged(log, "22 Wexal - Route 0002 not downloaded: its meter database cannot be made"));
    EXPECT_TRUE(
        Logged(log, "22 Wexal - Download incomplete, the file stays for the next HotSync: " +
                        office.RouteFile().string()));
    EXPECT_EQ(office.RouteList(), (Lines{"0001 2 R", "0003 1 R"}));
    EXPECT_TRUE(std::filesystem::exists(office.RouteFile()));
    EXPECT_FALSE(std::filesystem::exists(office.History(2)));
}

TEST(HonestDownloadTest, OnlyStoredMetersAreCounted) {
    TextFileOffice office;
    office.WriteRouteFile({{.route = "0001"}, {.route = "0001"}, {.route = "0001"}});
    Lines log;
    {
        FailingWrites refused("route0001", 1);
        log = office.Sync();
    }
    EXPECT_TRUE(
        Logged(log, "22 Wexal - 2 meters of route 0001 could not be stored on the handheld"));
    EXPECT_EQ(office.RouteList(), (Lines{"0001 1 R"}));
    EXPECT_EQ(office.Meters("0001").size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(office.RouteFile()));
    EXPECT_FALSE(std::filesystem::exists(office.History(1)));
}

TEST(HonestDownloadTest, RouteTheHandheldCannotSaveIsNotOfferedAndTheFileStays) {
    // A full handheld refuses a database when it is saved at its close.
    struct Case {
        const char* database;
        std::uint32_t savesAllowed;
        Lines list;
        std::size_t metersOf0001;
        const char* logged;
    };
    const Case cases[] = {
        {"route0002",
         1,
         {"0001 1 R", "0003 1 R"},
         1,
         "22 Wexal - Route 0002 not downloaded: its meters cannot be saved on the handheld"},
        // The first route's entry is refused: its former meters stay, and no
        // later route is taken.
        {"routeDB",
         0,
         {"0001 2 R", "0002 1 R"},
         2,
         "22 Wexal - Route 0001 not downloaded: the route list cannot be saved on the handheld"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.database);
        TextFileOffice office;
        office.WriteRouteFile({{.route = "0001"}, {.route = "0001"}, {.route = "0002"}});
        office.Sync();
        office.WriteRouteFile({{.route = "0001"},
                               {.route = "0002"},
                               {.route = "0002"},
                               {.route = "0002"},
                               {.route = "0003"}});
        Lines log;
        {
            FailingSaves full(c.database, c.savesAllowed);
            log = office.Sync();
        }
        EXPECT_TRUE(Logged(log, c.logged));
        EXPECT_TRUE(
            Logged(log, "22 Wexal - Download incomplete, the file stays for the next HotSync: " +
                            office.RouteFile().string()));
        EXPECT_EQ(office.RouteList(), c.list);
        EXPECT_EQ(office.Meters("0001").size(), c.metersOf0001);
        EXPECT_FALSE(std::filesystem::exists(office.History(2)));
    }
}

// The next route is read while a route is stored: a list refused at a later
// route still leaves the route after it with its former meters and entry.
TEST(HonestDownloadTest, ListRefusedAtALaterRouteLeavesTheRoutesAfterItAsTheyWere) {
    TextFileOffice office;
    office.WriteRouteFile(
        {{.route = "0001"}, {.route = "0002"}, {.route = "0003"}, {.route = "0003"}});
    office.Sync();
    office.WriteRouteFile({{.route = "0001"},
                           {.route = "0002"},
                           {.route = "0002"},
                           {.route = "0003"},
                           {.route = "0004"}});
    Lines log;
    {
        // The first route's provisional and final entries, then no more.
        FailingSaves full("routeDB", 2);
        log = office.Sync();
    }
    EXPECT_TRUE(Logged(
        log,
        "22 Wexal - Route 0002 not downloaded: the route list cannot be saved on the handheld"));
    EXPECT_EQ(office.RouteList(), (Lines{"0001 1 R", "0002 1 R", "0003 2 R"}));
    EXPECT_EQ(office.Meters("0003").size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(office.Bed().Handheld() / "route0004.pdb"));
    EXPECT_FALSE(std::filesystem::exists(office.History(2)));
}

TEST(HonestDownloadTest, DamagedRouteListIsLoggedAndTheFileStays) {
    const std::function<void(const std::filesystem::path&)> damages[] = {
        [](const std::filesystem::path& file) { std::filesystem::resize_file(file, 82); },
        // A record count that promises more records than the file holds.
        [](const std::filesystem::path& file) {
            std::string bytes = ReadFile(file);
            bytes[76] = 0x01;
            WriteFile(file, bytes);
        },
    };
    for (const auto& damage : damages) {
        TextFileOffice office;
        office.WriteRouteFile({{.route = "0001"}});
        office.Sync();
        office.WriteRouteFile({{.route = "0002"}});
        damage(office.Bed().Handheld() / "routeDB.pdb");

        std::int32_t result = 1;
        const Lines log = office.Sync(&result);
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(Logged(log,
                           "22 Wexal - Route list routeDB cannot be opened (error 16649): the "
                           "database is damaged"));
        EXPECT_EQ(log.back(), kDownloadHeldBack);
        // A download on its own stores nothing either.
        auto& bed = office.Bed();
        bed.BeginSession();
        WexalConduit conduit;
        EXPECT_EQ(conduit.DownloadAccuFund(office.RouteFile().string(), 0), -1);
        bed.EndSession();
        EXPECT_EQ(bed.LogLines().back(),
                  "22 Wexal - Download incomplete, the file stays for the next HotSync: " +
                      office.RouteFile().string());
        EXPECT_FALSE(bed.HasDatabase("route0002"));
        EXPECT_TRUE(std::filesystem::exists(office.RouteFile()));
        EXPECT_FALSE(std::filesystem::exists(office.History(2)));
    }
}

TEST(HonestDownloadTest, ReadErrorIsNoEndOfFile) {
    // Reading this file at its start fails: no memory is mapped at 0. The
    // sync reads it through a link put in the claimed file's place once the
    // sync holds that file, and gives the link back.
    const std::string unreadable = "/proc/self/mem";
    TextFileOffice office;
    office.WriteRouteFile({{.route = "0001"}});
    const std::string claimed = DownloadingName(office.RouteFile().string());
    std::int32_t result = 1;
    Lines log;
    {
        const wexal::testing::BeforeOpening unreadableClaim(claimed, 2, [&claimed, &unreadable] {
            std::filesystem::remove(claimed);
            std::filesystem::create_symlink(unreadable, claimed);
        });
        log = office.Sync(&result);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(log.back(),
              "22 Wexal - Download file could not be read: " + office.RouteFile().string());
    EXPECT_EQ(std::filesystem::read_symlink(office.RouteFile()), unreadable);

    auto& bed = office.Bed();
    bed.BeginSession();
    WexalConduit conduit;
    EXPECT_EQ(conduit.DownloadAccuFund(unreadable, 0), -1);
    bed.EndSession();
    EXPECT_EQ(bed.LogLines().back(),
              "22 Wexal - Download incomplete, the file stays for the next HotSync: " + unreadable);
}

// An expected log line with "@" standing for the file it names.
std::string Naming(std::string logged, const std::filesystem::path& file) {
    if (const std::size_t at = logged.find('@'); at != std::string::npos) {
        logged.replace(at, 1, file.string());
    }
    return logged;
}

// A FIFO held the sync for ever while it had the handheld; a device such as
// /dev/zero never ended. Each is refused with a log line and the sync goes on.
TEST(NotRegularFileTest, IsRefusedWithALogLine) {
    const struct {
        const char* what;
        std::function<std::filesystem::path(TextFileOffice&)> place;
        std::string logged;  // after the path
    } cases[] = {
        {"configuration",
         [](TextFileOffice& office) { return office.Bed().ConfigFolder() / "WexalDT.cfg"; },
         "21 Unable to open configuration file @: not a regular file"},
        {"route file", [](TextFileOffice& office) { return office.RouteFile(); },
         "22 Wexal - Download file is not a regular file: @"},
        {"meter database of a route handed back",
         [](TextFileOffice& office) {
             ReadingsWaitOnTheHandheld(office);
             return office.Bed().Handheld() / "route0001.pdb";
         },
         "22 Wexal - Handheld database route0001 is not a regular file"},
        {"route list",
         [](TextFileOffice& office) {
             ReadingsWaitOnTheHandheld(office);
             return office.Bed().Handheld() / "routeDB.pdb";
         },
         "22 Wexal - Handheld database routeDB is not a regular file"},
    };
    for (const auto& kind : wexal::testing::NotRegularFiles()) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " as a " + kind.kind);
            TextFileOffice office;
            const std::filesystem::path path = c.place(office);
            std::filesystem::remove(path);
            if (!kind.make(path)) {
                std::cout << "cannot make a " << kind.kind << " here: not tried\n";
                continue;
            }
            const Lines log = office.Sync();
            EXPECT_TRUE(Logged(log, Naming(c.logged, path))) << ::testing::PrintToString(log);
        }
    }
}

// A readings or exceptions file that is no regular file took the lines of a
// route marked uploaded (a link to /dev/null) or held the sync for ever (a
// FIFO), and so did a FIFO as the journal beside it. The route now waits on
// the handheld until the file is put right.
TEST(NotRegularFileTest, ReadingsOrExceptionsFileKeepsTheRouteOnTheHandheld) {
    std::vector<wexal::testing::NotRegularFile> kinds = {
        {"link to /dev/null",
         [](const std::filesystem::path& at) { return ::symlink("/dev/null", at.c_str()) == 0; }},
        {"folder", [](const std::filesystem::path& at) { return ::mkdir(at.c_str(), 0700) == 0; }},
    };
    kinds.insert(kinds.end(), wexal::testing::NotRegularFiles().begin(),
                 wexal::testing::NotRegularFiles().end());
    const struct {
        std::filesystem::path (*file)(const TextFileOffice&);
        std::string logged;  // "@" stands for the file
    } files[] = {
        {[](const TextFileOffice& office) { return office.Readings(); }, kWriteFailed},
        {[](const TextFileOffice& office) { return office.Exceptions(); },
         "17 Write to exception text file failed\nBad file name or disk full?\nRoute 0001 stays "
         "on the handheld with its readings for the next HotSync"},
        {[](const TextFileOffice& office) {
             return std::filesystem::path(office.Readings().string() + ".pending");
         },
         "17 Wexal - Unfinished upload journal @ cannot be settled"},
    };
    for (const auto& kind : kinds) {
        for (const auto& f : files) {
            TextFileOffice office;
            const std::filesystem::path file = f.file(office);
            const std::string logged = Naming(f.logged, file);
            SCOPED_TRACE(file.filename().string() + " as a " + kind.kind);
            ReadingsWaitOnTheHandheld(office, "E");
            if (!kind.make(file)) {
                std::cout << "cannot make a " << kind.kind << " here: not tried\n";
                continue;
            }
            std::int32_t result = 1;
            Lines log;
            {
                const wexal::testing::Watchdog watchdog(file.filename().string() + " as a " +
                                                        kind.kind);
                log = office.Sync(&result);
            }
            EXPECT_EQ(result, 0);
            EXPECT_TRUE(Logged(log, logged)) << ::testing::PrintToString(log);
            EXPECT_EQ(log.back(), kDownloadHeldBack);
            NothingWasLost(office);

            std::filesystem::remove(file);
            RetrySucceeds(office, "");
            const std::string exceptions = ReadFile(office.Exceptions());
            EXPECT_EQ(exceptions.size(), 370u) << "the exception is captured once";
            EXPECT_EQ(exceptions.find("       222"), 87u);
        }
    }
}

// --- The history of used route files ----------------------------------------

// A history file that cannot move, as an immutable one: no history file is
// lost, and the route file comes down once, then waits under its downloaded
// name, said by every sync, with a newer file behind it, until the history
// takes it.
TEST(RouteFileHistoryTest, HistoryThatRefusesAMoveLosesNothingAndDownloadsOnce) {
    const std::vector<int> everyName = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const struct {
        const char* what;
        bool byRoute;
        std::vector<int> taken;
        Lines after;  // the history of route 0001's file once mended, "-" for none
    } cases[] = {
        {"every name taken",
         false,
         everyName,
         {"new", "route", "old1", "old2", "old3", "old4", "old5", "old6", "old7", "old8"}},
        {"04 and 05 free",
         false,
         {1, 2, 3, 6, 7, 8, 9, 10},
         {"new", "route", "old1", "old2", "old3", "old6", "old7", "old8", "old9", "old10"}},
        {"kept per route",
         true,
         everyName,
         {"route", "old1", "old2", "old3", "old4", "old5", "old6", "old7", "old8", "old9"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TextFileOffice office;
        if (c.byRoute) {
            office.Configure(office.RouteFile(), office.Readings(), {},
                             {"RetainDownloadFilesByRoute=Y"});
        }
        const auto slot = [&](int n) {
            return office.Bed().Folder() / ((c.byRoute ? "P0001" : "PriorD") +
                                            std::string(n < 10 ? "0" : "") + std::to_string(n));
        };
        // The names of each file ever put into the history, wherever it is now.
        const auto history = [&] {
            std::multiset<std::string> files;
            for (int n = 1; n <= 11; ++n) {
                if (std::filesystem::exists(slot(n))) {
                    files.insert(ReadFile(slot(n)));
                }
            }
            return files;
        };
        for (const int n : c.taken) {
            WriteFile(slot(n), "old" + std::to_string(n));
        }
        const std::multiset<std::string> before = history();
        office.WriteRouteFile({{.route = "0001", .sequence = "1"}, {.route = "0001"}});
        const std::string routeFile = ReadFile(office.RouteFile());
        const std::string downloaded = DownloadedName(office.RouteFile().string());
        const std::string kept =
            "22 Wexal - Route file downloaded but not moved into the history, it is not "
            "downloaded again: " +
            downloaded;
        {
            RefusedMoves immutable(
                [&](const std::string& from) { return from == slot(3).string(); });
            EXPECT_TRUE(Logged(office.Sync(), kept));
            EXPECT_EQ(office.RouteList(), Lines{"0001 2 R"});
            office.TakeReadings("0001", {{.current = "111"}, {.current = "222"}});
            office.WriteRouteFile({{.route = "0002"}});
            const Lines log = office.Sync();
            EXPECT_TRUE(Logged(log, kept));
            EXPECT_TRUE(Logged(log,
                               "22 Wexal - Route file not downloaded while the one downloaded "
                               "before waits for the history: " +
                                   office.RouteFile().string()));
            // Uploaded, and not brought down again.
            EXPECT_EQ(office.RouteList(), Lines{});
            EXPECT_EQ(ReadFile(downloaded), routeFile);
            EXPECT_EQ(history(), before);
        }
        office.Sync();
        EXPECT_EQ(office.RouteList(), Lines{"0002 1 R"});
        EXPECT_EQ(ReadFile(office.Readings()).size(), 2 * 137u);
        EXPECT_FALSE(std::filesystem::exists(downloaded));
        Lines after;
        for (int n = 1; n <= 11; ++n) {
            std::string file = std::filesystem::exists(slot(n)) ? ReadFile(slot(n)) : "-";
            if (file == routeFile) {
                file = "route";
            } else if (file != "-" && !file.starts_with("old")) {
                file = "new";
            }
            after.push_back(file);
        }
        Lines expected = c.after;
        expected.push_back("-");
        EXPECT_EQ(after, expected);
    }
}

}  // namespace
