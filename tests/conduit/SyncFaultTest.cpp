// Whole syncs when the billing files or the handheld fail partway: after the
// failed sync and the one that retries it, every reading taken on the
// handheld is in the readings file exactly once, the files hold whole lines
// only, and the sync log names the failure with its activity number.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "conduit/HHRoute.h"
#include "conduit/UploadJournal.h"
#include "conduit/formats/RouteFileClaim.h"
#include "platform/palm/HandheldStore.h"
#include "tests/conduit/BillingFileLines.h"
#include "tests/conduit/NumberedRoutes.h"
#include "tests/conduit/OpenFaults.h"
#include "tests/conduit/SmallDisk.h"
#include "tests/conduit/TextFileOffice.h"
#include "tests/conduit/WriteFaults.h"

namespace {

namespace fs = std::filesystem;
using wexal::testing::BeforeOpening;
using wexal::testing::ExceptionLines;
using wexal::testing::ExpectEachLineOnce;
using wexal::testing::ExpectEachReadingOnce;
using wexal::testing::FailingFlushes;
using wexal::testing::FailingWrites;
using wexal::testing::FileLines;
using wexal::testing::HasJournal;
using wexal::testing::KeyCounts;
using wexal::testing::ReadFile;
using wexal::testing::ReadRoute;
using wexal::testing::RouteMeter;
using wexal::testing::RouteOf;
using wexal::testing::RoutesOf;
using wexal::testing::SmallDisk;
using wexal::testing::StandardReadingLines;
using wexal::testing::TextFileOffice;
using wexal::testing::WithoutRenameNoReplace;
using wexal::testing::WriteFile;
using Lines = std::vector<std::string>;

constexpr const char* kFinish = "20 Wexal Conduit Finished - AccuFund";
constexpr const char* kWriteFailed = "17 Write to text file failed\nBad file name or disk full?";
constexpr const char* kDownloadHeldBack =
    "22 Wexal - Readings not uploaded, download left for the next HotSync";

std::size_t Count(const Lines& log, const std::string& line) {
    return static_cast<std::size_t>(std::count(log.begin(), log.end(), line));
}

bool Logged(const Lines& log, const std::string& line) {
    return Count(log, line) != 0;
}

std::string TakenBackLine(const std::string& route, const fs::path& file) {
    return "17 Wexal - Lines of an unfinished upload of route " + route + " taken back from " +
           file.string();
}

std::uint32_t HandheldId(TextFileOffice& office) {
    return wexal::palm::HandheldStore::Open(office.Bed().Handheld()).ReadInfo().userId;
}

// The unique id of the route's record in the route list.
std::uint32_t RouteRecordId(TextFileOffice& office, const std::string& route) {
    std::uint32_t id = 0;
    office.Bed().BeginSession();
    {
        HHRoute list;
        list.Open();
        for (std::uint32_t index = 0; index < list.RecordCount(); ++index) {
            if (list.ReadByIndex(static_cast<std::uint16_t>(index)) == kSyncErrNone &&
                list.RouteName == route) {
                id = list.RecordId();
            }
        }
        list.Close();
    }
    office.Bed().EndSession();
    return id;
}

// --- The readings file ---------------------------------------------------------

TEST(ReadingsFileFaultTest, DiskFullInTheMiddleOfARouteKeepsTheRoutesBefore) {
    // Route 0002 is larger than the write buffer: part of it reaches the
    // disk before the disk is full.
    SmallDisk disk("2m");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "no permission to mount a small file system";
    }
    TextFileOffice office;
    const std::vector<RouteMeter> routes = RoutesOf({{"0001", 10}, {"0002", 9000}, {"0003", 10}});
    office.WriteRouteFile(routes);
    office.Sync();
    KeyCounts first;
    ReadRoute(office, "0001", 10, "11", first);
    KeyCounts expected = first;
    ReadRoute(office, "0002", 9000, "22", expected);
    ReadRoute(office, "0003", 10, "33", expected);
    office.WriteRouteFile(routes);
    const fs::path readings = disk.Path() / "readings.txt";
    office.Configure(office.RouteFile(), readings);
    WriteFile(disk.Path() / "reserve", std::string(1400 * 1024, 'r'));

