// The Excel road: whole syncs that take a worksheet's meters to the handheld
// and the readings back into its cells, and the routes that the upload and
// the download must leave alone.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "tests/conduit/ExcelOffice.h"
#include "tests/conduit/SmallDisk.h"
#include "tests/conduit/SyncProcess.h"
#include "tests/conduit/WriteFaults.h"
#include "tests/support/MissingDependency.h"

namespace wexal::testing {
namespace {

using Lines = std::vector<std::string>;

// Indices of the meter record's texts (see ExcelOffice::Meters).
enum MeterText {
    kServiceId = 0,
    kTag = 1,
    kType = 3,
    kSequence = 4,
    kDigits = 5,
    kPrevious = 6,
    kMax = 7,
    kMin = 8,
    kName = 12,
    kAddress = 13,
    kStatus = 15,
    kReadType = 20,
};

const std::string kThreeMeters = R"(
ws.append([12, 'Main Street', 'JONES MARY', 'T-100', 1000, 200])
ws.append(['12A', 'Oak Street', 'SMITH JOHN', 'T-200', 500, 40])
ws.append([7.9, 'Elm Street', 'BROWN ANN', 'T-300', 20, 10])
ws.append([])
ws.append([None, None, 'TOTAL', None, None, 250])
)";

const std::string kUploadedNothing = "22 Excel Interface: Uploaded Routes:0, Uploaded Meters: 0";

TEST(ExcelSyncTest, MetersGoDownAndReadingsComeBackIntoTheirCells) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    office.ListRoute("01", "D");

    std::int32_t uploaded = -1;
    std::int32_t downloaded = -1;
    EXPECT_EQ(office.Sync(&uploaded, &downloaded),
              (Lines{kUploadedNothing,
                     "22 Wexal Excel Interface downloaded 3 meters from "
                     "Workbook = " +
                         office.Workbook().string() + ", Worksheet = Route."}));
    EXPECT_EQ(uploaded, 0);
    EXPECT_EQ(downloaded, 0);
    EXPECT_EQ(office.RouteList(), (Lines{"01 3 2 R"}));
    EXPECT_EQ(office.CurrentRoute(), "01");
    const auto meters = office.Meters("01");
    ASSERT_EQ(meters.size(), 3u);
    EXPECT_EQ(meters[0], (Lines{"000002", "T-100", "", "W", "000", "07",         "1000",
                                "1300",   "1100",  "", "",  "",    "JONES MARY", "12 Main Street",
                                "",       "U",     "", "",  "",    "",           "S",
                                ""}));
    EXPECT_EQ(meters[1][kAddress], "12A Oak Street");
    EXPECT_EQ(meters[1][kSequence], "001");
    EXPECT_EQ(meters[2][kServiceId], "000004");
    EXPECT_EQ(meters[2][kAddress], "7 Elm Street");
    EXPECT_EQ(meters[2][kMin] + "-" + meters[2][kMax], "25-35");

    // The reader reads two meters and hands the route back.
    office.TakeReadings("01", {{"R", "00123", "060315", "093000", "01", "Dog in yard"},
                               {"E", "12.7", "060316", "", "", "Gate locked"},
                               {"U"}});
    office.SetRouteStatus("01", "U");

    EXPECT_EQ(office.Sync(&uploaded, &downloaded),
              (Lines{"22 Excel Interface: Uploaded Routes:1, Uploaded Meters: 2"}));
    EXPECT_EQ(uploaded, 0);
    // The listing of "01" at the start of each sync resets its last index.
    EXPECT_EQ(office.RouteList(), (Lines{"01 3 65534 N"}));
    EXPECT_EQ(ReadCells(office.Workbook(), "Route",
                        {"G2", "H2", "I2", "J2", "K2", "G3", "H3", "I3", "J3", "K3", "G4", "H4"}),
              (Lines{"123", "'03/15/06'", "'093000'", "'01'", "'Dog in yard'", "12", "'03/16/06'",
                     "None", "None", "'Gate locked'", "None", "None"}));
    // The rest of the sheet is as the billing system left it.
    EXPECT_EQ(ReadCells(office.Workbook(), "Route", {"A1", "F1", "A2", "B3", "F4", "C6", "F6"}),
              (Lines{"'HOUSE'", "'USAGE'", "12", "'Oak Street'", "10", "'TOTAL'", "250"}));

