// Whole syncs along the text-file road: routes down to the handheld,
// readings and exceptions back to the office.
#include <gtest/gtest.h>

#include "conduit/InterfaceTable.h"
#include "conduit/MeterRecordFields.h"
#include "conduit/TextFileVendors.h"
#include "conduit/formats/VendorMeter.h"
#include "platform/msgbox/MessageBox.h"
#include "tests/conduit/TextFileOffice.h"

namespace {

using wexal::testing::ReadFile;
using wexal::testing::Reading;
using wexal::testing::RouteMeter;
using wexal::testing::TextFileOffice;
using wexal::testing::WriteFile;
using Lines = std::vector<std::string>;

std::string Left(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), ' ');
}

std::string Right(const std::string& text, std::size_t width) {
    return std::string(width - text.size(), ' ') + text;
}

const Lines kStartAndFinish = {"19  Started with interface ACCUFUND",
                               "20 Wexal Conduit Finished - AccuFund"};

TEST(TextFileDownloadTest, FillsAMeterDatabasePerRouteAndRotatesTheFile) {
    TextFileOffice office;
    RouteMeter first{.route = "0001", .sequence = "7", .max = "200000", .min = "000100"};
    RouteMeter second{.route = "0001",
                      .sequence = " 12",
                      .service = "00000000000005678",
                      .digits = "9",
                      .max = "000200000",
                      .min = "000000100",
                      .previous = "000150000"};
    RouteMeter third{.route = "0002", .sequence = "3"};
    office.WriteRouteFile({first, second, third});
    const std::string routeFile = ReadFile(office.RouteFile());

    std::int32_t result = 0;
    EXPECT_EQ(office.Sync(&result), kStartAndFinish);
    EXPECT_EQ(result, 1);

    EXPECT_EQ(office.RouteList(), (Lines{"0001 2 R", "0002 1 R"}));
    const auto meters = office.Meters("0001");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0], (Lines{"00000000000001234",
                                "TAG0000001",
                                "",
                                "W",
                                "0007",
                                "06",
                                "150000",
                                "200000",
                                "000100",
                                "",
                                "",
                                "",
                                "JONES MARY",
                                "12 ELM ST",
                                "",
                                "U",
                                "",
                                "",
                                "",
                                "",
                                "S",
                                ""}));
    EXPECT_EQ(meters[1][0], "00000000000005678");
    EXPECT_EQ(meters[1][4], "0012");
    EXPECT_EQ(meters[1][5], "09");
    EXPECT_EQ(office.Meters("0002").size(), 1u);

    EXPECT_FALSE(std::filesystem::exists(office.RouteFile()));
    EXPECT_EQ(ReadFile(office.History(1)), routeFile);
}

// A byte-order mark is no data. Past a first buffer fill of LF lines, lines
// ending at a CR alone run into one, cut at the limit: logged, and no more.
TEST(TextFileDownloadTest, ByteOrderMarkIsNoDataAndACutLineIsLogged) {
    TextFileOffice office;
    const std::string line = wexal::testing::StandardRouteLine({.route = "11"}).substr(0, 191);
    std::string text = "\xEF\xBB\xBF";
    for (int i = 0; i < 1400; ++i) {
        text += line + (i < 1395 ? "\n" : "\r");
    }
    WriteFile(office.RouteFile(), text);
    EXPECT_EQ(office.Sync(), (Lines{kStartAndFinish[0],
                                    "22 Wexal - Download file has a line longer than 499 "
                                    "characters, cut there: " +
                                        office.RouteFile().string() + " line 1396",
                                    kStartAndFinish[1]}));
    EXPECT_EQ(office.RouteList(), (Lines{"11 1396 R"}));
    EXPECT_EQ(ReadFile(office.History(1)), text);
}