    std::int32_t result = 1;
    const Lines log = office.Sync(&result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Logged(log, kWriteFailed));
    EXPECT_EQ(log.back(), kDownloadHeldBack);
    // 0001 went in whole and was marked so; of 0002 nothing stays.
    ExpectEachReadingOnce(readings, first);
    EXPECT_FALSE(HasJournal(readings));
    EXPECT_EQ(office.RouteList(), (Lines{"0002 9000 U", "0003 10 U"}));

    fs::remove(disk.Path() / "reserve");
    const Lines retry = office.Sync(&result);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(Logged(retry, kFinish));
    ExpectEachReadingOnce(readings, expected);
    EXPECT_FALSE(HasJournal(readings));
}

TEST(ReadingsFileFaultTest, LinesOfAnUploadThatDiedAreCutBackBeforeItsRetry) {
    TextFileOffice office;
    office.WriteRouteFile(RouteOf("0001", 4));
    office.Sync();
    KeyCounts expected;
    ReadRoute(office, "0001", 4, "7", expected);
    // As a sync killed while appending leaves it: the journal, two whole
    // lines of the route and a third cut short.
    std::string earlier;
    for (int line = 0; line < 3; ++line) {
        earlier += std::string(135, 'e') + "\r\n";
    }
    WriteFile(office.Readings(), earlier);
    UploadJournal journal(office.Readings().string());
    ASSERT_TRUE(journal.Begin("0001", RouteRecordId(office, "0001"), HandheldId(office)));
    WriteFile(office.Readings(), earlier + std::string(137 * 2 + 60, 'x'));
    office.WriteRouteFile(RouteOf("0001", 4));

    const Lines log = office.Sync();
    EXPECT_TRUE(Logged(log, TakenBackLine("0001", office.Readings())));
    EXPECT_TRUE(Logged(log, kFinish));
    const std::string text = ReadFile(office.Readings());
    EXPECT_EQ(text.substr(0, earlier.size()), earlier);
    const FileLines lines = StandardReadingLines(text.substr(earlier.size()));
    EXPECT_EQ(lines.badLines, 0u);
    EXPECT_FALSE(lines.cutLast);
    EXPECT_TRUE(wexal::testing::Mismatches(lines.keys, expected).empty());
    EXPECT_FALSE(HasJournal(office.Readings()));
}

TEST(ReadingsFileFaultTest, JournalOfARouteMarkedUploadedNeverCutsItsLines) {
    // A sync killed after the route was marked uploaded and before its
    // journal was removed; the route is downloaded and read again since.
    TextFileOffice office;
    office.WriteRouteFile(RouteOf("0001", 3));
    office.Sync();
    KeyCounts expected;
    ReadRoute(office, "0001", 3, "1", expected);
    const std::uint32_t firstUpload = RouteRecordId(office, "0001");
    office.WriteRouteFile(RouteOf("0001", 3));
    office.Sync();
    const std::string uploaded = ReadFile(office.Readings());
    ASSERT_EQ(uploaded.size(), 3 * 137u);
    {
        UploadJournal journal(office.Readings().string());
        WriteFile(office.Readings(), "");
        ASSERT_TRUE(journal.Begin("0001", firstUpload, HandheldId(office)));
        WriteFile(office.Readings(), uploaded);
        ASSERT_TRUE(journal.Commit());
    }
    ASSERT_NE(RouteRecordId(office, "0001"), firstUpload);
    ReadRoute(office, "0001", 3, "2", expected);

    const Lines log = office.Sync();
    EXPECT_FALSE(Logged(log, TakenBackLine("0001", office.Readings())));
    ExpectEachReadingOnce(office.Readings(), expected);
    EXPECT_FALSE(HasJournal(office.Readings()));
}

// --- The exceptions-capture file ---------------------------------------------

