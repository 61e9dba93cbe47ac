// What the tabs set reaches the conduit: its own configuration reader (linked
// into this test only) reads what the prompts entered and the window saved,
// values at the prompt's limits arrive whole, and a real sync puts the
// Operation tab's options into the handheld's reader settings.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>

#include "conduit/WexalConfig.h"
#include "desktop/core/ConduitValueLimits.h"
#include "tests/desktop/windows/TabsWindow.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

using testing::ProgramHome;
using testing::Prompt;
using testing::PromptWith;
using testing::TabsWindow;

void Choose(InterfaceTab& tab, const char* displayName) {
    tab.cInterface->setCurrentIndex(tab.cInterface->findText(displayName));
    ASSERT_GE(tab.cInterface->currentIndex(), 0) << displayName;
}

TEST(TabsConduitTest, TheConduitReadsWhatThePromptsEntered) {
    ProgramHome home;
    testing::TempDir books;
    const std::filesystem::path workbook = books / "routes.xlsx";
    testing::MakeWorkbook(workbook, {"Route 7", "Spare"});
    {
        TabsWindow tabs;
        tabs.Open(home);
        InterfaceTab& tab = tabs.Interface();

        Choose(tab, "NorthStar");
        PromptWith(tab.btnRouteFile, "/srv/northstar/route.txt");
        PromptWith(tab.btnReadingsFile, "/srv/northstar/readings.txt");

        Choose(tab, "ODBC");
        Prompt(tab.btnDSN, [](frmPrompt& prompt) {
            prompt.Combo1->setEditText("Billing");
            prompt.btnOK->click();
        });
        PromptWith(tab.btnUser, "reader");
        PromptWith(tab.btnPassword, "se=cret w");
        PromptWith(tab.btnDatabase, "billing");

        Choose(tab, "Excel");
        tab.optSpreadsheet[2]->click();
        Prompt(tab.btnSpreadsheet[2], [&workbook](frmPrompt& prompt) {
            prompt.Text1->setText(QString::fromStdString(workbook.string()));
            prompt.Combo2->setCurrentIndex(prompt.Combo2->findText("Spare"));
            prompt.btnOK->click();
        });
        tabs.Close();
    }

    struct Case {
        const char* selected;
        std::uint16_t number;
    };
    for (const Case& c : {Case{"NORTHSTAR", 36}, Case{"ODBC", WexalConfig::kOdbcInterface},
                          Case{"EXCEL", WexalConfig::kExcelInterface}}) {
        SCOPED_TRACE(c.selected);
        home.Config().SelectedInterface = c.selected;
        ASSERT_TRUE(home.Config().SaveConfig());
        const WexalConfig conduit;
        ASSERT_EQ(conduit.ErrorText, "");
        EXPECT_EQ(conduit.InterfaceCode, c.number);
        EXPECT_EQ(conduit.Valid, 1u);
        if (c.number == 36) {
            EXPECT_EQ(conduit.RoutePath, "/srv/northstar/route.txt");
            EXPECT_EQ(conduit.ReadingsPath, "/srv/northstar/readings.txt");
        } else if (c.number == WexalConfig::kOdbcInterface) {
            EXPECT_EQ(conduit.Server, "Billing");
            EXPECT_EQ(conduit.UserName, "reader");
            EXPECT_EQ(conduit.Password, "se=cret w");
            EXPECT_EQ(conduit.Database, "billing");
        } else {
            EXPECT_EQ(conduit.Workbook, workbook.string());
            EXPECT_EQ(conduit.Worksheet, "Spare");
        }
    }
}

