// What the mapping dialogs save is what the conduit understands: its own
// configuration reader (linked into this test only; WexalDT never links the
// conduit) reads the maps back as the intended columns, and whole HotSyncs
// through the sync manager stand-in take the meters from the mapped columns
// of an openpyxl-made workbook and write the readings beside the usage
// column.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "conduit/WexalConfig.h"
#include "desktop/windows/frmExcelReadingMap.h"
#include "desktop/windows/frmExcelRouteMap.h"
#include "tests/conduit/ExcelOffice.h"
#include "tests/conduit/HotSyncRun.h"
#include "tests/desktop/windows/ExcelMapDialogs.h"
#include "tests/desktop/windows/ScriptedMessages.h"

namespace wexal::testing {
namespace {

namespace fs = std::filesystem;
using desktop::frmExcelReadingMap;
using desktop::frmExcelRouteMap;
using Lines = std::vector<std::string>;

struct Mapped {
    std::uint32_t kind;
    const char* field;
    std::optional<std::int32_t> column;  // none: not mapped
};

void ExpectColumns(const WexalConfig& conduit, const std::vector<Mapped>& expected) {
    for (const Mapped& m : expected) {
        SCOPED_TRACE(m.field);
        std::int32_t column = 99;
        const std::uint32_t result = conduit.GetColumnNumber(m.kind, m.field, column);
        EXPECT_EQ(result, m.column ? kColumnMapOk : kColumnNotMapped);
        EXPECT_EQ(column, m.column.value_or(-1));
    }
}

// Fills and saves both dialogs as an office would for its workbook.
void MapWorkbook(desktop::clsConfig& config, desktop::Messages& messages,
                 const std::vector<std::pair<std::string, QString>>& routeRows,
                 const QString& previous, const QString& minimum, const QString& maximum,
                 const std::vector<QString>& readingRows, const QString& start = "2",
                 const QString& usage = "1") {
    {
        frmExcelRouteMap route(config, messages);
        Type(route, "nStartingRow", start);
        Type(route, "nUsageRow", usage);
        Pick(route, "cboSpec(0)", previous);
        Type(route, "nFixed(0)", minimum);
        Type(route, "nFixed(1)", maximum);
        for (const auto& [list, column] : routeRows) {
            Pick(route, list, column);
        }
        Click(route, "OKButton");
        ASSERT_EQ(route.result(), QDialog::Accepted);
    }
    frmExcelReadingMap reading(config, messages);
    for (std::size_t row = 0; row < readingRows.size(); ++row) {
        Pick(reading, "cboCol(" + std::to_string(row + 1) + ")", readingRows[row]);
    }
    Click(reading, "OKButton");
    ASSERT_EQ(reading.result(), QDialog::Accepted);
}

TEST(ExcelMapConduitTest, TheConduitReadsTheSavedMapsAsTheIntendedColumns) {
    ExcelConfigHome home;
    ScriptedMessages messages;
    MapWorkbook(home.Config, messages,
                {{"cboCol(1)", "D"},
                 {"cboCol(3)", "Z"},
                 {"cboCol(4)", "A"},
                 {"cboCol(7)", "B"},
                 {"cboCol(8)", "C"},
                 {"cboCol(13)", "K"}},
                "3 Left", "3.75", "1000 %", {"Usage Col", "1 Right", "[None]", "7 Left", "6 Right"},
                "3", "2");
    ASSERT_EQ(messages.Texts(), Lines{});

    const WexalConfig conduit;
    ASSERT_EQ(conduit.ErrorText, "");
    EXPECT_EQ(conduit.Valid, 1u);
    EXPECT_EQ(conduit.Workbook, "/office/routes.xlsx");
    EXPECT_EQ(conduit.Worksheet, "Route");
    EXPECT_EQ(conduit.WorksheetDataStart, 3);
    EXPECT_EQ(conduit.WorksheetUsageRow, 2);
    ExpectColumns(conduit, {{kRouteMapKind, "PrvReading", -3},
                            {kRouteMapKind, "MeterTagNbr", 4},
                            {kRouteMapKind, "MeterSerialNbr", std::nullopt},
                            {kRouteMapKind, "MeterType", 26},
                            {kRouteMapKind, "Sequence", 1},
                            {kRouteMapKind, "ServiceAddress", 2},
                            {kRouteMapKind, "House Number", 3},
                            {kRouteMapKind, "UserDef", 11},
                            {kReadingMapKind, "CurReading", 0},
                            {kReadingMapKind, "ReadingDate", 1},
                            {kReadingMapKind, "ReadingTime", std::nullopt},
                            {kReadingMapKind, "Response Code", -7},
                            {kReadingMapKind, "Response Text", 6},
                            // Each kind has its own fields.
                            {kReadingMapKind, "MeterTagNbr", std::nullopt},
                            {kRouteMapKind, "CurReading", std::nullopt}});
    double minimum = 0;
    double maximum = 0;
    EXPECT_EQ(conduit.GetColumnValue(kRouteMapKind, "MinReading", minimum), kColumnMapOk);
    EXPECT_EQ(conduit.GetColumnValue(kRouteMapKind, "MaxReading", maximum), kColumnMapOk);
    // Whole percentages, though columns keep three characters.
    EXPECT_EQ(minimum, 3.75);
    EXPECT_EQ(maximum, 1000);

    // "[None]" for the previous reading is an entry without a column.
    {
        frmExcelRouteMap route(home.Config, messages);
        Pick(route, "cboSpec(0)", "[None]");
        Click(route, "OKButton");
    }
    const WexalConfig again;
    ExpectColumns(again,
                  {{kRouteMapKind, "PrvReading", std::nullopt}, {kRouteMapKind, "MeterTagNbr", 4}});
    ASSERT_NE(again.Columns().Find(kRouteMapKind, "PrvReading"), nullptr);
}

TEST(ExcelMapConduitTest, HotSyncsUseTheMappedColumnsOfTheWorkbook) {
    ExcelOffice office;
    // Columns of the office's sheet: A house, B street, C name, D tag,
    // E previous, F USAGE, then reading, date, time, code and note.
    office.MakeSheet(
        "ws.append([12, 'Main Street', 'JONES MARY', 'T-100', 1000, 200])\n"
        "ws.append(['12A', 'Oak Street', 'SMITH JOHN', 'T-200', 500, 40])\n");
    fs::remove(office.Bed().ConfigFolder() / "WexalDT.cfg");

    desktop::clsConfig config;
    config.SelectedInterface = "EXCEL";
    desktop::InterfaceUpdate chosen;
    chosen.Workbook = desktop::WorkbookSlots{office.Workbook().string()};
    chosen.Worksheet = desktop::WorkbookSlots{"Route"};
    chosen.SelectedSpreadsheet = 0;
    config.UpdateInterface(std::string_view("EXCEL"), chosen);
    ScriptedMessages messages;
    MapWorkbook(config, messages,
                {{"cboCol(8)", "A"}, {"cboCol(7)", "B"}, {"cboCol(6)", "C"}, {"cboCol(1)", "D"}},
                "1 Left", "12.5", "1000", {"1 Right", "2 Right", "3 Right", "4 Right", "5 Right"});
    ASSERT_EQ(messages.Texts(), Lines{});
    office.ListRoute("01", "D");

    HotSyncRun sync = RunHotSync(office.Bed().Handheld());
    ASSERT_EQ(sync.exitCode, 0) << sync.output;
    const auto meters = office.Meters("01");
    ASSERT_EQ(meters.size(), 2u) << sync.output;
    // Service id, tag, previous, maximum, minimum, name and address.
    EXPECT_EQ((Lines{meters[0][0], meters[0][1], meters[0][6], meters[0][7], meters[0][8],
                     meters[0][12], meters[0][13]}),
              (Lines{"000002", "T-100", "1000", "3000", "1025", "JONES MARY", "12 Main Street"}));
    EXPECT_EQ(meters[1][13], "12A Oak Street");

    office.TakeReadings("01", {{"R", "01234", "060315", "093000", "01", "Dog in yard"}});
    office.SetRouteStatus("01", "U");
    sync = RunHotSync(office.Bed().Handheld());
    ASSERT_EQ(sync.exitCode, 0) << sync.output;
    // The usage column is F: the reading and its fields from G on.
    EXPECT_EQ(ReadCells(office.Workbook(), "Route", {"F2", "G2", "H2", "I2", "J2", "K2", "G3"}),
              (Lines{"200", "1234", "'03/15/06'", "'093000'", "'01'", "'Dog in yard'", "None"}));
}

}  // namespace
}  // namespace wexal::testing