// An exception that cannot be captured would be gone for good once its route
// is marked uploaded, so its route stays on the handheld with every reading
// and exception, as a reading that cannot be written keeps it; what was
// appended for it is taken back. Once the file can be written, the next sync
// brings each reading and each exception once.
TEST(ExceptionsFileFaultTest, CaptureThatFailsKeepsTheRouteUntilTheFileCanBeWritten) {
    struct Case {
        const char* what;
        bool onSmallDisk;
        std::function<fs::path(TextFileOffice&, SmallDisk&)> prepare;  // the exceptions file
        std::function<void(const fs::path&, SmallDisk&)> mend;
    };
    const std::string earlier = "earlier\r\n";
    const Case cases[] = {
        {"mistyped folder", false,
         [](TextFileOffice& office, SmallDisk&) {
             return office.Bed().Folder() / "Exceptoins" / "exceptions.txt";
         },
         [](const fs::path& file, SmallDisk&) { fs::create_directory(file.parent_path()); }},
        // The file's last page has room for eleven lines and part of a
        // twelfth: the lines captured before the disk is full are taken back.
        {"disk filling up", true,
         [&earlier](TextFileOffice&, SmallDisk& disk) {
             WriteFile(disk.Path() / "exceptions.txt", earlier);
             disk.Fill();
             return disk.Path() / "exceptions.txt";
         },
         [](const fs::path&, SmallDisk& disk) { disk.FreeUp(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmallDisk disk;
        // The disk's case comes last, so a machine without one still tries
        // the others.
        if (c.onSmallDisk && !disk.Mounted()) {
            GTEST_SKIP() << "no permission to mount a small file system";
        }
        TextFileOffice office;
        office.WriteRouteFile(RouteOf("0001", 20));
        office.Sync();
        KeyCounts expected;
        KeyCounts exceptions;
        ReadRoute(office, "0001", 20, "5", expected, /*exceptionEvery=*/1, &exceptions);
        office.WriteRouteFile(RouteOf("0001", 20));
        const fs::path file = c.prepare(office, disk);
        const std::string before = ReadFile(file);
        office.Configure(office.RouteFile(), office.Readings(), file);

        std::int32_t result = 1;
        const Lines log = office.Sync(&result);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(Count(log,
                        "17 Write to exception text file failed\nBad file name or disk "
                        "full?\nRoute 0001 stays on the handheld with its readings for the "
                        "next HotSync"),
                  1u);
        EXPECT_EQ(log.back(), kDownloadHeldBack);
        EXPECT_EQ(office.RouteList(), (Lines{"0001 20 U"}));
        EXPECT_EQ(ReadFile(office.Readings()), "");
        EXPECT_EQ(ReadFile(file), before);
        EXPECT_FALSE(HasJournal(office.Readings()));
        EXPECT_FALSE(HasJournal(file));

        c.mend(file, disk);
        const Lines retry = office.Sync(&result);
        EXPECT_EQ(result, 1);
        EXPECT_TRUE(Logged(retry, kFinish));
        ExpectEachReadingOnce(office.Readings(), expected);
        const std::string text = ReadFile(file);
        ASSERT_EQ(text.substr(0, before.size()), before);
        ExpectEachLineOnce(ExceptionLines(text.substr(before.size())), exceptions);
        EXPECT_EQ(office.RouteList(), (Lines{"0001 20 R"}));
    }
}

// --- The handheld ------------------------------------------------------------

TEST(HandheldFaultTest, RefusedUploadedMarkLeavesNoReadingTwiceAfterTheRetry) {
    TextFileOffice office;
    office.WriteRouteFile(RoutesOf({{"0001", 5}, {"0002", 5}}));
    office.Sync();
    KeyCounts expected;
    ReadRoute(office, "0001", 5, "1", expected);
    ReadRoute(office, "0002", 5, "2", expected);
    office.WriteRouteFile(RoutesOf({{"0001", 5}, {"0002", 5}}));

    std::int32_t result = 1;
    Lines log;
    {
        FailingWrites refused("routeDB", 0);
        log = office.Sync(&result);
    }
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Logged(log, "22 Wexal - Route 0001 was uploaded but cannot be marked so"));
    EXPECT_EQ(log.back(), kDownloadHeldBack);
    EXPECT_EQ(office.RouteList(), (Lines{"0001 5 U", "0002 5 U"}));

    const Lines retry = office.Sync(&result);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(Logged(retry, TakenBackLine("0001", office.Readings())));
    ExpectEachReadingOnce(office.Readings(), expected);
    EXPECT_FALSE(HasJournal(office.Readings()));
    EXPECT_FALSE(HasJournal(office.Exceptions()));
}

TEST(HandheldFaultTest, RouteRecordsWithoutIdsOfTheirOwnAreUploadedOnce) {
    TextFileOffice office;
    office.WriteRouteFile(RoutesOf({{"0001", 5}, {"0002", 2}, {"0003", 2}}));
    office.Sync();
    KeyCounts expected;
    ReadRoute(office, "0001", 5, "1", expected);
    ReadRoute(office, "0002", 2, "2", expected);
    ReadRoute(office, "0003", 2, "3", expected);
    // As a hand-made list may be: 0001 without an id and listed twice, 0003
    // with the id of 0002.
    office.Bed().EditRecords("routeDB", [](std::vector<wexal::palm::PdbRecord>& records) {
        records[0].uniqueId = 0;
        records[2].uniqueId = records[1].uniqueId;
        records.push_back(records[0]);
    });
    office.WriteRouteFile(RouteOf("0004", 1));

    std::int32_t result = 0;
    const Lines log = office.Sync(&result);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(Logged(log, kFinish));
    ExpectEachReadingOnce(office.Readings(), expected);
    EXPECT_EQ(office.RouteList(), (Lines{"0004 1 R"}));
}

TEST(HandheldFaultTest, RefusedMetersOfTheDownloadLeaveTheUploadedReadingsOnce) {
    TextFileOffice office;
    office.WriteRouteFile(RoutesOf({{"0001", 5}, {"0002", 5}}));
    office.Sync();
    KeyCounts expected;
    ReadRoute(office, "0001", 5, "1", expected, /*exceptionEvery=*/2);
    ReadRoute(office, "0002", 5, "2", expected);
    office.WriteRouteFile(RoutesOf({{"0001", 5}, {"0002", 5}}));

    Lines log;
    {
        FailingWrites refused("route0002", 1);
        log = office.Sync();
    }
    EXPECT_TRUE(
        Logged(log, "22 Wexal - 4 meters of route 0002 could not be stored on the handheld"));
    EXPECT_TRUE(
        Logged(log, "22 Wexal - Download incomplete, the file stays for the next HotSync: " +
                        office.RouteFile().string()));
    ExpectEachReadingOnce(office.Readings(), expected);
    const std::string exceptions = ReadFile(office.Exceptions());
    EXPECT_EQ(exceptions.size(), 3 * 370u);

    office.Sync();
    EXPECT_EQ(office.RouteList(), (Lines{"0001 5 R", "0002 5 R"}));
    ExpectEachReadingOnce(office.Readings(), expected);
    EXPECT_EQ(ReadFile(office.Exceptions()), exceptions);
}

// --- The route file ------------------------------------------------------------

// The route file is verified, then taken away by `takeAway` just before the
// download opens it: the readings are in, the handheld keeps no route of the
// lost file, and once the file is back the next sync brings it down.
void RouteFileTakenAwayAfterItsCheck(const std::function<void(const fs::path&)>& takeAway,
                                     const std::function<void(const fs::path&)>& putBack) {
    TextFileOffice office;
    office.WriteRouteFile(RouteOf("0001", 4));
    office.Sync();
    KeyCounts expected;
    ReadRoute(office, "0001", 4, "3", expected);
    const std::vector<RouteMeter> next = RoutesOf({{"0001", 4}, {"0002", 2}});
    office.WriteRouteFile(next);
    const fs::path routeFile = office.RouteFile();

    Lines log;
    {
        // The sync reads the file under the name it claimed it by: the first
        // opening takes its lock, the second is the sort-order check's, the
        // third the download's.
        const fs::path claimed = DownloadingName(routeFile.string());
        BeforeOpening vanish(claimed.string(), 3, [&] { takeAway(claimed); });
        log = office.Sync();
        EXPECT_TRUE(vanish.Ran());
    }
    EXPECT_TRUE(Logged(log, "22 Wexal - No file found to download"));
    EXPECT_FALSE(
        Logged(log, "22 Wexal - No file found to download during Sort Order Verification"));
    ExpectEachReadingOnce(office.Readings(), expected);
    EXPECT_EQ(office.RouteList(), Lines{});
    EXPECT_FALSE(fs::exists(office.History(2)));

    putBack(routeFile);
    office.WriteRouteFile(next);
    const Lines retry = office.Sync();
    EXPECT_TRUE(Logged(retry, kFinish));
    EXPECT_EQ(office.RouteList(), (Lines{"0001 4 R", "0002 2 R"}));
    EXPECT_TRUE(fs::exists(office.History(2)));
    ExpectEachReadingOnce(office.Readings(), expected);
}

TEST(RouteFileFaultTest, RouteFileReplacedByAFolderBeforeTheDownload) {
    RouteFileTakenAwayAfterItsCheck(
        [](const fs::path& file) {
            fs::remove(file);
            fs::create_directory(file);
        },
        [](const fs::path& file) { fs::remove(file); });
}

TEST(RouteFileFaultTest, RouteFileRemovedBeforeTheDownload) {
    RouteFileTakenAwayAfterItsCheck([](const fs::path& file) { fs::remove(file); },
                                    [](const fs::path&) {});
}

// The billing system renames its next route file onto the route file's name
// while a sync holds the one before: the file read goes into the history and
// the new one stays for the next sync, on a file system without a rename
// that refuses to replace too. Five files in turn, none lost.
TEST(RouteFileFaultTest, NextRouteFileRenamedOntoItsNameStaysForTheNextSync) {
    using PutNext = std::function<void()>;
    const std::function<std::shared_ptr<void>(const fs::path&, PutNext)> hooks[] = {
        // While its first route is stored (its database is flushed).
        [](const fs::path&, PutNext putNext) {
            return std::make_shared<FailingFlushes>([=](const std::string& path) {
                if (path.find("/.route0") != std::string::npos) {
                    putNext();
                }
                return false;
            });
        },
        // Between the calls that claim it.
        [](const fs::path& routeFile, PutNext putNext) {
            return std::make_shared<WithoutRenameNoReplace>(routeFile.string(), putNext);
        },
    };
    for (const auto& during : hooks) {
        SCOPED_TRACE(&during == hooks ? "while stored" : "without RENAME_NOREPLACE");
        TextFileOffice office;
        const fs::path routeFile = office.RouteFile();
        const std::string newer = "19 Wexal - A newer route file stays for the next HotSync: ";
        Lines exports;
        Lines expected;
        for (const char* route : {"0001", "0002", "0003", "0004", "0005"}) {
            office.WriteRouteFile(RouteOf(route, 2));
            exports.push_back(ReadFile(routeFile));
            expected.push_back(route + std::string(" 2 R"));
        }
        WriteFile(routeFile, exports[0]);
        for (std::size_t next = 1; next <= exports.size(); ++next) {
            std::atomic<bool> put = next == exports.size();
            const std::shared_ptr<void> hook = during(routeFile, [&] {
                if (!put.exchange(true)) {
                    WriteFile(office.Bed().Folder() / "next.tmp", exports[next]);
                    fs::rename(office.Bed().Folder() / "next.tmp", routeFile);
                }
            });
            EXPECT_EQ(Logged(office.Sync(), newer + routeFile.string()), next < exports.size());
        }
        EXPECT_EQ(office.RouteList(), expected);
        for (std::size_t number = 1; number <= exports.size(); ++number) {
            EXPECT_EQ(ReadFile(office.History(static_cast<int>(number))),
                      exports[exports.size() - number]);
        }
    }
}

}  // namespace
