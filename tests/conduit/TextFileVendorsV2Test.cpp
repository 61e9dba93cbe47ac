// Whole syncs of the interfaces that take every route file of a folder:
// LogHH (24), RMSBadger (30) and Connekt (31), and the folder scan itself.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <tuple>
#include <utility>

#include "conduit/FileSearch.h"
#include "conduit/FolderScan.h"
#include "conduit/InterfaceTable.h"
#include "conduit/TextFileVendors.h"
#include "conduit/formats/HistoryRotation.h"
#include "conduit/formats/RouteFileClaim.h"
#include "tests/conduit/KilledSync.h"
#include "tests/conduit/OpenFaults.h"
#include "tests/conduit/TextFileOffice.h"
#include "tests/conduit/WriteFaults.h"
#include "tests/support/NotRegularFiles.h"

namespace {

namespace fs = std::filesystem;
using wexal::testing::BeforeOpening;
using wexal::testing::FailingWrites;
using wexal::testing::ReadFile;
using wexal::testing::Reading;
using wexal::testing::TextFileOffice;
using wexal::testing::WriteFile;
using Lines = std::vector<std::string>;

// A line of `length` blanks with texts at the columns given.
std::string Line(std::size_t length,
                 std::initializer_list<std::pair<std::size_t, std::string>> texts) {
    std::string line(length, ' ');
    for (const auto& [column, text] : texts) {
        line.replace(column, text.size(), text);
    }
    return line;
}

std::string File(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// The files of a route folder, without the sync's folder of claimed names.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path() != ClaimFolder(folder.string() + "/")) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The texts of a meter record in one line, "|" between them.
std::string Joined(const Lines& texts) {
    std::string line;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        line += (i == 0 ? "" : "|") + texts[i];
    }
    return line;
}

bool Logged(const Lines& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

// An office whose route path names a folder and a pattern.
class FolderOffice {
  public:
    FolderOffice(const std::string& interface, const std::string& pattern,
                 const std::string& readings)
        : office_(interface) {
        fs::create_directories(Routes());
        office_.Configure(Routes() / pattern, Folder() / readings);
    }

    TextFileOffice& Office() { return office_; }
    fs::path Folder() { return office_.Bed().Folder(); }
    fs::path Routes() { return Folder() / "routes"; }
    void Put(const std::string& name, const Lines& lines) {
        WriteFile(Routes() / name, File(lines));
    }
    void ConfigureRoutePath(const std::string& routePath) {
        office_.Configure(routePath, Folder() / "readings.txt");
    }
    Lines Sync(std::int32_t* result) { return office_.Sync(result); }

  private:
    TextFileOffice office_;
};

// --- LogHH (24) ---------------------------------------------------------

std::string LogHHHeader(const std::string& town) {
    return Line(60, {{0, town}, {30, "LOGHH EXPORT"}});
}

// Columns: address 0, service 27, route 77, "-0" 80, sequence 82, type 87,
// tag 88, previous 106, maximum 112, minimum 118, message 159, name 179.
std::string LogHHMeter(const std::string& route, const std::string& sequence,
                       const std::string& service, const std::string& tag) {
    return Line(199, {{0, "14 OAK AVE"},
                      {27, service},
                      {77, route},
                      {80, "-0"},
                      {82, sequence},
                      {87, "W"},
                      {88, tag},
                      {106, "001500"},
                      {112, "009000"},
                      {118, "000100"},
                      {159, "DOG IN YARD"},
                      {179, "SMITH JOHN"}});
}

TEST(LogHHSyncTest, RoutesComeDownFromEveryFileAndReadingsGoBackPerHeader) {
    FolderOffice office("LOGHH", "*.txt", "readings-*.txt");
    office.Put("a.txt", {LogHHHeader("CITY OF SPRINGFIELD"),
                         LogHHMeter("R07", "0001", "SVC0000001", "11111111"),
                         LogHHMeter("R07", "0002", "SVC0000002", "2222 222")});
    office.Put("b.txt", {LogHHHeader("TOWNSHIP"), LogHHMeter("R09", "0001", "SVC0000009", "9")});
    const std::string fileA = ReadFile(office.Routes() / "a.txt");
    const std::string fileB = ReadFile(office.Routes() / "b.txt");

    std::int32_t result = 0;
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface LOGHH", "20 Wexal Conduit Finished - LogHH"}));
    EXPECT_EQ(result, 1);
    TextFileOffice& hh = office.Office();
    EXPECT_EQ(hh.RouteList(), (Lines{"R07 2 R", "R09 1 R"}));
    const auto meters = hh.Meters("R07");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(Joined(meters[0]),
              "SVC0000001|11111111|11111111|W|0001|06|001500|009000|000100||||"
              "SMITH JOHN|14 OAK AVE|DOG IN YARD|U||||      |S|CITY OF SPRINGFIELD");
    EXPECT_EQ(meters[1][1], "22220222");
    EXPECT_EQ(meters[1][2], "2222 222");
    EXPECT_EQ(hh.Meters("R09").at(0).at(21), "TOWNSHIP");
    // Both files went into the history, the later one newest.
    EXPECT_EQ(Names(office.Routes()), (Lines{"PriorD01", "PriorD02"}));
    EXPECT_EQ(ReadFile(office.Routes() / "PriorD01"), fileB);
    EXPECT_EQ(ReadFile(office.Routes() / "PriorD02"), fileA);

    hh.TakeReadings("R07", {{.current = "2345",
                             .date = "240315",
                             .time = "093000",
                             .initials = "JD",
                             .responseCode = "07",
                             .responseText = "GATE LOCKED  "},
                            {.status = "U"}});
    office.Put("c.txt", {LogHHHeader("VILLAGE"), LogHHMeter("R10", "0001", "SVC0000010", "1")});
    EXPECT_EQ(office.Sync(&result).back(), "20 Wexal Conduit Finished - LogHH");

    const std::string expected =
        "14 OAK AVE               "  // 0-24     address
        "  "                         // 25-26
        "SVC0000001"                 // 27-36    service id
        + std::string(40, ' ') +     // 37-76
        "R07"                        // 77-79    route
        "-0"                         // 80-81
        "0001"                       // 82-85    sequence
        " "                          // 86
        "W"                          // 87       meter type
        "11111111    "               // 88-99    tag
        "002345"                     // 100-105  reading
        "001500"                     // 106-111  previous
        "009000"                     // 112-117  maximum
        "000100"                     // 118-123  minimum
        " "                          // 124
        "031524"                     // 125-130  date
        "093000"                     // 131-136  time
        + std::string(22, ' ') +     // 137-158
        "GATE LOCKED         "       // 159-178  response text
        "SMITH JOHN          "       // 179-198  name
        + std::string(40, ' ') +     // 199-238
        "X\r\n";                     // 239
    EXPECT_EQ(ReadFile(office.Folder() / "readings-CITY OF SPRINGFIELD.txt"), expected);
    // Rule B: the meter with a response text and the unread one.
    EXPECT_EQ(ReadFile(hh.Exceptions()).size(), 2 * 370u);
    EXPECT_EQ(hh.RouteList(), (Lines{"R09 1 R", "R10 1 R"}));
}

TEST(LogHHSyncTest, FilesWithoutMetersAreLoggedAndRotatedWithoutStoppingTheSync) {
    FolderOffice office("LOGHH", "*.txt", "readings.txt");
    office.Put("a.txt", {LogHHHeader("TOWN A"), LogHHMeter("R01", "0001", "SVC0000001", "1")});
    WriteFile(office.Routes() / "b.txt", "");  // not even a header
    office.Put("c.txt", {LogHHHeader("TOWN C")});
    office.Put("d.txt", {LogHHHeader("TOWN D"), LogHHMeter("R04", "0001", "SVC0000004", "4")});

    std::int32_t result = 0;
    const Lines log = office.Sync(&result);
    EXPECT_EQ(result, 1);
    const std::string routes = office.Routes().string();
    EXPECT_EQ(log, (Lines{"19  Started with interface LOGHH",
                          "22 Wexal - Download file holds no meters: " + routes + "/b.txt",
                          "22 Wexal - Download file holds no meters: " + routes + "/c.txt",
                          "20 Wexal Conduit Finished - LogHH"}));
    EXPECT_EQ(office.Office().RouteList(), (Lines{"R01 1 R", "R04 1 R"}));
    EXPECT_EQ(Names(office.Routes()), (Lines{"PriorD01", "PriorD02", "PriorD03", "PriorD04"}));
    EXPECT_EQ(ReadFile(office.Routes() / "PriorD03"), "");
}

TEST(LogHHSyncTest, StarTakesTheRouteNameWhenTheHeaderWasBlank) {
    FolderOffice office("LOGHH", "*.txt", "*-readings-*.txt");
    office.Put("a.txt", {LogHHHeader(""), LogHHMeter("R07", "0001", "SVC0000001", "1")});
    office.Sync(nullptr);
    EXPECT_EQ(office.Office().Meters("R07").at(0).at(21), "");
    office.Office().TakeReadings("R07", {{.current = "5"}});
    office.Sync(nullptr);
    const std::string readings = ReadFile(office.Folder() / "R07-readings-R07.txt");
    ASSERT_EQ(readings.size(), 242u);
    EXPECT_EQ(readings.substr(100, 6), "000005");
}

// The header's text names the readings file inside the readings folder and
// never steers it out of there.
TEST(LogHHSyncTest, StarNeverLeadsOutOfTheReadingsFolder) {
    struct Case {
        std::string header;
        std::string file;  // in billing/deep; empty: the route is refused
    };
    const Case cases[] = {
        {"../../victim", ".._.._victim.txt"},
        {"..\\..\\victim", ".._.._victim.txt"},
        {"/victim", "_victim.txt"},
        {"..", ""},
        {".", ""},
        {"...", "....txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        FolderOffice office("LOGHH", "*.txt", "billing/deep/*.txt");
        fs::create_directories(office.Folder() / "billing" / "deep");
        office.Put("a.txt", {LogHHHeader(c.header), LogHHMeter("R07", "0001", "SVC0000001", "1")});
        office.Sync(nullptr);
        office.Office().TakeReadings("R07", {{.current = "5"}});
        const Lines log = office.Sync(nullptr);

        const Lines written = Names(office.Folder() / "billing" / "deep");
        EXPECT_FALSE(fs::exists(office.Folder() / "victim.txt"));
        if (c.file.empty()) {
            EXPECT_TRUE(written.empty());
            EXPECT_TRUE(Logged(
                log, "22 Wexal - Readings file name \"" + c.header + "\" of route R07 refused"));
            EXPECT_EQ(office.Office().RouteList(), (Lines{"R07 1 U"}));
        } else {
            EXPECT_EQ(written, (Lines{c.file, c.file + ".lock"}));
            EXPECT_EQ(office.Office().RouteList(), Lines{});
        }
    }
}

// A sync killed after its marks leaves the journal of the last route's own
// readings file; the next sync settles it with nothing to upload.
TEST(LogHHSyncTest, JournalLeftBesideARoutesOwnFileGoesWithTheNextSync) {
    FolderOffice office("LOGHH", "*.txt", "*.rdg");
    office.Put("a.txt", {LogHHHeader("TOWN A"), LogHHMeter("R01", "0001", "SVC0000001", "1")});
    office.Put("b.txt", {LogHHHeader(".TOWN B"), LogHHMeter("R02", "0001", "SVC0000002", "2")});
    office.Sync(nullptr);
    office.Office().TakeReadings("R01", {{.current = "5"}});
    office.Office().TakeReadings("R02", {{.current = "6"}});
    const fs::path readings = office.Folder() / ".TOWN B.rdg";
    const fs::path journal = readings.string() + ".pending";
    ASSERT_TRUE(wexal::testing::SyncKilledAfterItsMarks(office.Office().Bed().Handheld(), journal,
                                                        office.Folder() / "killed.log"));
    ASSERT_EQ(office.Office().RouteList(), (Lines{"R01 1 N", "R02 1 N"}));
    ASSERT_TRUE(fs::exists(journal));
    const std::string written = ReadFile(readings);

    office.Sync(nullptr);
    EXPECT_FALSE(fs::exists(journal));
    EXPECT_EQ(ReadFile(readings), written);
    EXPECT_EQ(written.size(), 242u);
}

// A single-file layout and a folder layout whose files went through one
// text-mode transfer too many, carry a CR inside a name, or hold empty and
// blank lines: every meter arrives in its route and the file in the history.
TEST(LineEndsSyncTest, EveryMeterArrivesWhateverTheLineEnds) {
    const struct {
        const char* interface;
        const char* vendor;
        const char* pattern;  // of the route file "a.txt"
        std::size_t nameColumn;
        std::string header;
        std::string (*meter)(const std::string& route);
    } layouts[] = {
        {"ACCUFUND", "AccuFund", "a.txt", 17, "",
         [](const std::string& route) {
             return wexal::testing::StandardRouteLine({.route = route}).substr(0, 191);
         }},
        {"LOGHH", "LogHH", "*.txt", 179, LogHHHeader("TOWN"),
         [](const std::string& route) { return LogHHMeter(route, "0001", "SVC0000001", "1"); }},
        // A blank header is still the header: no meter is taken for it.
        {"LOGHH", "LogHH", "*.txt", 179, std::string(60, ' '),
         [](const std::string& route) { return LogHHMeter(route, "0001", "SVC0000001", "1"); }},
    };
    const struct {
        const char* form;
        const char* lineEnd;
        const char* blankLine;  // before the first meter, between the routes and at the end
        bool crInFirstName;
    } forms[] = {
        {"CR CR LF", "\r\r\n", nullptr, false}, {"CR in a name", "\r\n", nullptr, true},
        {"empty lines", "\r\n", "", false},     {"blank lines", "\r\n", " \t ", false},
        {"CR only", "\r", nullptr, false},
    };
    const char* const routes[] = {"11", "11", "11", "12", "12"};
    for (const auto& layout : layouts) {
        for (const auto& form : forms) {
            SCOPED_TRACE(std::string(layout.vendor) + ", " + form.form);
            FolderOffice office(layout.interface, layout.pattern, "readings.txt");
            const std::string blank =
                form.blankLine ? form.blankLine + std::string(form.lineEnd) : "";
            // An empty line before the first meter (before a header, it is one).
            const std::string top =
                form.blankLine && !*form.blankLine && layout.header.empty() ? blank : "";
            std::string text =
                top + (layout.header.empty() ? "" : layout.header + form.lineEnd) + blank;
            for (std::size_t i = 0; i < std::size(routes); ++i) {
                std::string line = layout.meter(routes[i]);
                if (i == 0 && form.crInFirstName) {
                    line[layout.nameColumn + 5] = '\r';
                }
                text += (i == 3 ? blank : "") + line + form.lineEnd;
            }
            text += blank;
            WriteFile(office.Routes() / "a.txt", text);

            EXPECT_EQ(office.Sync(nullptr),
                      (Lines{std::string("19  Started with interface ") + layout.interface,
                             std::string("20 Wexal Conduit Finished - ") + layout.vendor}));
            EXPECT_EQ(office.Office().RouteList(), (Lines{"11 3 R", "12 2 R"}));
            EXPECT_EQ(ReadFile(office.Routes() / "PriorD01"), text);
            EXPECT_FALSE(fs::exists(office.Routes() / "a.txt"));
        }
    }
    // The check sees every line of a CR-only file: unsorted, it is refused.
    TextFileOffice office;
    std::string unsorted;
    for (const char* route : {"11", "11", "12", "11"}) {
        unsorted += layouts[0].meter(route) + "\r";
    }
    WriteFile(office.RouteFile(), unsorted);
    EXPECT_EQ(office.Sync().back(), "22 Wexal - Download file is not sequenced by route. Line = 3");
}

// --- RMSBadger (30) -----------------------------------------------------

// Columns: name 8 (and 123), address 28, tag 48, serial 67, digits 76,
// maximum ending at 85, minimum ending at 94, route 120, sequence 166,
// service 190, user field 210.
std::string BadgerMeter(const std::string& route, const std::string& sequence,
                        const std::string& service, const std::string& userDef) {
    return Line(220, {{8, "SMITH JOHN"},
                      {28, "12 ELM ST"},
                      {48, "101234567"},
                      {67, "SER456789"},
                      {76, "4"},
                      {77, "123459876"},
                      {86, "000000012"},
                      {120, route},
                      {123, "ESTATE OF"},
                      {166, sequence},
                      {190, service},
                      {210, userDef}});
}

TEST(RMSBadgerSyncTest, EveryRecordIsAMeterAndReadingsGoToTheFileOfTheFirst) {
    FolderOffice office("RMSBADGER", "*.DAT", "badger-*.txt");
    office.Put("route1.dat", {"HEADER LINE OF THE EXPORT",
                              BadgerMeter("R07", "0001", "00000000000000012345", "UDEF000001"),
                              BadgerMeter("R07", "0002", "00000000000000012346", "UDEF000002")});
    std::int32_t result = 0;
    EXPECT_EQ(office.Sync(&result), (Lines{"19  Started with interface RMSBADGER",
                                           "20 Wexal Conduit Finished - RMSBadger"}));
    EXPECT_EQ(result, 1);
    TextFileOffice& hh = office.Office();
    EXPECT_EQ(hh.RouteList(), (Lines{"R07 2 R"}));
    const auto meters = hh.Meters("R07");
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(Joined(meters[0]),
              "00000000000000012345|000101234567|SER456789|W|0001|04||9876|0012||||SMITH JOHN" +
                  std::string(20, ' ') + "ESTATE OF|12 ELM ST||U||||      |P|UDEF000001");

    hh.TakeReadings("R07", {{.current = "5432", .date = "240315", .time = "093015"},
                            {.status = "E", .current = "", .responseText = "NO ACCESS"}});
    office.Sync(&result);

    const std::string first =
        "        "                // 0-7
        "SMITH JOHN          "    // 8-27     name, first part
        "12 ELM ST           "    // 28-47    address
        "101234567"               // 48-56    tag
        "          "              // 57-66
        "SER456789"               // 67-75    serial
        "4"                       // 76       dial digits
        "9876     "               // 77-85    maximum
        "0012     "               // 86-94    minimum
        "000005432"               // 95-103   reading
        "09:30:15"                // 104-111  time
        "R"                       // 112
        "       "                 // 113-119
        "R07"                     // 120-122  route
        "ESTATE OF   "            // 123-134  name, second part
        "03/15/24"                // 135-142  date
        + std::string(21, ' ') +  // 143-163
        "000001"                  // 164-169  sequence
        + std::string(20, ' ') +  // 170-189
        "00000000000000012345"    // 190-209  service id
        "UDEF000001       "       // 210-226  user field
        + std::string(27, ' ') +  // 227-253
        "\r\n";
    const std::string readings = ReadFile(office.Folder() / "badger-UDEF000001.txt");
    ASSERT_EQ(readings.size(), 2 * 256u);
    EXPECT_EQ(readings.substr(0, 256), first);
    // The exception: no reading, an empty date and time still in their forms.
    const std::string second = readings.substr(256);
    EXPECT_EQ(second.substr(95, 18), "00000000000:00:00R");
    EXPECT_EQ(second.substr(135, 8), "00/00/00");
    EXPECT_EQ(second.substr(190, 20), "00000000000000012346");
    EXPECT_EQ(ReadFile(hh.Exceptions()).size(), 370u);
}

// --- Connekt (31) -------------------------------------------------------

// Columns: name 8, address 28, tag 48, user field 61 (its third character
// ends the service id, its fourth is the meter type), serial 67, maximum
// 77, minimum 86, previous 95, route 116, service 120, last reading date
// 135, read type mark 143, sequence 166, message 170.
std::string ConnektMeter(const std::string& route, const std::string& sequence,
                         const std::string& service, const std::string& userDef) {
    return Line(190, {{8, "SMITH JOHN"},
                      {28, "12 ELM ST"},
                      {48, "0012345678"},
                      {61, userDef},
                      {67, "SER4567890"},
                      {77, "000123456"},
                      {86, "   000100"},
                      {116, route},
                      {120, service},
                      {135, "03152024"},
                      {166, sequence},
                      {170, "CALL FIRST"}});
}

TEST(ConnektSyncTest, EachRouteOpensItsReadingsWithAHeader) {
    FolderOffice office("CONNEKT", "*.txt", "connekt-*-*.txt");
    office.Put("a.txt",
               {"H CONNEKT ROUTES", ConnektMeter("R07", "0001", "SVC000000012345", "AB1wC"),
                ConnektMeter("R07", "0002", "SVC000000012346", "AB2WC"),
                "00" + ConnektMeter("R08", "0001", "SVC000000012347", "XY3W ").substr(2), "T 3"});
    std::int32_t result = 0;
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface CONNEKT", "20 Wexal Conduit Finished - Connekt"}));
    EXPECT_EQ(result, 1);
    TextFileOffice& hh = office.Office();
    EXPECT_EQ(hh.RouteList(), (Lines{"R07 2 R", "R08 1 R"}));
    const auto meters = hh.Meters("R07");
    ASSERT_EQ(meters.size(), 2u);
    // The blank previous reading took the minimum's digits.
    EXPECT_EQ(Joined(meters[0]),
              "SVC0000000123451|000012345678|SER4567890|W|0001|00|000000100|000123456|000000100||||"
              "SMITH JOHN|12 ELM ST|CALL FIRST|U||||240315|S|AB1wC");

    hh.TakeReadings("R07",
                    {{.current = "54321", .date = "240315", .time = "093015"}, {.status = "U"}});
    hh.TakeReadings("R08", {{.status = "U"}});
    office.Sync(&result);
    EXPECT_EQ(result, 0);  // no route file left to download

    const std::string line =
        "        "                // 0-7
        "SMITH JOHN          "    // 8-27     name
        "12 ELM ST           "    // 28-47    address
        "0012345678"              // 48-57    tag
        "   "                     // 58-60
        "AB1wC"                   // 61-65    user field
        " "                       // 66
        "SER456789"               // 67-75    serial
        " "                       // 76
        "000123456"               // 77-85    maximum
        "000000100"               // 86-94    minimum
        "000054321"               // 95-103   reading
        "093015"                  // 104-109  time
        "      "                  // 110-115
        "R07 "                    // 116-119  route
        "SVC000000012345"         // 120-134  service id
        "03/15/24"                // 135-142  date
        "                   "     // 143-161
        "00000001"                // 162-169  sequence
        + std::string(84, ' ') +  // 170-253
        "\r\n";
    EXPECT_EQ(ReadFile(office.Folder() / "connekt-AB1wC-AB1wC.txt"), "H\r\n" + line);
    // A route without a reading still gets its header, in its own file.
    EXPECT_EQ(ReadFile(office.Folder() / "connekt-XY3W-XY3W.txt"), "H\r\n");
}

TEST(ConnektSyncTest, RoutesWithoutReadingsLeaveOnlyTheirHeaders) {
    FolderOffice office("CONNEKT", "*.txt", "connekt.txt");
    office.Put("a.txt", {ConnektMeter("R07", "0001", "SVC000000012345", "AB1wC"),
                         ConnektMeter("R08", "0001", "SVC000000012346", "AB1wC")});
    office.Sync(nullptr);
    office.Office().TakeReadings("R07", {{.status = "U"}});
    office.Office().TakeReadings("R08", {{.status = "U"}}, "M");
    office.Sync(nullptr);
    EXPECT_EQ(ReadFile(office.Folder() / "connekt.txt"), "H\r\nH\r\n");
    EXPECT_TRUE(office.Office().RouteList().empty());
}

// A LogHH header is the first line whatever it holds (after an empty one, the
// header line is a meter of route ""); a Connekt or RMSBadger header is no
// meter line. No meter is taken for a header; the check sees every meter.
TEST(ConnektSyncTest, NoMeterIsTakenForAHeader) {
    const std::string header = LogHHHeader("TOWN") + "\r\n";
    struct Case {
        const char* interface;
        decltype(&LogHHMeter) meter;
        std::string top = "";
        std::string userDef = "AB1WC";
        Lines routes = {"R07 3 R"};
    };
    std::vector<Case> cases = {
        {"LOGHH", &LogHHMeter, "\r\n", ""},
        {"LOGHH", &LogHHMeter, header + "\r\n \r\n", "TOWN"},
        {"LOGHH", &LogHHMeter, "\r\n" + header, "", {" 1 R", "R07 3 R"}},
        {"LOGHH", &LogHHMeter, "\xEF\xBB\xBF" + header, "TOWN"},
    };
    for (const Case& vendor : {Case{"CONNEKT", &ConnektMeter}, Case{"RMSBADGER", &BadgerMeter}}) {
        for (const char* top : {"", "\r\n", "H EXPORT\r\n", "\xEF\xBB\xBF"}) {
            cases.push_back({vendor.interface, vendor.meter, top});
        }
    }
    for (const auto& [interface, meter, top, userDef, routes] : cases) {
        SCOPED_TRACE(interface + (": " + top));
        FolderOffice office(interface, "*", "r.txt");
        const auto line = [&](const char* route) { return meter(route, "1", "SVC1", "AB1WC"); };
        WriteFile(office.Routes() / "a.txt", top + File({line("R07"), line("R07"), line("R07")}));
        // Its first route comes back after another: refused, none of it comes down.
        WriteFile(office.Routes() / "b.txt", top + File({line("R12"), line("R11"), line("R12")}));
        office.Sync(nullptr);
        EXPECT_EQ(office.Office().RouteList(), routes);
        EXPECT_EQ(office.Office().Meters("R07").at(0).at(21), userDef);
    }
}

// --- The folder scan ----------------------------------------------------

// Every file is verified before its download, the first one too: one out of
// order stops the sync and stays where it is.
TEST(FolderScanTest, UnsortedFileStopsTheSyncAndStays) {
    FolderOffice office("CONNEKT", "*.txt", "readings.txt");
    const Lines unsorted = {ConnektMeter("R11", "0001", "SVC000000000000", "AB1WC"),
                            ConnektMeter("R12", "0001", "SVC000000000001", "AB1WC"),
                            ConnektMeter("R11", "0002", "SVC000000000002", "AB1WC")};
    office.Put("a.txt", unsorted);
    office.Put("b.txt", {ConnektMeter("R09", "0001", "SVC000000000003", "AB1WC"),
                         ConnektMeter("R03", "0001", "SVC000000000004", "AB1WC")});
    office.Put("c.txt", {ConnektMeter("R05", "0001", "SVC000000000005", "AB1WC"),
                         ConnektMeter("R06", "0001", "SVC000000000006", "AB1WC"),
                         ConnektMeter("R04", "0001", "SVC000000000007", "AB1WC")});
    office.Put("d.txt", {ConnektMeter("R10", "0001", "SVC000000000008", "AB1WC")});

    std::int32_t result = 1;
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface CONNEKT",
                     "22 Wexal - Download file is not sequenced by route. Line = 2 R12 is > R11"}));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(office.Office().RouteList(), Lines{});
    EXPECT_EQ(ReadFile(office.Routes() / "a.txt"), File(unsorted));

    office.Put("a.txt", {unsorted[0], unsorted[2], unsorted[1]});
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface CONNEKT",
                     "22 Wexal - Download file is not sequenced by route. Line = 1 R09 is > R03"}));
    EXPECT_EQ(office.Office().RouteList(), (Lines{"R11 2 R", "R12 1 R"}));
    EXPECT_EQ(Names(office.Routes()), (Lines{"PriorD01", "b.txt", "c.txt", "d.txt"}));
}

TEST(FolderScanTest, RoutePathsThatNameNoFiles) {
    struct Case {
        std::string routePath;  // "@" stands for the office's folder
        Lines logged;
    };
    const Case cases[] = {
        {"routes.txt", {"20 Invalid RoutePath Specified"}},
        {"@/routes/", {"20 Could find any files matching: \n"}},
        {"@/routes/*.csv", {"20 Could find any files matching: *.csv\n"}},
        {"@/missing/*.txt", {"20 Could not change to dir: @/missing/*.txt"}},
        {"@/routes/PriorD*",
         {"20 Wexal - Used route file not downloaded again: @/routes/PriorD01",
          "20 Could find any files matching: PriorD*\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routePath);
        FolderOffice office("LOGHH", "*.txt", "readings.txt");
        office.Put("a.txt", {LogHHHeader("TOWN"), LogHHMeter("R01", "0001", "SVC0000001", "1")});
        WriteFile(office.Routes() / "PriorD01", "");
        const auto expand = [&office](std::string text) {
            const std::size_t at = text.find('@');
            return at == std::string::npos ? text : text.replace(at, 1, office.Folder().string());
        };
        office.ConfigureRoutePath(expand(c.routePath));
        Lines expected = {"19  Started with interface LOGHH"};
        for (const std::string& line : c.logged) {
            expected.push_back(expand(line));
        }
        std::int32_t result = 1;
        EXPECT_EQ(office.Sync(&result), expected);
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(office.Office().RouteList().empty());
        EXPECT_TRUE(fs::exists(office.Routes() / "a.txt"));
    }
}

TEST(FolderScanTest, PatternMatchesAsOnTheBillingPlatformAndSkipsTheHistory) {
    FolderOffice office("CONNEKT", "*.*", "readings.txt");
    office.Put("b.txt", {ConnektMeter("R02", "0001", "SVC000000000002", "AB1WC")});
    office.Put("A.TXT", {ConnektMeter("R01", "0001", "SVC000000000001", "AB1WC")});
    office.Put("noext", {ConnektMeter("R03", "0001", "SVC000000000003", "AB1WC")});
    office.Put("PriorD01", {ConnektMeter("R91", "0001", "SVC000000000091", "AB1WC")});
    // Only the file of route R07 can have been named PR0710 by the history;
    // P0101 holds route R05, so the billing system named it.
    office.Put("PR0710", {ConnektMeter("R07", "0001", "SVC000000000092", "AB1WC")});
    office.Put("P0101", {ConnektMeter("R05", "0001", "SVC000000000005", "AB1WC")});
    fs::create_directory(office.Routes() / "folder.txt");
    std::int32_t result = 0;
    const std::string routes = office.Routes().string() + "/";
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface CONNEKT",
                     "20 Wexal - Used route file not downloaded again: " + routes + "PR0710",
                     "20 Wexal - Used route file not downloaded again: " + routes + "PriorD01",
                     "20 Wexal Conduit Finished - Connekt"}));
    // In name order without case: A.TXT, b.txt, noext, P0101.
    EXPECT_EQ(office.Office().RouteList(), (Lines{"R01 1 R", "R02 1 R", "R03 1 R", "R05 1 R"}));
    EXPECT_EQ(ReadFile(office.Routes() / "PriorD05"),
              File({ConnektMeter("R91", "0001", "SVC000000000091", "AB1WC")}));
    EXPECT_TRUE(fs::exists(office.Routes() / "PR0710"));
}

// With the history kept per route, its names come from the route each file
// holds.
TEST(FolderScanTest, HistoryKeptPerRouteIsSkippedAndNamedByItsRoute) {
    FolderOffice office("LOGHH", "*", "readings.txt");
    TextFileOffice& hh = office.Office();
    const std::string routes = office.Routes().string() + "/";
    hh.Bed().WriteConfig({"SelectedInterface=LOGHH", "RetainDownloadFilesByRoute=Y",
                          "Interface=LOGHH", "RoutePath=" + routes + "*",
                          "ReadingsPath=" + (office.Folder() / "readings.txt").string()});
    office.Put("a", {LogHHHeader("TOWN"), LogHHMeter("R/7", "0001", "SVC0000001", "1")});
    EXPECT_EQ(office.Sync(nullptr).back(), "20 Wexal Conduit Finished - LogHH");
    EXPECT_EQ(Names(office.Routes()), (Lines{"PR%2F701"}));

    // As an earlier version named it, the separator written as '_'.
    office.Put("PR_702", {LogHHHeader("TOWN"), LogHHMeter("R/7", "0001", "SVC0000001", "1")});
    office.Put("b", {LogHHHeader("TOWN"), LogHHMeter("R08", "0001", "SVC0000008", "8")});
    EXPECT_EQ(office.Sync(nullptr),
              (Lines{"19  Started with interface LOGHH",
                     "20 Wexal - Used route file not downloaded again: " + routes + "PR%2F701",
                     "20 Wexal - Used route file not downloaded again: " + routes + "PR_702",
                     "20 Wexal Conduit Finished - LogHH"}));
    EXPECT_EQ(Names(office.Routes()), (Lines{"PR%2F701", "PR0801", "PR_702"}));
    EXPECT_EQ(hh.RouteList(), (Lines{"R/7 1 R", "R08 1 R"}));
}

// What a sync killed in a folder scan leaves under the names it claims files
// by: a file it was downloading comes down again, one it had downloaded only
// goes into the history. Neither is a route file of its own.
TEST(FolderScanTest, ClaimedFilesOfAnInterruptedSyncAreSettled) {
    FolderOffice office("CONNEKT", "*", "readings.txt");
    const std::string routes = office.Routes().string() + "/";
    fs::create_directories(fs::path(DownloadingName(routes + "a.txt")).parent_path());
    WriteFile(DownloadingName(routes + "a.txt"),
              File({ConnektMeter("R01", "0001", "SVC000000000001", "AB1WC")}));
    WriteFile(DownloadedName(routes + "b.txt"),
              File({ConnektMeter("R02", "0001", "SVC000000000002", "AB1WC")}));
    office.Put("c.txt", {ConnektMeter("R03", "0001", "SVC000000000003", "AB1WC")});
    std::int32_t result = 0;
    EXPECT_EQ(office.Sync(&result),
              (Lines{"19  Started with interface CONNEKT",
                     "19 Wexal - Route file of an interrupted HotSync downloaded again: " +
                         DownloadingName(routes + "a.txt"),
                     "20 Wexal Conduit Finished - Connekt"}));
    EXPECT_EQ(office.Office().RouteList(), (Lines{"R01 1 R", "R03 1 R"}));
    EXPECT_EQ(Names(office.Routes()), (Lines{"PriorD01", "PriorD02", "PriorD03"}));
    EXPECT_EQ(ReadFile(office.Routes() / "PriorD02"),
              File({ConnektMeter("R02", "0001", "SVC000000000002", "AB1WC")}));
}

// The names a sync claims route files by are its own: a billing file comes
// down whatever its name; what is no regular file under a claimed name is
// named and left alone, and so is the route file until it is gone; a file
// its sort order refused never holds back the newer one that took its name.
TEST(FolderScanTest, ClaimedNamesAreTheSyncsOwn) {
    const auto meters = [](std::initializer_list<std::pair<const char*, std::size_t>> routes) {
        Lines lines;
        for (const auto& [route, count] : routes) {
            lines.insert(lines.end(), count, ConnektMeter(route, "1", "SVC000000000001", "AB1WC"));
        }
        return lines;
    };
    // Made before the first sync in the routes folder (given with its "/"),
    // undone after it.
    using Setup = std::function<std::shared_ptr<void>(const std::string& routes)>;
    // Files of a "*" scan; a line the first sync logs ("@" the routes folder
    // and "/"); the routes on the handheld after the second sync (and after
    // the first already when `downAtFirst`); a file kept below the folder.
    const auto check = [](const std::string& what,
                          const std::vector<std::pair<std::string, Lines>>& files,
                          const Setup& setup, std::string logged, bool downAtFirst,
                          const Lines& routes, const std::string& kept = {}) {
        SCOPED_TRACE(what);
        FolderOffice office("CONNEKT", "*", "readings.txt");
        const std::string folder = office.Routes().string() + "/";
        for (const auto& [name, lines] : files) {
            office.Put(name, lines);
        }
        Lines log;
        {
            const std::shared_ptr<void> undo = setup ? setup(folder) : nullptr;
            log = office.Sync(nullptr);
        }
        if (const std::size_t at = logged.find('@'); at != std::string::npos) {
            logged.replace(at, 1, folder);
        }
        EXPECT_TRUE(Logged(log, logged)) << ::testing::PrintToString(log);
        // A file set aside never stays for the next sync.
        EXPECT_TRUE(kept.empty() || !Logged(log,
                                            "22 Wexal - Download incomplete, the file stays for "
                                            "the next HotSync: " +
                                                folder + "route.txt"));
        EXPECT_EQ(office.Office().RouteList(), downAtFirst ? routes : Lines{});
        office.Sync(nullptr);
        EXPECT_EQ(office.Office().RouteList(), routes);
        // Each file went into the history once, and nothing else did.
        Lines history;
        while (history.size() < files.size()) {
            history.push_back("PriorD0" + std::to_string(history.size() + 1));
        }
        EXPECT_EQ(Names(office.Routes()), history);
        EXPECT_TRUE(kept.empty() || fs::exists(fs::symlink_status(folder + kept))) << kept;
    };

    // The billing system puts its corrected file in place while the sort
    // order of the route file is checked.
    const Setup corrected = [&meters](const std::string& routes) {
        return std::make_shared<BeforeOpening>(DownloadingName(routes + "route.txt"), 2, [=] {
            WriteFile(routes + "next.tmp", File(meters({{"R11", 7}, {"R12", 3}})));
            fs::rename(routes + "next.tmp", routes + "route.txt");
        });
    };
    check("refused file whose name a newer route file took",
          {{"route.txt", meters({{"R11", 4}, {"R12", 3}, {"R11", 3}})}}, corrected,
          "22 Wexal - Route file refused for its sort order, kept as @.wexal/route.txt.refused: a "
          "newer route file took its name",
          false, {"R11 7 R", "R12 3 R"}, ".wexal/route.txt.refused");
    const Setup unstored = [&corrected](const std::string& routes) {
        return std::make_shared<std::pair<std::shared_ptr<void>, FailingWrites>>(
            std::piecewise_construct, std::forward_as_tuple(corrected(routes)),
            std::forward_as_tuple("routeR11", 0, true));
    };
    check("incomplete file whose name a newer route file took",
          {{"route.txt", meters({{"R11", 4}})}}, unstored,
          "22 Wexal - Route file kept as @.wexal/route.txt.incomplete: a newer route file took "
          "its name and comes down with the next HotSync",
          false, {"R11 7 R", "R12 3 R"}, ".wexal/route.txt.incomplete");
    // Another handheld's sync moves it into the history just before the claim.
    const Setup takenFirst = [](const std::string& routes) {
        return std::make_shared<BeforeOpening>(
            routes + "a.txt", 1, [=] { fs::rename(routes + "a.txt", routes + "PriorD01"); });
    };
    check("file taken by another sync",
          {{"a.txt", meters({{"R01", 1}})}, {"b.txt", meters({{"R02", 1}})}}, takenFirst,
          "19 Wexal - Route file in the turn of another HotSync: @a.txt", true, {"R02 1 R"});
    const std::pair<std::string, std::string> unreadable[] = {
        {"route.txt", "cannot be taken for the download, it stays for the next HotSync"},
        {".wexal/route.txt.downloading",
         "stays for the next HotSync, its claimed file cannot be taken"}};
    for (const auto& [name, line] : unreadable) {
        const Setup failing = [name = name](const std::string& routes) {
            return std::make_shared<BeforeOpening>(
                routes + name, 1, [] {}, false, EACCES);
        };
        check(name + " unreadable", {{"route.txt", meters({{"R01", 1}})}}, failing,
              "22 Wexal - Route file " + line + ": @" + name + ": Permission denied", false,
              {"R01 1 R"});
    }
    check("billing files named like claimed ones",
          {{"book1.downloaded", meters({{"R01", 1}})},
           {"book1.downloading", meters({{"R02", 1}})},
           {"book2", meters({{"R03", 1}})}},
          nullptr, "20 Wexal Conduit Finished - Connekt", true, {"R01 1 R", "R02 1 R", "R03 1 R"});
    const std::pair<std::string, void (*)(const fs::path&)> kinds[] = {
        {"folder", [](const fs::path& at) { fs::create_directory(at); }},
        {"FIFO", [](const fs::path& at) { ::mkfifo(at.c_str(), 0600); }},
        {"dangling link", [](const fs::path& at) { fs::create_symlink("missing", at); }},
    };
    for (const auto& [kind, make] : kinds) {
        for (const auto claimed : {&DownloadingName, &DownloadedName}) {
            const Setup obstruct = [claimed, make](const std::string& routes) {
                const fs::path at = claimed(routes + "route.txt");
                fs::create_directories(at.parent_path());
                make(at);
                return std::shared_ptr<void>(nullptr, [at](void*) { fs::remove(at); });
            };
            // A link there was a route file that an earlier version claimed:
            // it is set aside, never read, and the newer file comes down.
            const bool link = kind == "dangling link";
            check(kind + " as " + claimed("route.txt"), {{"route.txt", meters({{"R01", 1}})}},
                  obstruct,
                  link ? "22 Wexal - Route file that is a symbolic link, claimed by an earlier "
                         "version, kept as @.wexal/route.txt.refused: a newer route file took its "
                         "name"
                       : "22 Wexal - Route file stays for the next HotSync, its claimed name is "
                         "taken by what is not a regular file: @" +
                             claimed("route.txt"),
                  link, {"R01 1 R"}, link ? ".wexal/route.txt.refused" : "");
        }
    }
}

TEST(FolderScanTest, WhatIsNotARegularFileIsPassedOverWithALogLine) {
    for (const auto& kind : wexal::testing::NotRegularFiles()) {
        SCOPED_TRACE(kind.kind);
        FolderOffice office("CONNEKT", "*.txt", "readings.txt");
        office.Put("a.txt", {ConnektMeter("R01", "0001", "SVC000000000001", "AB1WC")});
        office.Put("c.txt", {ConnektMeter("R03", "0001", "SVC000000000003", "AB1WC")});
        if (!kind.make(office.Routes() / "b.txt")) {
            std::cout << "cannot make a " << kind.kind << " here: not tried\n";
            continue;
        }
        std::int32_t result = 0;
        const Lines log = office.Sync(&result);
        EXPECT_TRUE(Logged(log, "22 Wexal - Download file is not a regular file: " +
                                    (office.Routes() / "b.txt").string()))
            << ::testing::PrintToString(log);
        EXPECT_EQ(log.back(), "20 Wexal Conduit Finished - Connekt");
        EXPECT_EQ(office.Office().RouteList(), (Lines{"R01 1 R", "R03 1 R"}));
    }
}

// A route file that is a symbolic link is named and left as it is, and so is
// the file it names: claimed, the link would move while the billing system
// writes its next export through it. The other files of a folder scan come
// down, and a route folder reached through a link is a folder as any other.
TEST(RouteFileLinkTest, ALinkIsNamedAndLeftAsItIs) {
    const auto refusal = [](const fs::path& link) {
        return "22 Wexal - Route file is a symbolic link, it is not downloaded: the route path "
               "must name the file itself: " +
               link.string();
    };
    struct Case {
        const char* what;
        bool absolute;
        bool claimedBefore;  // by the version that claimed links
    };
    for (const Case& c : {Case{"relative link", false, false}, Case{"absolute link", true, false},
                          Case{"relative link claimed before", false, true},
                          Case{"absolute link claimed before", true, true}}) {
        SCOPED_TRACE(c.what);
        TextFileOffice office;
        const fs::path folder = office.Bed().Folder();
        fs::create_directories(folder / "routes");
        fs::create_directories(folder / "exports");
        const std::string text = wexal::testing::StandardRouteLine({.route = "0001"});
        WriteFile(folder / "exports" / "route.txt", text);
        const fs::path link = folder / "routes" / "route.txt";
        const fs::path target =
            c.absolute ? folder / "exports" / "route.txt" : fs::path("../exports/route.txt");
        fs::create_symlink(target, link);
        office.Configure(link, office.Readings());
        const std::string claimed = DownloadingName(link.string());
        if (c.claimedBefore) {
            fs::create_directory(ClaimFolder(link.string()));
            fs::rename(link, claimed);
        }
        // While a sync of that version downloads through it, it is that
        // sync's (from the claimed name, only an absolute link leads there).
        if (c.claimedBefore && c.absolute) {
            const int held = ::open(claimed.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_EQ(::flock(held, LOCK_EX), 0);
            EXPECT_TRUE(
                Logged(office.Sync(),
                       "19 Wexal - Route file in the turn of another HotSync: " + link.string()));
            ::close(held);
            EXPECT_EQ(fs::read_symlink(claimed), target);
        }
        for (int sync = 0; sync < 2; ++sync) {
            const Lines log = office.Sync();
            EXPECT_TRUE(Logged(log, refusal(link))) << ::testing::PrintToString(log);
            EXPECT_EQ(log.back(), "20 Wexal Conduit Finished - AccuFund");
        }
        EXPECT_TRUE(office.RouteList().empty());
        EXPECT_EQ(fs::read_symlink(link), target);
        EXPECT_EQ(ReadFile(folder / "exports" / "route.txt"), text);
        EXPECT_EQ(Names(folder / "routes"), Lines{"route.txt"});
        EXPECT_EQ(Names(folder / "exports"), Lines{"route.txt"});
    }

    FolderOffice scan("CONNEKT", "*", "readings.txt");
    fs::create_directories(scan.Folder() / "exports");
    WriteFile(scan.Folder() / "exports" / "b.txt",
              File({ConnektMeter("R02", "0001", "SVC000000000002", "AB1WC")}));
    scan.Put("a.txt", {ConnektMeter("R01", "0001", "SVC000000000001", "AB1WC")});
    fs::create_symlink("../exports/b.txt", scan.Routes() / "b.txt");
    scan.Put("c.txt", {ConnektMeter("R03", "0001", "SVC000000000003", "AB1WC")});
    const Lines log = scan.Sync(nullptr);
    EXPECT_TRUE(Logged(log, refusal(scan.Routes() / "b.txt"))) << ::testing::PrintToString(log);
    EXPECT_EQ(log.back(), "20 Wexal Conduit Finished - Connekt");
    EXPECT_EQ(scan.Office().RouteList(), (Lines{"R01 1 R", "R03 1 R"}));
    EXPECT_EQ(Names(scan.Routes()), (Lines{"PriorD01", "PriorD02", "b.txt"}));
    EXPECT_TRUE(fs::is_symlink(scan.Routes() / "b.txt"));

    TextFileOffice linkedFolder;
    const fs::path real = linkedFolder.Bed().Folder() / "real";
    fs::create_directories(real);
    fs::create_directory_symlink(real, linkedFolder.Bed().Folder() / "linked");
    WriteFile(real / "route.txt", wexal::testing::StandardRouteLine({.route = "0001"}));
    linkedFolder.Configure(linkedFolder.Bed().Folder() / "linked" / "route.txt",
                           linkedFolder.Readings());
    EXPECT_EQ(linkedFolder.Sync().back(), "20 Wexal Conduit Finished - AccuFund");
    EXPECT_EQ(linkedFolder.RouteList(), Lines{"0001 1 R"});
    EXPECT_EQ(Names(real), Lines{"PriorD01"});
}

TEST(FolderScanTest, ReadingsStillOnTheHandheldHoldEveryDownloadBack) {
    FolderOffice office("LOGHH", "*.txt", "no-such-folder/readings.txt");
    office.Put("a.txt", {LogHHHeader("TOWN"), LogHHMeter("R01", "0001", "SVC0000001", "1")});
    office.Sync(nullptr);
    office.Office().TakeReadings("R01", {{.current = "5"}});
    office.Put("b.txt", {LogHHHeader("TOWN"), LogHHMeter("R01", "0001", "SVC0000001", "1")});
    std::int32_t result = 1;
    const Lines log = office.Sync(&result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(
        Logged(log, "22 Wexal - Readings not uploaded, download left for the next HotSync"));
    EXPECT_EQ(office.Office().Meters("R01").at(0).at(9), "5");
    EXPECT_TRUE(fs::exists(office.Routes() / "b.txt"));
}

TEST(FileSearchTest, WildcardsAndCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.txt", "route.TXT", true},
        {"*.txt", "route.txt.bak", false},
        {"*.*", "noext", true},
        {"route?.dat", "ROUTE7.DAT", true},
        {"route?.dat", "route.dat", false},
        {"r*e*", "rte", true},
        {"abc.*", "abc", true},
        {"abc.*", "abcd", false},
        {"", "a", false},
        {"*", "a", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesFilePattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
    }
}

TEST(FileSearchTest, HistoryNames) {
    // PriorD11: the oldest, set aside while a rotation is under way.
    for (const char* name : {"PriorD01", "PriorD10", "PriorD07", "PriorD11"}) {
        EXPECT_TRUE(IsHistoryName(name, "PriorD")) << name;
    }
    for (const char* name :
         {"PriorD00", "PriorD12", "PriorD1", "priord01", "PriorD01.txt", "PriorDX01", "PriorD+1"}) {
        EXPECT_FALSE(IsHistoryName(name, "PriorD")) << name;
    }
    EXPECT_TRUE(IsHistoryName("PA B09", "PA B"));
    EXPECT_FALSE(IsHistoryName("PA B09", "PA"));
}

TEST(FolderScanVendorsTest, FolderInterfacesReachTheirVendorsRoutines) {
    for (const TextFileVendor* vendor : {&text_file_vendors::kLogHH, &text_file_vendors::kRMSBadger,
                                         &text_file_vendors::kConnekt}) {
        const InterfaceRow* row = FindInterface(vendor->numbers[0]);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->road, InterfaceRoad::FolderScan) << vendor->word;
        EXPECT_EQ(row->routines, &vendor->routines) << vendor->word;
        EXPECT_EQ(std::string(row->finishText),
                  std::string("Wexal Conduit Finished - ") + vendor->word);
    }
}

}  // namespace