TEST(TextFileUploadTest, ReadMetersBecomeLinesAndExceptionsAreCaptured) {
    TextFileOffice office;
    office.WriteRouteFile({{.route = "0001", .sequence = "1"},
                           {.route = "0001", .sequence = "2", .tag = "TAG0000002"},
                           {.route = "0001", .sequence = "3"}});
    office.Sync();
    office.TakeReadings("0001",
                        {{.current = "12345", .date = "240315", .time = "0930", .initials = "AB"},
                         {.status = "E",
                          .current = "777",
                          .date = "240316",
                          .time = "101500",
                          .initials = "CDEFGH",
                          .responseCode = "01",
                          .responseText = "Dog in yard   "},
                         {.status = "U"}});
    WriteFile(office.Readings(), "earlier\r\n");
    office.WriteRouteFile({{.route = "0002"}});

    std::int32_t result = 0;
    EXPECT_EQ(office.Sync(&result), kStartAndFinish);
    EXPECT_EQ(result, 1);

    const std::string name = Left("JONES MARY", 30) + Left("12 ELM ST", 30);
    const std::string read = "00000000000001234" + name + Left("AB", 5) + "031524" +
                             Right("12345", 9) + std::string(10, ' ') + "000930" +
                             Left("TAG0000001", 20) + "  " + "\r\n";
    const std::string exception = "00000000000001234" + name + "CDEFG" + "031624" +
                                  Right("777", 9) + std::string(10, ' ') + "101500" +
                                  Left("TAG0000002", 20) + "01" + "\r\n";
    EXPECT_EQ(ReadFile(office.Readings()), "earlier\r\n" + read + exception);

    // Only the meter marked on the handheld is an AccuFund exception; its
    // response text arrives without its trailing blanks.
    const std::string captured = ReadFile(office.Exceptions());
    ASSERT_EQ(captured.size(), 370u);
    EXPECT_EQ(captured.substr(0, 20), Left("00000000000001234", 20));
    EXPECT_EQ(captured.substr(289, 1), "E");
    EXPECT_EQ(captured.substr(302, 60), Left("Dog in yard", 60));
    EXPECT_EQ(captured.substr(368), "\r\n");

    // The uploaded route left the list; the new one came down.
    EXPECT_EQ(office.RouteList(), (Lines{"0002 1 R"}));
    EXPECT_TRUE(std::filesystem::exists(office.History(2)));
}

TEST(TextFileUploadTest, LoopTakesRoutesHandedBackWithReadingsInListOrder) {
    TextFileOffice office;
    auto& bed = office.Bed();
    bed.BeginSession();
    WexalConduit conduit;
    for (const char* route : {"A", "B", "C", "D"}) {
        conduit.UpdateRoute(route, 1, "R");
        HHMeter meters;
        meters.Open(route);
        meters.Clear();
        meters.ServiceUniqueID = route;
        meters.Status = "R";
        meters.Write();
        meters.Close();
    }
    TextFileOffice::SetRouteStatus("A", "U");
    TextFileOffice::SetRouteStatus("C", "M");
    TextFileOffice::SetRouteStatus("D", "u");
    EXPECT_EQ(conduit.UploadAccuFund(office.Readings().string(), 0, ""), 0);
    bed.EndSession();

    EXPECT_EQ(office.RouteList(), (Lines{"A 1 N", "B 1 R", "C 1 N", "D 1 u"}));
    const std::string readings = ReadFile(office.Readings());
    ASSERT_EQ(readings.size(), 2 * 137u);
    EXPECT_EQ(readings.substr(0, 1), "A");
    EXPECT_EQ(readings.substr(137, 1), "C");
}

// The handheld record separates its texts with NULs: NULs inside a field
// would move "R" from the name into the meter's status.
TEST(TextFileRoadTest, NulInARouteFileFieldBecomesABlankAndForgesNoReading) {
    TextFileOffice office;
    office.WriteRouteFile({{.route = "0001", .name = std::string("JONES\0\0\0R", 9)}});
    office.Sync();
    const auto meters = office.Meters("0001");
    ASSERT_EQ(meters.size(), 1u);
    ASSERT_EQ(meters[0].size(), HHMeter::kTextCount);
    EXPECT_EQ(meters[0][12], "JONES   R");
    EXPECT_EQ(meters[0][13], "12 ELM ST");
    EXPECT_EQ(meters[0][15], "U");

    // Handed back unread: nothing to upload.
    office.TakeReadings("0001", {});
    office.WriteRouteFile({{.route = "0002"}});
    EXPECT_EQ(office.Sync(), kStartAndFinish);
    EXPECT_EQ(ReadFile(office.Readings()), "");
    EXPECT_EQ(office.RouteList(), Lines{"0002 1 R"});
}