    // The next sync finds nothing to do.
    EXPECT_EQ(office.Sync(), (Lines{kUploadedNothing}));
}

TEST(ExcelSyncTest, TwoHandheldsUploadingAtOnceKeepEachOthersReadings) {
    constexpr int kRounds = 6;
    constexpr int kRowsEach = 100;
    ExcelOffice office;
    std::string rows;
    for (int row = 0; row < 2 * kRowsEach; ++row) {
        rows +=
            "ws.append([" + std::to_string(row + 1) + ", 'Main Street', 'JONES', 'T', 100, 0])\n";
    }
    office.MakeSheet(rows);
    const std::array<std::filesystem::path, 2> handhelds = {office.Bed().Handheld(),
                                                            office.Bed().AddHandheld("UNIT02")};
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Each handheld reads its half of the sheet's rows.
        for (std::size_t unit = 0; unit < handhelds.size(); ++unit) {
            office.Bed().UseHandheld(handhelds[unit]);
            std::vector<std::string> rowIds;
            for (int row = 0; row < kRowsEach; ++row) {
                char id[16];
                std::snprintf(id, sizeof id, "%06d", 2 + static_cast<int>(unit) * kRowsEach + row);
                rowIds.push_back(id);
            }
            office.ListRoute("01", "U");
            office.StoreMeters("01", rowIds,
                               std::vector<ExcelReadingTaken>(
                                   kRowsEach, {.status = "R", .current = std::to_string(round)}));
        }
        {
            StartGate gate;
            SyncProcess first(handhelds[0], office.Bed().Folder() / "unit1.log", &gate);
            SyncProcess second(handhelds[1], office.Bed().Folder() / "unit2.log", &gate);
            gate.Open();
            EXPECT_TRUE(first.Succeeded());
            EXPECT_TRUE(second.Succeeded());
        }
        EXPECT_EQ(
            Inspect(office.Workbook(), "sum(1 for cell in wb['Route']['G'][1:] if cell.value == " +
                                           std::to_string(round) + ")"),
            std::to_string(2 * kRowsEach));
        for (const std::filesystem::path& handheld : handhelds) {
            office.Bed().UseHandheld(handheld);
            EXPECT_EQ(office.RouteList(), Lines{"01 0 65534 N"});
        }
    }
}

TEST(ExcelSyncTest, TheSavedWorkbookOpensInLibreOffice) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
        WEXAL_MISSING_DEPENDENCY("LibreOffice (soffice) is not installed");
    }
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    office.ListRoute("01", "D");
    office.Sync();
    office.TakeReadings("01", {{"R", "4321", "060315", "093000", "01", "Dog"}});
    office.SetRouteStatus("01", "U");
    office.Sync();

    const std::filesystem::path out = office.Bed().Folder() / "csv";
    const std::string command =
        "cd " + office.Bed().Folder().string() + " && soffice -env:UserInstallation=file://" +
        (office.Bed().Folder() / "lo-profile").string() + " --headless --convert-to csv --outdir " +
        out.string() + " " + office.Workbook().string() + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string csv = ReadFile(out / "routes.csv");
    EXPECT_NE(csv.find("12,Main Street,JONES MARY,T-100,1000,200,4321,03/15/06,093000,01,Dog"),
              std::string::npos)
        << csv;
}

TEST(ExcelUploadTest, AnEmptyRouteListIsCountedAndNothingIsDownloaded) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    std::int32_t uploaded = -1;
    std::int32_t downloaded = -1;
    EXPECT_EQ(office.InSession([&](WexalConduit& conduit, const WexalConfig& config) {
        uploaded = conduit.UploadExcel(config.Workbook, config.Worksheet, config);
        downloaded = conduit.DownloadExcel(config.Workbook, config.Worksheet, "01", config);
    }),
              (Lines{kUploadedNothing}));
    EXPECT_EQ(uploaded, 0);
    EXPECT_EQ(downloaded, 0);
}

