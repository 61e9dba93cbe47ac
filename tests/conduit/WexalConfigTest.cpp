#include "conduit/WexalConfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "platform/registry/Registry.h"
#include "tests/support/TempDir.h"

namespace {

using wexal::registry::Registry;
using wexal::testing::ScopedEnv;
using wexal::testing::TempDir;
using wexal::testing::WriteFile;

const std::string kKey(WexalConfig::kRegistryKey);

// The selection and the start of its block.
std::string Selected(const std::string& code) {
    return "SelectedInterface=" + code + "\nInterface=" + code + "\n";
}

class WexalConfigTest : public ::testing::Test {
  protected:
    Registry registry() const { return Registry(dir_ / "registry.reg"); }

    // Names the temp folder in the registry, writes the file there, reads it.
    std::unique_ptr<WexalConfig> Load(const std::string& text) {
        registry().WriteString(kKey, "Path", dir_.path().string());
        WriteFile(dir_ / "WexalDT.cfg", text);
        return std::make_unique<WexalConfig>();
    }

    TempDir dir_;
    ScopedEnv env_{Registry::kFileVariable, (dir_ / "registry.reg").string()};
};

TEST_F(WexalConfigTest, RegistryFailuresExplainThemselves) {
    Debug = 5;
    EXPECT_EQ(WexalConfig().ErrorText, "Conduit not found in registry");
    EXPECT_EQ(Debug, 0);

    WriteFile(dir_ / "registry.reg", "this is no registry\n");
    EXPECT_EQ(WexalConfig().ErrorText, "Conduit not found in registry");

    std::filesystem::remove(dir_ / "registry.reg");
    registry().CreateKey(kKey);
    EXPECT_EQ(WexalConfig().ErrorText, "Path value in registry not found");

    registry().WriteDword(kKey, "Path", 7);
    EXPECT_EQ(WexalConfig().ErrorText, "Path value in registry not found");

    registry().WriteString(kKey, "Path", "/" + std::string(127, 'p'));
    const WexalConfig tooLong;
    EXPECT_EQ(tooLong.ErrorText, "Path value in registry not found");
    EXPECT_EQ(tooLong.Valid, 0u);

    registry().WriteString(kKey, "Path", "/" + std::string(126, 'p'));
    EXPECT_EQ(WexalConfig().ErrorText,
              "Unable to open configuration file /" + std::string(126, 'p') + "/WexalDT.cfg");
}

TEST_F(WexalConfigTest, FileNameJoinsFolderWithOneSlash) {
    const std::string folder = (dir_ / "missing").string();
    registry().WriteString(kKey, "Path", folder + "/");
    EXPECT_EQ(WexalConfig().ErrorText,
              "Unable to open configuration file " + folder + "/WexalDT.cfg");

    // A folder where the file should be is no configuration file either.
    std::filesystem::create_directories(dir_ / "missing" / "WexalDT.cfg");
    EXPECT_EQ(WexalConfig().ErrorText,
              "Unable to open configuration file " + folder + "/WexalDT.cfg");
}

TEST_F(WexalConfigTest, ByteOrderMarkCrLfLineEndsAndLongLines) {
    const std::string longPath(112, 'x');  // with its key exactly 127 characters
    const std::string split = "RoutePath=" + std::string(117, 'a') +
                              "ReadingsPath=" + std::string(60, 'b');  // 200 characters: 127 + 73
    // Several editors begin a UTF-8 file with a byte-order mark.
    auto config =
        Load("\xEF\xBB\xBFSelectedInterface=NORTHSTAR\r\nInterface=NORTHSTAR\r\nExceptionsFile=" +
             longPath + "\r\nDebug=3\r\n" + split + "\r\nServer=mid\rdle\r\nDatabase=db\r");
    EXPECT_EQ(config->SelectedInterface, "NORTHSTAR");
    EXPECT_EQ(config->ExceptionsFile, longPath);
    EXPECT_EQ(Debug, 3);
    EXPECT_EQ(config->RoutePath, std::string(117, 'a'));
    EXPECT_EQ(config->ReadingsPath, std::string(60, 'b'));
    EXPECT_EQ(config->Server, "mid\rdle");
    EXPECT_EQ(config->Database, "db");
    EXPECT_EQ(config->InterfaceCode, 36);
    EXPECT_EQ(config->Valid, 1u);
}

TEST_F(WexalConfigTest, SectionKeysCountOnlyInTheSelectedBlock) {
    auto config = Load(
        "Server=early\nSelectedInterface=NORTHSTAR\n"
        "Interface=EXCEL\nRoutePath=excel\nRouteMap0=House Number/C\n"
        "Interface=NORTHSTAR\nRoutePath=north\nReadingsPath=r1\nReadingsPath=r2\n"
        "Interface=northstar\nUserName=lower\nExceptionsFile=exc\n");
    EXPECT_EQ(config->Server, "early");  // before any block, both names were empty
    EXPECT_EQ(config->RoutePath, "north");
    EXPECT_EQ(config->ReadingsPath, "r2");
    EXPECT_EQ(config->UserName, "");
    EXPECT_EQ(config->ExceptionsFile, "exc");  // not a section key
    std::int32_t column = 0;
    EXPECT_EQ(config->GetColumnNumber(kRouteMapKind, "House Number", column), 0u);
    EXPECT_EQ(column, 3);

    // The block is taken only when SelectedInterface was read before it.
    auto late = Load("Interface=NORTHSTAR\nRoutePath=north\nSelectedInterface=NORTHSTAR\n");
    EXPECT_EQ(late->RoutePath, "");
    EXPECT_EQ(late->Valid, 0u);
}

TEST_F(WexalConfigTest, FlagsAndNumbers) {
    auto config = Load(
        "RetainDownloadFilesByRoute=Y\nShowExpectedRange=y\nShowPriorReadings=Yes\n"
        "OverrideAutoOff=N\nRightToLeft=Y\nJournalling=Y\nUseInitials=Y\nMeterIDChoice=T\n"
        "AutoOffMinutes=70000\nRestorePIN=1234\nWorksheetDataStart=  12abc\n"
        "WorksheetUsageRow=99999999999999999999\nDebug=-2\n");
    EXPECT_EQ(config->RetainByRoute, 1u);
    EXPECT_EQ(config->ShowExpectedRange, 0);
    EXPECT_EQ(config->ShowPriorReadings, 1);
    EXPECT_EQ(config->OverrideAutoOff, 0);
    EXPECT_EQ(config->RightToLeft + config->Journalling + config->UseInitials, 3);
    EXPECT_EQ(config->MeterIDChoice, 1);
    EXPECT_EQ(config->AutoOffMinutes, 4464);
    EXPECT_EQ(config->RestorePIN, 1234);
    EXPECT_EQ(config->WorksheetDataStart, 12);
    EXPECT_EQ(config->WorksheetUsageRow, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Debug, -2);

    auto odd = Load("AutoOffMinutes=-1\nRestorePIN:42\nMeterIDChoice=B\nDebug=none\n");
    EXPECT_EQ(odd->AutoOffMinutes, 65535);
    EXPECT_EQ(odd->RestorePIN, 42);  // only "RestorePIN" is compared
    EXPECT_EQ(odd->MeterIDChoice, 0);
    EXPECT_EQ(Debug, 0);

    EXPECT_EQ(Load("RestorePIN\n")->RestorePIN, 0);  // no value beyond the line
    EXPECT_EQ(Load("AutoOffMinutes=99999999999999999999\n")->AutoOffMinutes, 65535);
}

TEST_F(WexalConfigTest, ResponseCodes) {
    auto config = Load(
        "ResponseText=orphan\nResponse=01\nResponseText=Dog\nResponse=02\n"
        "ResponseText=Gate\nResponse=03\nResponseText=Locked\n");
    EXPECT_EQ(config->ResponseCount, 3);
    EXPECT_EQ(config->ResponseText[0], "orphan");
    EXPECT_EQ(config->Response[1] + config->ResponseText[1], "01Dog");
    EXPECT_EQ(config->Response[3] + config->ResponseText[3], "03Locked");

    std::string many;
    for (int i = 1; i <= 101; ++i) {
        many += "Response=" + std::to_string(i) + "\nResponseText=text " + std::to_string(i) + "\n";
    }
    auto full = Load(many);
    EXPECT_EQ(full->ResponseCount, 99);
    EXPECT_EQ(full->Response[99], "99");
    EXPECT_EQ(full->ResponseText[99], "text 99");  // not overwritten by codes 100 and 101
}

TEST_F(WexalConfigTest, InterfaceNumbersLastPassingPrefixWins) {
    const std::pair<const char*, int> cases[] = {
        {"DATAWEST", 19}, {"DAVIS", 3},     {"DATAPOINTE", 22}, {"INCODE", 13},   {"INFINITEC", 5},
        {"CMS", 6},       {"LOCIS", 27},    {"LOCISX", 0},      {"MEGA", 23},     {"MEGASYS", 0},
        {"TAKTECH", 9},   {"QUIKWATER", 9}, {"SUMMIT", 15},     {"northstar", 0}, {"", 0}};
    for (const auto& [code, number] : cases) {
        EXPECT_EQ(Load(Selected(code))->InterfaceCode, number) << code;
    }
}

TEST_F(WexalConfigTest, ValidityRulesPerInterface) {
    const std::string paths = "RoutePath=r\nReadingsPath=w\n";
    auto unknown = Load(Selected("MEGASYS") + paths);
    EXPECT_EQ(unknown->Valid, 0u);
    EXPECT_EQ(unknown->ErrorText, "");
    EXPECT_EQ(Load(Selected("AVR") + "RoutePath= \nReadingsPath=w\n")->Valid, 0u);
    EXPECT_EQ(Load(Selected("AVR") + "RoutePath= x\nReadingsPath=w\n")->Valid, 1u);

    auto noFile = Load(Selected("AVR") + "CaptureExceptions=Y\n" + paths);
    EXPECT_EQ(noFile->Valid, 0u);
    EXPECT_EQ(noFile->ErrorText, "");
    EXPECT_EQ(Load(Selected("AVR") + "CaptureExceptions=Y\nExceptionsFile=e\n" + paths)->Valid, 1u);

    const std::string sql = Selected("SQL") + "Server=s\nUserName=u\nPassword=p\n";
    EXPECT_EQ(Load(sql + paths)->Valid, 0u);
    EXPECT_EQ(Load(sql + "Database=d\n")->Valid, 1u);

    const std::string odbc = Selected("ODBC") + "UserName=u\nPassword=p\n";
    EXPECT_EQ(Load(odbc + "Server=dsn\n")->Valid, 0u);
    EXPECT_EQ(Load(odbc + "Database=d\n")->Valid, 1u);
}

TEST_F(WexalConfigTest, ExcelNeedsTheChosenWorkbookAndWorksheet) {
    const std::string sheets =
        Selected("EXCEL") + "Workbook1=/b1.xlsx\nWorksheet1=S1\nWorkbook2=/b2.xlsx\n";
    auto chosen = Load(sheets + "SelectedSpreadsheet=1\n");
    EXPECT_EQ(chosen->Valid, 1u);  // no route or readings path needed
    EXPECT_EQ(chosen->Workbook, "/b1.xlsx");
    EXPECT_EQ(chosen->Worksheet, "S1");

    EXPECT_EQ(Load(sheets + "SelectedSpreadsheet=2\n")->Valid, 0u);  // no Worksheet2 line
    EXPECT_EQ(Load(sheets + "SelectedSpreadsheet=5\nRoutePath=r\nReadingsPath=w\n")->Valid, 0u);
    EXPECT_EQ(Load(sheets)->Valid, 0u);
}

}  // namespace