// The limits the prompt holds values to are the conduit's: at the limit it
// reads a value whole, one byte more and it reads it cut.
TEST(TabsConduitTest, AtItsLimitEveryValueReachesTheConduitWhole) {
    struct Key {
        const char* key;
        std::string InterfaceRec::*text;
        std::string WexalConfig::*read;
    };
    const std::vector<Key> keys = {
        {"RoutePath", &InterfaceRec::RoutePath, &WexalConfig::RoutePath},
        {"ReadingsPath", &InterfaceRec::ReadingsPath, &WexalConfig::ReadingsPath},
        {"Server", &InterfaceRec::Server, &WexalConfig::Server},
        {"UserName", &InterfaceRec::UserName, &WexalConfig::UserName},
        {"Password", &InterfaceRec::Password, &WexalConfig::Password},
        {"Database", &InterfaceRec::Database, &WexalConfig::Database},
        {"ExceptionsFile", nullptr, &WexalConfig::ExceptionsFile},
        {"Workbook3", nullptr, &WexalConfig::Workbook},
        {"Worksheet3", nullptr, &WexalConfig::Worksheet},
    };
    for (const Key& key : keys) {
        for (std::size_t extra : {0, 1}) {
            SCOPED_TRACE(std::string(key.key) + (extra != 0 ? " over" : " at"));
            ProgramHome home;
            clsConfig& config = home.Config();
            const std::optional<std::size_t> limit = ConduitValueLimit(key.key);
            ASSERT_TRUE(limit.has_value());
            const std::string value(*limit + extra, 'v');
            EXPECT_EQ(ConduitValueRefusal(key.key, value).empty(), extra == 0);
            const bool workbook = std::string_view(key.key).starts_with("Work");
            config.SelectedInterface = workbook ? "EXCEL" : "NORTHSTAR";
            InterfaceRec record{.Name = config.SelectedInterface,
                                .RoutePath = "r",
                                .ReadingsPath = "r",
                                .SelectedSpreadsheet = 3};
            record.Workbook[3] = record.Worksheet[3] = "w";
            if (key.text != nullptr) {
                record.*key.text = value;
            } else if (key.read == &WexalConfig::ExceptionsFile) {
                config.ExceptionsFile = value;
            } else {
                (key.read == &WexalConfig::Workbook ? record.Workbook : record.Worksheet)[3] =
                    value;
            }
            config.AddInterface(record);
            ASSERT_TRUE(config.SaveConfig());
            const WexalConfig conduit;
            EXPECT_EQ(conduit.*key.read == value, extra == 0) << conduit.*key.read;
        }
    }
}

std::string RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // In a sanitizer build the sync manager unloads the conduit, and what the
    // conduit's statics hold then counts as a leak that no one can name.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(testing::kHangBoundMs)) << program.toStdString();
    const std::string output = process.readAll().toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << "\n" << output;
    return output;
}

TEST(TabsConduitTest, ASyncPutsTheOperationOptionsIntoTheReaderSettings) {
    ProgramHome home;
    testing::TempDir handheld;
    {
        TabsWindow tabs;
        tabs.Open(home);
        InterfaceTab& interface = tabs.Interface();
        Choose(interface, "NorthStar");
        PromptWith(interface.btnRouteFile,
                   QString::fromStdString((handheld / "none.txt").string()));
        PromptWith(interface.btnReadingsFile,
                   QString::fromStdString((handheld / "readings.txt").string()));

        tabs.ShowTab(2);
        OperationTab& tab = tabs.Operation();
        tab.chkUseInitials->click();
        tab.chkShowExpectedRange->click();
        tab.chkOverrideAutoOff->click();
        tab.cAutoOffMinutes->setCurrentIndex(tab.cAutoOffMinutes->findText("5 Minutes"));
        tab.optMeterID[0]->click();
        tab.chkJournalling->click();
        tab.nRestorePIN->clear();
        QTest::keyClicks(tab.nRestorePIN, "1234");
        tabs.Close();
    }

    const QString device = QString::fromStdString((handheld / "hh").string());
    RunTool(WEXAL_HANDHELD_TOOL, {device, "init", "--user", "UNIT01"});
    const std::string log = RunTool(WEXAL_HOTSYNC_TOOL, {"--handheld", device, "--user", "UNIT01",
                                                         "--conduit", WEXAL_CONDUIT_LIBRARY});
    const std::string reader = RunTool(WEXAL_HANDHELD_TOOL, {device, "show", "readerDB"});
    for (const char* field :
         {"  ShowExpectedRange: 1 ", "  ShowPriorReadings: 0 ", "  UseInitials: 1 ",
          "  UseInitialsAgain: 1 ", "  RightToLeft: 0 ", "  AutoOffSeconds: 300 ",
          "  Journalling: 1 ", "  MeterIDChoice: 1 ", "  RestorePIN: 1234 "}) {
        EXPECT_NE(reader.find(field), std::string::npos) << field << "\n" << reader << log;
    }
}

}  // namespace
}  // namespace wexal::desktop
