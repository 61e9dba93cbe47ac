// The upload side of the workbook link: where each reading lands, what it
// becomes, and worksheets that do not fit the configuration.
#include <gtest/gtest.h>

#include "conduit/formats/ExcelColumnLetters.h"
#include "conduit/formats/ExcelReading.h"
#include "platform/sheet/ZipPackage.h"
#include "tests/conduit/ExcelOffice.h"
#include "tests/platform/sheet/ZipBomb.h"

namespace wexal::testing {
namespace {

using Lines = std::vector<std::string>;

struct ReadingWrite {
    std::string service;
    std::string current = "77";
    std::string date{};
    std::string time{};
    std::string code{};
    std::string text{};
};

// Opens a writer on the office's worksheet and writes the readings; the
// open's result, then each write's.
std::vector<std::int32_t> Upload(ExcelOffice& office, const std::vector<ReadingWrite>& writes,
                                 Lines* log = nullptr) {
    std::vector<std::int32_t> results;
    const Lines lines = office.InSession([&](WexalConduit&, const WexalConfig& config) {
        ExcelReading writer;
        results.push_back(writer.Open(config.Workbook, config.Worksheet, &config));
        for (const ReadingWrite& w : writes) {
            results.push_back(writer.Write(w.service, w.current, w.date, w.time, w.code, w.text));
        }
    });
    if (log != nullptr) {
        *log = lines;
    }
    return results;
}

Lines Row(const ExcelOffice& office, int row, const std::string& columns = "ABCDEFGHIJK") {
    Lines addresses;
    for (char column : columns) {
        addresses.push_back(std::string(1, column) + std::to_string(row));
    }
    return ReadCells(office.Workbook(), "Route", addresses);
}

TEST(ExcelReadingTest, TheRightmostUsageHeadingWinsAndLookalikesAreNone) {
    ExcelOffice office;
    office.Configure({.readingMap = {}});
    MakeWorkbook(office.Workbook(),
                 "ws.append(['Usage', ' USAGE', 'USAGE', 'x', 'x', 'x', 'x', 'USAGE', 'READ', "
                 "'USAGE '])\nws.append([1, 2, 3, 4, 5, 6, 7, 8])\n");
    // Nothing but the reading is written without reading-map entries.
    EXPECT_EQ(Upload(office, {{.service = "000002", .date = "060315", .code = "01"}}),
              (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(Row(office, 2, "DHIJ"), (Lines{"4", "8", "77", "None"}));

    MakeWorkbook(office.Workbook(),
                 "ws.append(['Usage', ' USAGE', 'USAGE ', 'usage'])\n"
                 "ws.append([1, 2, 3, 4])\n");
    EXPECT_EQ(Upload(office, {}), (std::vector<std::int32_t>{kWorksheetRefused}));
}

struct OffsetCase {
    std::string mapping;
    std::string column;
};

// The parameters print as what they say, not as their bytes, which change
// from build to build.
void PrintTo(const OffsetCase& offset, std::ostream* out) {
    *out << "CurReading/" << offset.mapping << " gives " << offset.column;
}

class ExcelReadingOffsetTest : public ::testing::TestWithParam<OffsetCase> {};

// Usage column E (5): offsets below 5 count from it, larger ones fall back to
// the column next to it.
TEST_P(ExcelReadingOffsetTest, ReadingLandsInTheColumnOfTheOffsetRule) {
    ExcelOffice office;
    office.Configure({.routeMap = {}, .readingMap = {"CurReading/" + GetParam().mapping}});
    MakeWorkbook(office.Workbook(),
                 "ws.append(['A', 'B', 'C', 'D', 'USAGE', 'F', 'G', 'H', 'I', 'J'])\n"
                 "ws.append([None, None, None, None, 10])\n");
    ASSERT_EQ(Upload(office, {{.service = "2"}}), (std::vector<std::int32_t>{0, 0}));
    Lines expected(10, "None");
    expected[GetParam().column[0] - 'A'] = "77";
    expected[4] = GetParam().column == "E" ? "77" : "10";
    EXPECT_EQ(Row(office, 2, "ABCDEFGHIJ"), expected);
}

INSTANTIATE_TEST_SUITE_P(Offsets, ExcelReadingOffsetTest,
                         ::testing::Values(OffsetCase{"+2", "G"}, OffsetCase{"-1", "D"},
                                           OffsetCase{"-4", "A"}, OffsetCase{"+4", "I"},
                                           OffsetCase{"+5", "F"}, OffsetCase{"+7", "F"},
                                           OffsetCase{"0", "E"}, OffsetCase{"", "F"}));

struct SharedColumnCase {
    std::string name;
    ExcelSettings settings;
    // The line of a mapping that shares a column; none when it shares none.
    std::string logLine;
};

void PrintTo(const SharedColumnCase& shared, std::ostream* out) {
    *out << shared.name;
}

class ExcelReadingSharedColumnTest : public ::testing::TestWithParam<SharedColumnCase> {};

// Usage column F; the office's route map reads A to D and, as PrvReading/-1, E.
TEST_P(ExcelReadingSharedColumnTest, NoReadingIsWrittenIntoAColumnTakenTwice) {
    ExcelOffice office;
    office.Configure(GetParam().settings);
    office.MakeSheet("ws.append([12, 'Main', 'JONES', 'T-1', 100, 20])\n");
    const std::string before = ReadFile(office.Workbook());
    Lines log;
    const auto results = Upload(office, {{"000002", "55", "060315", "093000", "01", "Dog"}}, &log);
    if (GetParam().logLine.empty()) {
        EXPECT_EQ(results, (std::vector<std::int32_t>{0, 0}));
        EXPECT_EQ(log, Lines{});
        EXPECT_EQ(Row(office, 2, "ABCDEFGH"), (Lines{"'01'", "'Main'", "'Dog'", "'T-1'", "100",
                                                     "'093000'", "55", "'03/15/06'"}));
        return;
    }
    EXPECT_EQ(results,
              (std::vector<std::int32_t>{ExcelReading::kFieldsShareColumn, kWorksheetRefused}));
    EXPECT_EQ(log, Lines{"21 Excel Interface: " + GetParam().logLine +
                         " of Worksheet Route; the readings stay on the handheld until the "
                         "mapping is mended."});
    EXPECT_EQ(ReadFile(office.Workbook()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Mappings, ExcelReadingSharedColumnTest,
    ::testing::Values(
        SharedColumnCase{"OffsetPastTheUsageColumn",
                         {.readingMap = {"CurReading/+1", "Response Text/+7"}},
                         "reading field Response Text and reading field CurReading both give "
                         "column G"},
        SharedColumnCase{"TwoOffsetsAlike",
                         {.readingMap = {"CurReading/+1", "ReadingTime/+3", "Response Code/+3"}},
                         "reading field Response Code and reading field ReadingTime both give "
                         "column I"},
        SharedColumnCase{"ReadingWithoutEntry",
                         {.readingMap = {"ReadingDate/+1"}},
                         "reading field ReadingDate and reading field CurReading both give "
                         "column G"},
        SharedColumnCase{"LeftOntoTheHouseNumber",
                         {.readingMap = {"CurReading/+1", "Response Code/-5"}},
                         "reading field Response Code and route field House Number both give "
                         "column A"},
        SharedColumnCase{"OntoThePreviousReading",
                         {.readingMap = {"CurReading/-1"}},
                         "reading field CurReading and route field PrvReading both give column E"},
        // Route entries without a column, or that the download never reads,
        // leave their columns free, and so does the usage column.
        SharedColumnCase{"ColumnsNoRouteFieldReads",
                         {.routeMap = {"House Number/D", "ServiceAddress/B", "BillingName/",
                                       "Sequence/A", "LstReadingDate/G", "ReadType/H"},
                          .readingMap = {"CurReading/+1", "ReadingDate/+2", "ReadingTime/0",
                                         "Response Code/-5", "Response Text/-3"}},
                         ""}),
    [](const auto& info) { return info.param.name; });

TEST(ExcelReadingTest, TheServiceIdNamesTheRowAndRowsOutsideTheDataAreRefused) {
    ExcelOffice office;
    office.MakeSheet("for row in range(2, 14):\n    ws.append([row, 'Main'])\n");
    Lines log;
    EXPECT_EQ(Upload(office,
                     {{.service = "000012", .current = "12"},
                      {.service = "000001", .current = "1"},
                      {.service = "000014", .current = "14"},
                      {.service = "  +13x", .current = "13"}},
                     &log),
              (std::vector<std::int32_t>{0, 0, ExcelReading::kRowOutsideData,
                                         ExcelReading::kRowOutsideData, 0}));
    EXPECT_EQ(ReadCells(office.Workbook(), "Route", {"G1", "G12", "G13", "G14"}),
              (Lines{"'READING'", "12", "13", "None"}));
    EXPECT_EQ(log, (Lines{"22 Excel Interface: the reading 1 of ServiceUniqueID 000001 was not "
                          "written to Worksheet Route: row 1 lies outside the data rows 2 to 13.",
                          "22 Excel Interface: the reading 14 of ServiceUniqueID 000014 was not "
                          "written to Worksheet Route: row 14 lies outside the data rows 2 to "
                          "13."}));
}

TEST(ExcelReadingTest, ReadingsDatesAndTimesTakeTheirSheetForms) {
    ExcelOffice office;
    office.MakeSheet("for row in range(2, 7):\n    ws.append([row, 'Main'])\n");
    ASSERT_EQ(Upload(office, {{"000002", "00123", "060315", "093000", "01", "Dog in yard"},
                              {"000003", "12.7", "06031", "09300", "", "Caf\xE9"},
                              {"000004", "", "20060316", "1015", "A1", ""},
                              {"000005", "-5"}}),
              (std::vector<std::int32_t>{0, 0, 0, 0, 0}));
    EXPECT_EQ(Row(office, 2, "GHIJK"),
              (Lines{"123", "'03/15/06'", "'093000'", "'01'", "'Dog in yard'"}));
    EXPECT_EQ(Row(office, 3, "GHIJK"), (Lines{"12", "None", "None", "None", "'Café'"}));
    // No reading leaves the cell empty: 0 would be a reading to the billing
    // system.
    EXPECT_EQ(Row(office, 4, "GHIJK"), (Lines{"None", "'06/16/20'", "None", "'A1'", "None"}));
    EXPECT_EQ(Row(office, 5, "G"), (Lines{"-5"}));
}

struct UnfitCase {
    std::string name;
    ExcelSettings settings;
    std::string sheet;
    // Part of the first log line.
    std::string logLine;
};

void PrintTo(const UnfitCase& unfit, std::ostream* out) {
    *out << unfit.name;
}

class ExcelReadingUnfitTest : public ::testing::TestWithParam<UnfitCase> {};

TEST_P(ExcelReadingUnfitTest, WorksheetIsRefusedAndLeftUnchanged) {
    ExcelOffice office;
    office.Configure(GetParam().settings);
    MakeWorkbook(office.Workbook(), GetParam().sheet);
    const std::string before = ReadFile(office.Workbook());
    Lines log;
    // A writer whose open failed writes nothing.
    EXPECT_EQ(Upload(office, {{.service = "2"}}, &log),
              (std::vector<std::int32_t>{kWorksheetRefused, kWorksheetRefused}));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.front().find(GetParam().logLine), std::string::npos) << log.front();
    EXPECT_EQ(ReadFile(office.Workbook()), before);
}

const std::string kUsageInC = "ws.append(['A', 'B', 'USAGE', 'D'])\nws.append([1, 2, 3, 4])\n";

INSTANTIATE_TEST_SUITE_P(
    Layouts, ExcelReadingUnfitTest,
    ::testing::Values(
        UnfitCase{"UsageRowZero",
                  {.usageRow = "0"},
                  kUsageInC,
                  "22 WorksheetUsageRow 0 lies outside the used rows 1 to 2 of Worksheet Route."},
        UnfitCase{"UsageRowPastTheEnd",
                  {.usageRow = "3"},
                  kUsageInC,
                  "22 WorksheetUsageRow 3 lies outside the used rows 1 to 2 of Worksheet Route."},
        UnfitCase{
            "OneCell", {}, "ws['A1'] = 'USAGE'\n", "routes.xlsx holds no more than one used cell."},
        UnfitCase{"ReadingLeftOfTheSheet",
                  {.readingMap = {"CurReading/-7"}},
                  kUsageInC,
                  "22 CurReading mapping entry gives column -4, outside the used columns 1 to 4 "
                  "of Worksheet Route."},
        UnfitCase{"ReadingRightOfTheUsedColumns",
                  {.readingMap = {"CurReading/+1", "Response Text/+2"}},
                  kUsageInC,
                  "22 Response Text mapping entry gives column 5, outside the used columns 1 to "
                  "4 of Worksheet Route."},
        UnfitCase{"DataStartNegative",
                  {.dataStart = "-1"},
                  kUsageInC,
                  "22 WorksheetDataStart -1 is no worksheet row."}),
    [](const auto& info) { return info.param.name; });

TEST(ExcelReadingTest, DataStartZeroIsRefusedWithoutALine) {
    ExcelOffice office;
    office.Configure({.dataStart = "0"});
    office.MakeSheet("ws.append([2])\n");
    Lines log;
    EXPECT_EQ(Upload(office, {}, &log), (std::vector<std::int32_t>{kWorksheetRefused}));
    EXPECT_EQ(log, Lines{});
}

TEST(ExcelReadingTest, OpenFailuresShowTheirCauseInABox) {
    ExcelOffice office;
    office.Configure({.worksheet = "Readings"});
    Lines log;
    const auto missingBook = Upload(office, {}, &log);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(missingBook.front(), 0);
    EXPECT_EQ(log[0].rfind("0 Message box [Wexal Conduit 2.6.32]: Cannot open the workbook " +
                               office.Workbook().string() + ": No such file",
                           0),
              0u)
        << log[0];

    office.MakeSheet("ws.append([2])\n");
    const std::string before = ReadFile(office.Workbook());
    const auto missingSheet = Upload(office, {}, &log);
    EXPECT_NE(missingSheet.front(), 0);
    EXPECT_EQ(log, (Lines{"0 Message box [Wexal Conduit 2.6.32]: Readings does not exist in the "
                          "workbook"}));
    EXPECT_EQ(ReadFile(office.Workbook()), before);

    // A zip bomb: its sheet would inflate beyond what any workbook part holds.
    PutZeroPart(office.Workbook(), "xl/worksheets/sheet1.xml",
                sheet::ZipPackage::kMaxPartBytes + 1);
    office.Configure({});
    const std::string bomb = ReadFile(office.Workbook());
    const auto tooLarge = Upload(office, {}, &log);
    EXPECT_NE(tooLarge.front(), 0);
    EXPECT_EQ(log, (Lines{"0 Message box [Wexal Conduit 2.6.32]: The part "
                          "xl/worksheets/sheet1.xml inflates to more than 512 MiB, more than any "
                          "workbook part holds"}));
    EXPECT_EQ(ReadFile(office.Workbook()), bomb);
}

TEST(ExcelColumnLettersTest, BijectiveBaseTwentySixOfAtMostThreeLetters) {
    const std::vector<std::pair<std::int32_t, std::string>> cases = {
        {1, "A"},    {26, "Z"},    {27, "AA"},     {52, "AZ"}, {53, "BA"},
        {702, "ZZ"}, {703, "AAA"}, {18278, "ZZZ"}, {0, ""},    {18279, ""}};
    for (const auto& [column, expected] : cases) {
        std::string letters = "stale";
        ColumnNumberToLetters(column, letters);
        EXPECT_EQ(letters, expected) << column;
    }
}

}  // namespace
}  // namespace wexal::testing