TEST(ExcelUploadTest, RoutesWithOtherStatusesAreNeitherUploadedNorDownloaded) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    for (const char* status : {"M", "R", "N", " "}) {
        const std::string route = std::string("R") + (status[0] == ' ' ? "_" : status);
        office.ListRoute(route, status);
        office.StoreMeters(route, {"000002"}, {{"R", "55"}});
    }
    const std::string before = ReadFile(office.Workbook());
    EXPECT_EQ(office.Sync(), (Lines{kUploadedNothing}));
    EXPECT_EQ(office.RouteList(), (Lines{"RM 0 65534 M", "RR 0 65534 R", "RN 0 65534 N",
                                         "R_ 0 65534  ", "01 0 65534 N"}));
    EXPECT_EQ(ReadFile(office.Workbook()), before);
}

TEST(ExcelUploadTest, RouteWithoutReadingsIsUploadedWithoutChangingTheFile) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    office.ListRoute("01", "U");
    office.StoreMeters("01", {"000002", "000003"}, {{"U", "55"}, {"X", "66"}});
    const std::string before = ReadFile(office.Workbook());
    EXPECT_EQ(office.Sync(), (Lines{"22 Excel Interface: Uploaded Routes:1, Uploaded Meters: 0"}));
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 N"}));
    EXPECT_EQ(ReadFile(office.Workbook()), before);
}

TEST(ExcelUploadTest, ARouteListedTwiceWithoutIdsIsUploadedOnce) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    office.ListRoute("01", "U");
    office.Bed().EditRecords("routeDB", [](auto& records) {
        records.push_back(records[0]);
        for (auto& record : records) {
            record.uniqueId = 0;
        }
    });
    office.StoreMeters("01", {"000002"}, {{"R", "55"}});
    EXPECT_EQ(office.Sync(), (Lines{"22 Excel Interface: Uploaded Routes:1, Uploaded Meters: 1"}));
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 N", "01 0 65534 N"}));
}

TEST(ExcelUploadTest, AWorkbookThatCannotBeOpenedKeepsEveryRouteForTheNextSync) {
    ExcelOffice office;
    office.ListRoute("A", "U");
    office.ListRoute("B", "U");
    office.StoreMeters("A", {"000002"}, {{"R", "55"}});
    std::int32_t uploaded = 0;
    const Lines log = office.Sync(&uploaded);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].rfind("0 Message box [Wexal Conduit 2.6.32]: Cannot open the workbook", 0),
              0u);
    EXPECT_EQ(log[1], "22 Could not open Workbook: " + office.Workbook().string() +
                          ", Worksheet: Route OR the last USAGE column could not be found.");
    EXPECT_EQ(log[2], kUploadedNothing);
    EXPECT_EQ(uploaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"A 0 65534 U", "B 0 65534 U", "01 0 65534 N"}));
}

// The line of a row that no longer holds its meter, the id being the row's.
std::string RowChangedLine(int row, const std::string& why) {
    char id[16];
    std::snprintf(id, sizeof id, "%06d", row);
    return "21 Excel Interface: row " + std::to_string(row) +
           " of Worksheet Route no longer holds the meter of ServiceUniqueID " + id + " (" + why +
           "); the readings of route 01 stay on the handheld until it holds that meter again.";
}

TEST(ExcelUploadTest, AReadingTheSheetRefusesKeepsItsRouteOnTheHandheld) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    office.ListRoute("01", "U");
    office.StoreMeters("01", {"000002", "000099"}, {{"R", "55"}, {"E", "66"}});
    const std::string before = ReadFile(office.Workbook());
    std::int32_t uploaded = 0;
    EXPECT_EQ(
        office.Sync(&uploaded),
        (Lines{RowChangedLine(99, "it lies outside the data rows 2 to 6"), kUploadedNothing}));
    EXPECT_EQ(uploaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 U"}));
    EXPECT_TRUE(ReadFile(office.Workbook()) == before) << "the workbook was changed";
}