// A route whose meter database would be another database of the handheld,
// or whose name no database name can hold, is refused before anything is
// written for it; the routes around it arrive and its lines go into the
// history with the file. The handheld compares names with their case.
TEST(TextFileDownloadTest, RouteNamesTheHandheldCannotKeepAreRefused) {
    const struct {
        std::string route;
        std::string logged;  // the route and why it is refused; empty: it arrives
    } cases[] = {
        {"DB", "DB not downloaded: its meter database would be routeDB, the handheld's route list"},
        {std::string("a\0b", 3),
         "a\\x00b not downloaded: its name holds a NUL byte, which a "
         "handheld database name cannot hold"},
        {"Db", ""},
    };
    for (const auto& refusal : cases) {
        SCOPED_TRACE(refusal.logged.empty() ? refusal.route : refusal.logged);
        TextFileOffice office;
        office.WriteRouteFile({{.route = "0001"}});
        office.Sync();
        office.WriteRouteFile({{.route = "0002"},
                               {.route = refusal.route},
                               {.route = refusal.route},
                               {.route = "z01"}});
        const std::string routeFile = ReadFile(office.RouteFile());
        Lines log = kStartAndFinish;
        Lines routes = {"0001 1 R", "0002 1 R", "z01 1 R"};
        if (refusal.logged.empty()) {
            routes.insert(routes.begin() + 2, refusal.route + " 2 R");
        } else {
            log.insert(log.begin() + 1,
                       "22 Wexal - Route " + refusal.logged + "; its lines stay in the route file");
        }
        EXPECT_EQ(office.Sync(), log);
        EXPECT_EQ(office.RouteList(), routes);
        EXPECT_FALSE(office.Bed().HasDatabase("routea"));
        EXPECT_EQ(ReadFile(office.History(1)), routeFile);
        EXPECT_FALSE(std::filesystem::exists(office.RouteFile()));
    }
}

TEST(TextFileSortOrderTest, UnsortedFileStopsTheSyncBeforeTheDownload) {
    TextFileOffice office;
    office.WriteRouteFile({{.route = "0002"}, {.route = "0001"}});
    std::int32_t result = 1;
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface ACCUFUND",
                     "22 Wexal - Download file is not sequenced by route. Line = 1"}));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(std::filesystem::exists(office.RouteFile()));
    EXPECT_FALSE(std::filesystem::exists(office.History(1)));
    EXPECT_TRUE(office.Meters("0002").empty());
}

TEST(TextFileSortOrderTest, CaselleGroupNamesBothRoutes) {
    TextFileOffice office("CSDC");
    office.WriteRouteFile({{.route = "0001"}, {.route = "0002"}, {.route = "0001"}});
    const Lines log = office.Sync();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(),
              "22 Wexal - Download file is not sequenced by route. Line = 2 0002 is > 0001");
}

// Lines of many lengths and contents, for comparing ways of reading them:
// digits, blanks, the record marks of some vendors ("  ", "00", "*P") and
// their fallback route columns, tabs where blanks are trimmed.
std::string VariedLines() {
    const std::vector<std::string (*)(std::size_t)> fills = {
        [](std::size_t n) {
            std::string line(n, ' ');
            for (std::size_t i = 0; i < n; ++i) {
                line[i] = static_cast<char>('0' + (i * 7 + n) % 10);
            }
            return line;
        },
        [](std::size_t n) { return std::string(n, ' '); },
        [](std::size_t n) {
            std::string line(n, ' ');
            line.replace(0, std::min<std::size_t>(n, 2), std::min<std::size_t>(n, 2), '0');
            for (std::size_t i = 120; i < n && i < 124; ++i) {
                line[i] = i < 122 ? '0' : '4';
            }
            return line;
        },
        [](std::size_t n) {
            std::string line(n, ' ');
            for (std::size_t i = 2; i < n; ++i) {
                line[i] = "R7 \t*P"[i % 6];
            }
            return line;
        },
    };
    std::string content;
    for (std::size_t length : {0,   1,   2,   3,   4,   6,   9,   19,  40,  69,  70,
                               118, 121, 123, 145, 172, 178, 191, 204, 223, 240, 330}) {
        for (const auto fill : fills) {
            content += fill(length) + "\r\n";
        }
    }
    return content;
}

