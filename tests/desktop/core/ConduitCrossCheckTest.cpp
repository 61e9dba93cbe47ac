// What the desktop writes is what the conduit reads: its own configuration
// reader, linked into this test only, reads files that the core saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/WexalConfig.h"
#include "desktop/core/InterfaceTypes.h"
#include "desktop/core/clsConfig.h"
#include "tests/desktop/core/ConfigFolder.h"
#include "tests/desktop/core/FullConfig.h"

namespace {

using wexal::desktop::BuildInterfaceTypes;
using wexal::desktop::clsConfig;
using wexal::desktop::InterfaceRec;
using wexal::testing::ConfigFolder;
using wexal::testing::FillFull;

class ConduitCrossCheckTest : public ::testing::Test {
  protected:
    ConfigFolder home_;
    std::filesystem::path folder_ = home_.UseFolder();
};

void ExpectEntries(const WexalConfig& conduit, std::uint32_t kind,
                   const wexal::desktop::MapSlots& slots) {
    std::vector<std::pair<std::string, std::string>> expected;
    for (const std::string& entry : slots) {
        if (!entry.empty()) {
            const std::size_t slash = entry.rfind('/');
            expected.emplace_back(entry.substr(0, slash), entry.substr(slash + 1, 3));
        }
    }
    std::vector<std::pair<std::string, std::string>> read;
    for (const ColumnMapEntry& entry : conduit.Columns().Entries()) {
        if (entry.kind == kind) {
            read.emplace_back(entry.name, entry.column);
        }
    }
    EXPECT_EQ(read, expected);
}

TEST_F(ConduitCrossCheckTest, TheConduitReadsTheSameFields) {
    for (const char* selected : {"NORTHSTAR", "ODBC", "SQLDirect", "EXCEL"}) {
        SCOPED_TRACE(selected);
        clsConfig config;
        FillFull(config);
        config.SelectedInterface = selected;
        // Texts for the handheld may be any UTF-8 text.
        config.AddResponseCode("04", "Perro en el patio, señal rota", "", "");
        ASSERT_TRUE(config.SaveConfig());

        const WexalConfig conduit;
        ASSERT_EQ(conduit.ErrorText, "");
        EXPECT_EQ(conduit.Valid, 1u);
        EXPECT_EQ(conduit.SelectedInterface, selected);
        InterfaceRec record;
        ASSERT_TRUE(config.GetInterface(selected, record));
        EXPECT_EQ(conduit.RoutePath, record.RoutePath);
        EXPECT_EQ(conduit.ReadingsPath, record.ReadingsPath);
        EXPECT_EQ(conduit.Server, record.Server);
        EXPECT_EQ(conduit.UserName, record.UserName);
        EXPECT_EQ(conduit.Password, record.Password);
        EXPECT_EQ(conduit.Database, record.Database);

        EXPECT_EQ(conduit.ExceptionsFile, config.ExceptionsFile);
        for (std::uint32_t flag :
             {std::uint32_t{conduit.UseInitials}, std::uint32_t{conduit.ShowPriorReadings},
              std::uint32_t{conduit.ShowExpectedRange}, conduit.RetainByRoute,
              std::uint32_t{conduit.RightToLeft}, std::uint32_t{conduit.OverrideAutoOff},
              std::uint32_t{conduit.Journalling}, std::uint32_t{conduit.CaptureExceptions},
              std::uint32_t{conduit.MeterIDChoice}}) {
            EXPECT_EQ(flag, 1u);
        }
        EXPECT_EQ(conduit.AutoOffMinutes, config.AutoOffMinutes);
        EXPECT_EQ(std::to_string(conduit.RestorePIN), config.RestorePIN);
        EXPECT_EQ(std::to_string(Debug), config.DebugFlag);

        ASSERT_EQ(conduit.ResponseCount, 4);
        for (std::uint16_t i = 1; i <= 3; ++i) {
            wexal::desktop::ResponseCodeRec code;
            ASSERT_TRUE(config.GetResponseCode(i, code));
            EXPECT_EQ(conduit.Response[i], code.Code);
            EXPECT_EQ(conduit.ResponseText[i], code.Description);
        }
        // The conduit hands this text to the handheld in its own code page.
        EXPECT_EQ(conduit.Response[4], "04");
        EXPECT_TRUE(conduit.ResponseText[4].starts_with("Perro en el patio, se"));

        InterfaceRec excel;
        ASSERT_TRUE(config.GetInterface("EXCEL", excel));
        ExpectEntries(conduit, kRouteMapKind, excel.RouteMap);
        ExpectEntries(conduit, kReadingMapKind, excel.ReadingMap);
        if (std::string(selected) == "EXCEL") {
            EXPECT_EQ(conduit.Workbook, excel.Workbook[0]);
            EXPECT_EQ(conduit.Worksheet, excel.Worksheet[0]);
            EXPECT_EQ(conduit.WorksheetDataStart, excel.WorksheetDataStart);
            EXPECT_EQ(conduit.WorksheetUsageRow, excel.WorksheetUsageRow);
        }
    }
}

TEST_F(ConduitCrossCheckTest, BothSidesReadPastAByteOrderMark) {
    wexal::testing::WriteFile(folder_ / "WexalDT.cfg",
                              "\xEF\xBB\xBFSelectedInterface=NORTHSTAR\r\nInterface=NORTHSTAR\r\n"
                              "RoutePath=/r\r\nReadingsPath=/w\r\n");
    clsConfig desktop;
    desktop.LoadConfig();
    EXPECT_EQ(desktop.SelectedInterface, "NORTHSTAR");
    const WexalConfig conduit;
    EXPECT_EQ(conduit.SelectedInterface, "NORTHSTAR");
    EXPECT_EQ(conduit.Valid, 1u);
}

TEST_F(ConduitCrossCheckTest, EveryInterfaceCodeIsKnownToTheConduit) {
    for (const auto& row : BuildInterfaceTypes()) {
        SCOPED_TRACE(row.Code);
        clsConfig config;
        config.SelectedInterface = row.Code;
        ASSERT_TRUE(config.SaveConfig());
        const WexalConfig conduit;
        // "Text" is offered by the desktop but has no road in the conduit.
        if (row.Code == "Text") {
            EXPECT_EQ(conduit.InterfaceCode, 0);
        } else {
            EXPECT_NE(conduit.InterfaceCode, 0);
        }
    }
}

}  // namespace