// The office's three meters downloaded, read as given and handed back; then
// the clerk's edit of the sheet (Python).
void ReadAfterDownload(ExcelOffice& office, const std::vector<ExcelReadingTaken>& readings,
                       const std::string& clerksEdit) {
    office.MakeSheet(kThreeMeters);
    office.ListRoute("01", "D");
    office.Sync();
    office.TakeReadings("01", readings);
    office.SetRouteStatus("01", "U");
    office.MakeSheet(kThreeMeters + clerksEdit);
}

TEST(ExcelUploadTest, ASheetSortedSinceTheDownloadGetsNoReadingUntilItIsPutBack) {
    ExcelOffice office;
    ReadAfterDownload(office, {{"R", "1310"}, {"R", "45120"}, {"U"}},
                      "rows = sorted(ws.iter_rows(2, 4, values_only=True), key=lambda r: r[2])\n"
                      "for r, values in enumerate(rows, 2):\n"
                      "    for c, value in enumerate(values, 1):\n"
                      "        ws.cell(r, c, value)\n");
    const std::string sorted = ReadFile(office.Workbook());
    const auto handheld = office.Meters("01");

    std::int32_t uploaded = 0;
    EXPECT_EQ(office.Sync(&uploaded),
              (Lines{RowChangedLine(2, "its BillingName reads BROWN ANN, the meter's JONES MARY"),
                     kUploadedNothing}));
    EXPECT_EQ(uploaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"01 3 65534 U"}));
    EXPECT_EQ(office.Meters("01"), handheld);
    EXPECT_TRUE(ReadFile(office.Workbook()) == sorted) << "the sorted sheet was changed";

    // Put back: each reading reaches its customer's row.
    office.MakeSheet(kThreeMeters);
    EXPECT_EQ(office.Sync(&uploaded),
              (Lines{"22 Excel Interface: Uploaded Routes:1, Uploaded Meters: 2"}));
    EXPECT_EQ(uploaded, 0);
    EXPECT_EQ(office.RouteList(), (Lines{"01 3 65534 N"}));
    EXPECT_EQ(ReadCells(office.Workbook(), "Route", {"C2", "G2", "C3", "G3", "G4"}),
              (Lines{"'JONES MARY'", "1310", "'SMITH JOHN'", "45120", "None"}));
}

struct RowCase {
    std::string name;
    std::string clerksEdit;
    // Before the count line; none when the route was uploaded.
    Lines kept;
    // The reading of row 2, and of row 3 with its code and text.
    Lines cells;
};

void PrintTo(const RowCase& c, std::ostream* out) {
    *out << c.name;
}

class ExcelUploadRowTest : public ::testing::TestWithParam<RowCase> {};

// Meter 3 (row 4) is not read.
TEST_P(ExcelUploadRowTest, ReadingsGoOnlyIntoRowsThatStillHoldTheirMeters) {
    const RowCase& c = GetParam();
    ExcelOffice office;
    ReadAfterDownload(office, {{"R", "1310"}, {"E", "", "060316", "", "07", "No access"}, {"U"}},
                      c.clerksEdit);

    Lines log = c.kept;
    log.push_back(c.kept.empty() ? "22 Excel Interface: Uploaded Routes:1, Uploaded Meters: 2"
                                 : kUploadedNothing);
    EXPECT_EQ(office.Sync(), log);
    EXPECT_EQ(office.RouteList(), (Lines{c.kept.empty() ? "01 3 65534 N" : "01 3 65534 U"}));
    EXPECT_EQ(ReadCells(office.Workbook(), "Route", {"G2", "G3", "J3", "K3"}), c.cells);
}

const Lines kNothingWritten = {"None", "None", "None", "None"};