// The sort-order check cuts only the route of each line: for every vendor
// it must be the route that reading the whole record gives.
TEST(TextFileSortOrderTest, TheRouteAloneIsCutAsFromTheWholeRecord) {
    wexal::testing::TempDir dir;
    const auto file = (dir / "route.txt").string();
    WriteFile(file, VariedLines());
    for (const TextFileVendor* vendor : text_file_vendors::All()) {
        SCOPED_TRACE(vendor->word);
        const auto whole = vendor->makeMeter();
        const auto routeOnly = vendor->makeMeter();
        ASSERT_EQ(whole->Open(file), 0);
        ASSERT_EQ(routeOnly->Open(file), 0);
        for (int record = 0;; ++record) {
            const std::int32_t result = whole->Read();
            ASSERT_EQ(routeOnly->ReadField(vendor->routeField), result) << record;
            if (result != VendorMeter::kRecordRead) {
                break;
            }
            EXPECT_EQ(routeOnly->Field(vendor->routeField), whole->Field(vendor->routeField))
                << record;
        }
    }
}

TEST(TextFileUploadTest, PrairiFireShowsItsNoticeBeforeEachCapture) {
    TextFileOffice office;
    Lines boxes;
    wexal::msgbox::SetCapture([&boxes](const std::string& caption, const std::string& text) {
        boxes.push_back(caption + ": " + text);
    });
    auto& bed = office.Bed();
    bed.BeginSession();
    {
        HHMeter meters;
        meters.Open("0001");
        meters.Clear();
        meters.Status = "U";
        meters.Write();
        meters.Close();
    }
    WexalConduit conduit;
    EXPECT_EQ(conduit.UploadPrairiFireRoute("0001", office.Readings().string(), 1,
                                            office.Exceptions().string()),
              1);
    bed.EndSession();
    wexal::msgbox::SetCapture({});

    EXPECT_EQ(boxes, (Lines{"Wexal Conduit: going to write exception"}));
    EXPECT_EQ(ReadFile(office.Exceptions()).size(), 370u);
    EXPECT_EQ(ReadFile(office.Readings()), "");
}

TEST(TextFileVendorsTest, InterfaceNumbersReachTheirVendorsRoutines) {
    std::size_t numbers = 0;
    for (const TextFileVendor* vendor : text_file_vendors::All()) {
        for (std::uint16_t number : vendor->numbers) {
            if (number == 0) {
                continue;
            }
            ++numbers;
            const InterfaceRow* row = FindInterface(number);
            ASSERT_NE(row, nullptr);
            const bool folderScan = number == 24 || number == 30 || number == 31;
            EXPECT_EQ(row->road, folderScan ? InterfaceRoad::FolderScan : InterfaceRoad::SingleFile)
                << number;
            EXPECT_EQ(row->routines, &vendor->routines) << vendor->word << " " << number;
        }
    }
    // Every number but the SQL stub, the SQL data source and the workbook.
    EXPECT_EQ(numbers, 34u);
}

// The readings file that one read meter gives through the vendor's upload
// when every text of the meter is `text`.
std::string ReadingsOfOneMeter(const TextFileVendor& vendor, const std::string& text) {
    TextFileOffice office;
    auto& bed = office.Bed();
    bed.BeginSession();
    WexalConduit conduit;
    conduit.UpdateRoute("R1", 1, "U");
    {
        HHMeter meters;
        meters.Open("R1");
        meters.Clear();
        for (std::string HHMeter::*field : kMeterRecordFields) {
            meters.*field = text;
        }
        meters.Status = "R";
        meters.Write();
        meters.Close();
    }
    vendor.routines.upload(conduit, office.Readings().string(), 0, "");
    bed.EndSession();
    return ReadFile(office.Readings());
}

// A line break typed on the handheld would end the readings line early and
// start a forged one: each break becomes a blank, on every vendor's line.
TEST(TextFileVendorsTest, LineBreaksInMeterTextsNeverSplitAReadingsLine) {
    for (const TextFileVendor* vendor : text_file_vendors::All()) {
        SCOPED_TRACE(vendor->word);
        const std::string withBlanks = ReadingsOfOneMeter(*vendor, "1 2  3 4");
        EXPECT_NE(withBlanks, "");
        EXPECT_EQ(ReadingsOfOneMeter(*vendor, "1\r2\r\n3\n4"), withBlanks);
    }
}

}  // namespace
