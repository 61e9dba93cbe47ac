// Whole syncs through the driver, on a simulated handheld.
#include <gtest/gtest.h>

#include <ctime>

#include "conduit/DebugConsole.h"
#include "conduit/InterfaceTable.h"
#include "conduit/WexalConduit.h"
#include "tests/conduit/ConduitTestBed.h"

namespace {

using wexal::testing::ConduitTestBed;
using Lines = std::vector<std::string>;

std::int32_t Sync(ConduitTestBed& bed) {
    bed.BeginSession();
    WexalConduit conduit;
    const std::int32_t result = conduit.Synchronize();
    bed.EndSession();
    return result;
}

TEST(SyncDriverTest, InvalidConfigurationLogsTwoLinesAndTouchesNothing) {
    ConduitTestBed bed;
    bed.WriteConfig({"SelectedInterface=MEGASYS", "Interface=MEGASYS", "RoutePath=r.txt",
                     "ReadingsPath=x.txt"});
    EXPECT_EQ(Sync(bed), 0);
    EXPECT_EQ(bed.LogLines(),
              (Lines{"19 Wexal Conduit Started without valid configuration", "21 "}));
    EXPECT_FALSE(bed.HasDatabase("readerDB"));
    EXPECT_FALSE(bed.HasDatabase("rcodesDB"));
}

TEST(SyncDriverTest, MissingConfigurationFileNamesIt) {
    ConduitTestBed bed;
    EXPECT_EQ(Sync(bed), 0);
    ASSERT_EQ(bed.Log().size(), 2u);
    EXPECT_EQ(bed.Log()[1].text,
              "Unable to open configuration file " + (bed.ConfigFolder() / "WexalDT.cfg").string());
    EXPECT_EQ(bed.Log()[1].activity, 21);
}

TEST(SyncDriverTest, SqlStubWritesSettingsAndFinishes) {
    ConduitTestBed bed;
    bed.WriteConfig({"SelectedInterface=SQLDirect", "Interface=SQLDirect", "Server=srv",
                     "Database=billing", "UserName=meter", "Password=secret", "Response=01",
                     "ResponseText=Dog in yard"});
    EXPECT_EQ(Sync(bed), 1);
    EXPECT_EQ(bed.LogLines(),
              (Lines{"19  Started with interface SQLDirect", "20 Wexal Conduit Finished - SQL"}));
    EXPECT_EQ(bed.Records("readerDB").size(), 1u);
    EXPECT_EQ(bed.Records("rcodesDB"), (Lines{std::string("01\0\0Dog in yard\0", 16)}));
}

TEST(SyncDriverTest, SqlDataSourceReportsItsOwnFailureWithoutFinishLine) {
    ConduitTestBed bed;
    bed.WriteConfig({"SelectedInterface=ODBC", "Interface=ODBC", "Server=NoSuchDataSource",
                     "Database=billing", "UserName=meter", "Password=secret"});
    EXPECT_EQ(Sync(bed), 1);
    EXPECT_EQ(
        bed.LogLines(),
        (Lines{"19  Started with interface ODBC", "0 Message box [Debug]: Connection Open Failed",
               "21 SQL Interface: Connection Open Failed - [unixODBC][Driver Manager]Data "
               "source name not found and no default driver specified"}));
    // Settings reach the handheld before the interface is looked at.
    EXPECT_TRUE(bed.HasDatabase("readerDB"));
    EXPECT_TRUE(bed.HasDatabase("rcodesDB"));
}

TEST(SyncDriverTest, ExcelRoadListsItsRouteAndFinishes) {
    ConduitTestBed bed;
    bed.WriteConfig({"SelectedInterface=EXCEL", "Interface=EXCEL", "SelectedSpreadsheet=0",
                     "Workbook0=" + (bed.Folder() / "routes.xlsx").string(), "Worksheet0=Sheet1"});
    EXPECT_EQ(Sync(bed), 1);
    EXPECT_EQ(bed.LogLines(), (Lines{"19  Started with interface EXCEL",
                                     "22 Excel Interface: Uploaded Routes:0, Uploaded Meters: 0",
                                     "20 Wexal Conduit Finished - Excel"}));
    // Route "01" is listed without a count and nothing was asked for.
    const auto routes = bed.Records("routeDB");
    ASSERT_EQ(routes.size(), 1u);
    EXPECT_EQ(routes[0].substr(6, 2), std::string("\xFF\xFE"));
    EXPECT_EQ(routes[0].substr(8, 3), std::string("01\0", 3));
    EXPECT_EQ(routes[0].substr(routes[0].size() - 2), std::string("N\0", 2));
}

TEST(InterfaceTableTest, EveryNumberHasItsRowAndNoOther) {
    EXPECT_EQ(FindInterface(0), nullptr);
    EXPECT_EQ(FindInterface(38), nullptr);
    for (std::uint16_t number = 1; number <= 37; ++number) {
        const InterfaceRow* row = FindInterface(number);
        ASSERT_NE(row, nullptr) << number;
        EXPECT_EQ(row->number, number);
        if (number == 16) {
            EXPECT_EQ(row->finishText, nullptr);
        } else {
            ASSERT_NE(row->finishText, nullptr) << number;
            EXPECT_EQ(std::string(row->finishText).rfind("Wexal Conduit Finished - ", 0), 0u);
        }
    }
    EXPECT_EQ(FindInterface(24)->road, InterfaceRoad::FolderScan);
    EXPECT_EQ(FindInterface(28)->road, InterfaceRoad::Excel);
    EXPECT_STREQ(FindInterface(18)->finishText, "Wexal Conduit Finished - PrariFire");
}

TEST(DebugConsoleTest, PrefixHasMonthWithoutLeadingZero) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 5;
    when.tm_hour = 9;
    when.tm_min = 3;
    when.tm_sec = 7;
    when.tm_isdst = -1;
    EXPECT_EQ(DebugConsole::Prefix(std::mktime(&when)), "12/05 09:03:07 ");
    when.tm_mon = 0;
    EXPECT_EQ(DebugConsole::Prefix(std::mktime(&when)), "1/05 09:03:07 ");
}

}  // namespace