INSTANTIATE_TEST_SUITE_P(
    Rows, ExcelUploadRowTest,
    ::testing::Values(
        RowCase{"HouseNumberChanged",
                "ws['A3'] = '14A'",
                {RowChangedLine(3,
                                "its ServiceAddress reads 14A Oak Street, the meter's 12A "
                                "Oak Street")},
                kNothingWritten},
        RowCase{"RowDeleted",
                "ws.delete_rows(3)",
                {RowChangedLine(3, "its BillingName reads BROWN ANN, the meter's SMITH JOHN")},
                kNothingWritten},
        RowCase{"HouseNumberRemoved",
                "ws['A3'] = None",
                {RowChangedLine(3, "its House Number cell holds no meter")},
                kNothingWritten},
        RowCase{"ReadingCellRefused",
                "ws['G3'] = '=F3:F4'\nws.formula_attributes['G3'] = {'t': 'array', 'ref': "
                "'G3:G4'}",
                {"22 Excel Interface: the reading  of ServiceUniqueID 000003 was not written to "
                 "Worksheet Route: Cell G3 holds a formula that other cells share.",
                 "21 Excel Interface: route 01 stays on the handheld: the worksheet refused "
                 "some of its readings."},
                {"1310", "'=F3:F4'", "None", "None"}},
        // Only the rows that receive a reading must hold their meters. A
        // meter not read gets no reading a billing system would take as 0.
        RowCase{"UnreadMeterChanged",
                "ws['C4'] = 'GREEN TOM'",
                {},
                {"1310", "None", "'07'", "'No access'"}}),
    [](const auto& info) { return info.param.name; });

TEST(ExcelUploadTest, AMappingThatSharesAColumnKeepsTheReadingsUntilItIsMended) {
    ExcelOffice office;
    // Response Text seven to the right of the usage column comes out next to
    // it, where the reading goes.
    office.Configure({.readingMap = {"CurReading/+1", "Response Text/+7"}});
    office.MakeSheet(kThreeMeters);
    office.ListRoute("01", "U");
    office.StoreMeters("01", {"000002", "000003"}, {{"R", "55", "", "", "", "Dog"}, {"E", "66"}});
    const std::string before = ReadFile(office.Workbook());
    const auto handheld = office.Meters("01");

    std::int32_t uploaded = 0;
    EXPECT_EQ(office.Sync(&uploaded),
              (Lines{"21 Excel Interface: reading field Response Text and reading field "
                     "CurReading both give column G of Worksheet Route; the readings stay on the "
                     "handheld until the mapping is mended.",
                     kUploadedNothing}));
    EXPECT_EQ(uploaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 U"}));
    EXPECT_EQ(office.Meters("01"), handheld);
    EXPECT_EQ(ReadFile(office.Workbook()), before);

    // Mended: the readings that waited arrive.
    office.Configure({.readingMap = {"CurReading/+1", "Response Text/+5"}});
    EXPECT_EQ(office.Sync(), (Lines{"22 Excel Interface: Uploaded Routes:1, Uploaded Meters: 2"}));
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 N"}));
    EXPECT_EQ(ReadCells(office.Workbook(), "Route", {"G2", "K2", "G3"}),
              (Lines{"55", "'Dog'", "66"}));
}

TEST(ExcelUploadTest, AWorkbookThatCannotBeSavedKeepsTheRoute) {
    SmallDisk disk("256k");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "a small file system cannot be mounted here";
    }
    ExcelOffice office;
    const std::filesystem::path book = disk.Path() / "routes.xlsx";
    office.Configure({.workbook = book.string()});
    MakeWorkbook(book, kHeadingRow + kThreeMeters);
    const std::string before = ReadFile(book);
    office.ListRoute("01", "U");
    office.StoreMeters("01", {"000002"}, {{"R", "55"}});
    disk.Fill();

    std::int32_t uploaded = 0;
    const Lines log = office.Sync(&uploaded);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].rfind("22 Could not save Workbook: " + book.string() + ". Cannot save", 0), 0u)
        << log[0];
    EXPECT_EQ(log[1],
              "22 Excel Interface: the readings of route 01 stay on the handheld until "
              "the workbook can be saved.");
    EXPECT_EQ(log[2], kUploadedNothing);
    EXPECT_EQ(uploaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 U"}));
    EXPECT_EQ(ReadFile(book), before);

    // Room again: the readings arrive.
    disk.FreeUp();
    EXPECT_EQ(office.Sync(), (Lines{"22 Excel Interface: Uploaded Routes:1, Uploaded Meters: 1"}));
    EXPECT_EQ(ReadCells(book, "Route", {"G2"}), (Lines{"55"}));
}

