#include <gtest/gtest.h>

#include "desktop/core/clsConfig.h"

namespace {

using wexal::desktop::clsConfig;
using wexal::desktop::InterfaceRec;
using wexal::desktop::ResponseCodeRec;

TEST(ConfigTableTest, InterfaceLookupAndUpdate) {
    clsConfig config;
    InterfaceRec out{.Name = "x", .Server = "x", .ReadingsRollPath = "x", .WorksheetDataStart = 7};
    out.SelectedSpreadsheet = 3;
    out.RouteMap[4] = "kept";
    // Nothing found: texts and the active sheet cleared, rows and slots kept.
    EXPECT_FALSE(config.GetInterface("EXCEL", out));
    EXPECT_EQ(out.Name, "");
    EXPECT_EQ(out.Server, "");
    EXPECT_EQ(out.ReadingsRollPath, "");
    EXPECT_EQ(out.SelectedSpreadsheet, 0);
    EXPECT_EQ(out.WorksheetDataStart, 7);
    EXPECT_EQ(out.RouteMap[4], "kept");
    EXPECT_FALSE(config.GetInterface(0, out));
    EXPECT_FALSE(config.GetInterface(1, out));

    // An update by name creates the record, a later one in other letter case
    // finds it; unset fields keep their values.
    EXPECT_TRUE(
        config.UpdateInterface("EXCEL", {.SelectedSpreadsheet = 2, .WorksheetUsageRow = 5}));
    EXPECT_TRUE(config.UpdateInterface("excel", {.RoutePath = "/r"}));
    ASSERT_TRUE(config.GetInterface(1, out));
    EXPECT_EQ(out.Name, "EXCEL");
    EXPECT_EQ(out.RoutePath, "/r");
    EXPECT_EQ(out.SelectedSpreadsheet, 2);
    EXPECT_EQ(out.WorksheetUsageRow, 5);
    EXPECT_FALSE(config.GetInterface(2, out));

    config.AddInterface({.Name = "ODBC"});
    config.AddInterface({.Name = "odbc", .Database = "second"});
    EXPECT_FALSE(config.UpdateInterface(5, {.Database = "x"}));
    EXPECT_FALSE(config.UpdateInterface(0, {.Database = "x"}));
    ASSERT_TRUE(config.GetInterface("Odbc", out));
    EXPECT_EQ(out.Database, "");  // the first match counts
    EXPECT_TRUE(config.UpdateInterface(3, {.Name = "TEXT"}));
    ASSERT_TRUE(config.GetInterface("text", out));
    EXPECT_EQ(out.Database, "second");
}

TEST(ConfigTableTest, ResponseCodes) {
    clsConfig config;
    ResponseCodeRec out{"keep", "keep", "keep", "keep"};
    EXPECT_FALSE(config.GetResponseCode("01", out));
    EXPECT_EQ(out.Code, "keep");

    config.AddResponseCode("01", "first", "Y", "");
    config.AddResponseCode("01", "second", "", "Y");
    ASSERT_TRUE(config.GetResponseCode("01", out));
    EXPECT_EQ(out.Description, "first");
    ASSERT_TRUE(config.GetResponseCode(2, out));
    EXPECT_EQ(out.Description, "second");

    EXPECT_TRUE(config.UpdateResponseCode("xy", {.Description = "new"}));
    ASSERT_TRUE(config.GetResponseCode(3, out));
    EXPECT_EQ(out.Code, "xy");
    EXPECT_EQ(out.Description, "new");
    EXPECT_FALSE(config.UpdateResponseCode(4, {.Description = "x"}));

    config.EraseResponseCodes();
    EXPECT_FALSE(config.GetResponseCode(1, out));
    config.AddResponseCode("09", "after", "", "");
    ASSERT_TRUE(config.GetResponseCode(1, out));
    EXPECT_EQ(out.Code, "09");
}

}  // namespace