TEST(ExcelDownloadTest, EveryAskedRouteGetsTheSheetAndTheReaderRouteIs01) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    office.ListRoute("A", "D");
    office.ListRoute("B", "D");
    office.Sync();
    EXPECT_EQ(office.RouteList(), (Lines{"A 3 2 R", "B 3 2 R", "01 0 65534 N"}));
    EXPECT_EQ(office.Meters("A"), office.Meters("B"));
    EXPECT_EQ(office.Meters("B").size(), 3u);
    EXPECT_EQ(office.CurrentRoute(), "01");
}

TEST(ExcelDownloadTest, ASheetWithoutMetersLeavesTheOldMetersAndEmptiesTheRoute) {
    ExcelOffice office;
    office.MakeSheet("ws.append([None, 'Nobody'])\n");
    office.ListRoute("01", "D");
    office.StoreMeters("01", {"old"}, {{"U"}});
    EXPECT_EQ(
        office.Sync(),
        (Lines{kUploadedNothing, "22 Wexal Excel Interface downloaded 0 meters from Workbook = " +
                                     office.Workbook().string() + ", Worksheet = Route."}));
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65535 R"}));
    ASSERT_EQ(office.Meters("01").size(), 1u);
    EXPECT_EQ(office.Meters("01")[0][kServiceId], "old");
}

TEST(ExcelDownloadTest, AWorkbookThatCannotBeReadLeavesTheRouteAsking) {
    ExcelOffice office;
    office.ListRoute("01", "D");
    office.StoreMeters("01", {"old"}, {{"R", "55"}});
    std::int32_t downloaded = 0;
    const Lines log = office.Sync(nullptr, &downloaded);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2], "22 Could not open Workbook: " + office.Workbook().string() +
                          ", Worksheet: Route OR the last USAGE column could not be found.");
    EXPECT_EQ(downloaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 D"}));
    ASSERT_EQ(office.Meters("01").size(), 1u);
    EXPECT_EQ(office.Meters("01")[0][kServiceId], "old");
}

TEST(ExcelDownloadTest, MetersTheHandheldCannotSaveLeaveTheRouteAsking) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    office.ListRoute("01", "D");
    std::int32_t downloaded = 0;
    Lines log;
    {
        FailingSaves full("route01", 1);
        log = office.Sync(nullptr, &downloaded);
    }
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(),
              "22 Wexal - Route 01 not downloaded: its meters cannot be saved on the handheld");
    EXPECT_EQ(downloaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 D"}));
}

TEST(ExcelDownloadTest, AMeterTooLargeForTheHandheldLeavesTheRouteAsking) {
    ExcelOffice office;
    office.MakeSheet("ws.append([12, 'Main Street'])\nws.append(['x' * 500, 'Oak Street'])\n");
    office.ListRoute("01", "D");
    std::int32_t downloaded = 0;
    const Lines log = office.Sync(nullptr, &downloaded);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(),
              "22 Wexal - Route 01 not downloaded: the handheld refused its meter of row "
              "000003");
    EXPECT_EQ(downloaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"01 0 65534 D"}));
}

TEST(ExcelDownloadTest, ARouteNamedAfterTheRouteListLeavesItWholeAndStaysAsking) {
    ExcelOffice office;
    office.MakeSheet(kThreeMeters);
    office.ListRoute("DB", "D");
    office.ListRoute("B", "D");
    std::int32_t downloaded = 0;
    const Lines log = office.Sync(nullptr, &downloaded);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1],
              "22 Wexal - Route DB not downloaded: its meter database would be routeDB, the "
              "handheld's route list; it stays requested");
    EXPECT_EQ(downloaded, -1);
    EXPECT_EQ(office.RouteList(), (Lines{"DB 0 65534 D", "B 3 2 R", "01 0 65534 N"}));
}

}  // namespace
}  // namespace wexal::testing
