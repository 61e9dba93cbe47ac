// The Interface tab: which rows each interface type shows, what selecting and
// loading store (nothing but the selection), the names a hand-edited file
// gives, the workbook rows with their active row, the data source as the
// server, the roll and mapping buttons; and its pictures.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/desktop/core/ConfigFolder.h"
#include "tests/desktop/windows/TabsWindow.h"
#include "tests/desktop/windows/WindowPictures.h"

namespace wexal::desktop {
namespace {

using testing::DataFile;
using testing::ProgramHome;
using testing::Prompt;
using testing::PromptWith;
using testing::ReadFile;
using testing::ScriptedFileChooser;
using testing::TabsWindow;
using testing::WriteFile;

// The controls each flag of a type shows, by name.
std::map<std::string, std::vector<std::string>> RowsOfFlags() {
    std::vector<std::string> workbook = {"lSpreadsheet", "lWorkBook", "lWorksheet",
                                         "fraExcelDataMap"};
    for (int i = 0; i < 5; ++i) {
        for (const char* stem : {"optSpreadsheet", "cWorkBook", "cWorkSheet", "btnSpreadsheet"}) {
            workbook.push_back(stem + std::to_string(i));
        }
    }
    return {
        {"RouteFile", {"lRouteFile", "cRouteFile", "btnRouteFile"}},
        {"ReadingsFile",
         {"lReadingsFile", "cReadingsFile", "btnReadingsFile", "lReadingsRollFile",
          "cReadingsRollFile", "btnReadingsRollFile", "btnReadingsRollLog"}},
        {"Excel", workbook},
        {"Server", {"lServer", "cServer", "btnServer"}},
        {"DSN", {"lDSN", "cDSN", "btnDSN"}},
        {"Database", {"lDatabase", "cDatabase", "btnDatabase"}},
        {"UserID", {"lUser", "cUser", "btnUser"}},
        {"Password", {"lPassword", "cPassword", "btnPassword"}},
        {"Test", {"btnTest"}},
        {"Install", {"btnInstall"}},
    };
}

std::set<std::string> ShownBy(const InterfaceTypeInfo& type) {
    const std::map<std::string, bool> flags = {{"RouteFile", type.RouteFile},
                                               {"ReadingsFile", type.ReadingsFile},
                                               {"Excel", type.Excel},
                                               {"Server", type.Server},
                                               {"DSN", type.DSN},
                                               {"Database", type.Database},
                                               {"UserID", type.UserID},
                                               {"Password", type.Password},
                                               {"Test", type.Test},
                                               {"Install", type.Install}};
    std::set<std::string> shown = {"lInterface", "cInterface"};
    for (const auto& [flag, names] : RowsOfFlags()) {
        if (flags.at(flag)) {
            shown.insert(names.begin(), names.end());
        }
    }
    return shown;
}

void ExpectShown(InterfaceTab& tab, const std::set<std::string>& shown) {
    std::set<std::string> all = {"lInterface", "cInterface"};
    for (const auto& [flag, names] : RowsOfFlags()) {
        all.insert(names.begin(), names.end());
    }
    for (const std::string& name : all) {
        auto* control = tab.findChild<QWidget*>(QString::fromStdString(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->isVisibleTo(&tab), shown.count(name) == 1) << name;
    }
}

TEST(InterfaceTabTest, EachTypeShowsTheRowsOfItsFlagsAndSelectingStoresOnlyTheSelection) {
    ProgramHome home;
    TabsWindow tabs;
    tabs.Open(home);
    InterfaceTab& tab = tabs.Interface();
    EXPECT_EQ(tab.cInterface->currentIndex(), -1);
    EXPECT_EQ(home.Config().SelectedInterface, "");
    ExpectShown(tab, {"lInterface", "cInterface"});
    testing::SavePicture(tabs.Window(), "interface-tab-no-selection");

    const std::vector<InterfaceTypeInfo> types = BuildInterfaceTypes();
    ASSERT_EQ(tab.cInterface->count(), 38);
    for (int i = 0; i < 38; ++i) {
        const InterfaceTypeInfo& type = types[static_cast<std::size_t>(i)];
        SCOPED_TRACE(type.Code);
        EXPECT_EQ(tab.cInterface->itemText(i).toStdString(), type.DisplayName);
        tab.cInterface->setCurrentIndex(i);
        EXPECT_EQ(home.Config().SelectedInterface, type.Code);
        EXPECT_EQ(tabs.Window().State().mSelectedTypeId, type.Id);
        EXPECT_FALSE(tabs.Window().State().mLoading);
        ExpectShown(tab, ShownBy(type));
        InterfaceRec record;
        EXPECT_FALSE(home.Config().GetInterface(type.Code, record)) << "a record was made";
    }
}

TEST(InterfaceTabTest, AStoredCodeOutsideTheTableSelectsNothingAndStoresNothing) {
    ProgramHome home;
    WriteFile(home.ConfigFile(),
              "SelectedInterface=NORTHSTAR2\r\nInterface=NORTHSTAR\r\n"
              "RoutePath=/r.txt\r\n");
    home.Config().LoadConfig();
    TabsWindow tabs;
    tabs.Open(home);
    EXPECT_EQ(tabs.Interface().cInterface->currentIndex(), -1);
    ExpectShown(tabs.Interface(), {"lInterface", "cInterface"});
    tabs.Close();
    EXPECT_EQ(ReadFile(home.ConfigFile()),
              "SelectedInterface=NORTHSTAR2\r\nAutoOffMinutes=0\r\nRestorePIN=2580\r\n"
              "Interface=NORTHSTAR\r\nRoutePath=/r.txt\r\n");
}

TEST(InterfaceTabTest, OpeningAndClosingOnEveryOptionRewritesTheFileByteForByte) {
    for (const char* selected : {"EXCEL", "NORTHSTAR", "ODBC", "SQLDirect"}) {
        SCOPED_TRACE(selected);
        ProgramHome home;
        std::string text = DataFile("full.cfg");
        text.replace(text.find("EXCEL"), 5, selected);
        WriteFile(home.ConfigFile(), text);
        home.Config().LoadConfig();
        TabsWindow tabs;
        tabs.Open(home);
        tabs.ShowTab(2);
        tabs.Close();
        EXPECT_EQ(ReadFile(home.ConfigFile()), text);
    }
}

// A hand-edited file may name the workbook interface "Excel": selected, it
// takes the code's name, so that its workbook lines are written and the
// conduit finds its block.
TEST(InterfaceTabTest, AHandEditedNameInOtherLetterCaseTakesTheCodeWhenSelected) {
    struct Case {
        const char* stored;
        const char* name;
        const char* shown;
        const char* code;
    };
    for (const Case& c : {Case{"excel", "Excel", "Excel", "EXCEL"},
                          Case{"sqldirect", "SQLDIRECT", "AutoAdmin SQLDirect", "SQLDirect"},
                          Case{"TEXT", "text", "Text Files", "Text"}}) {
        SCOPED_TRACE(c.stored);
        ProgramHome home;
        WriteFile(home.ConfigFile(), std::string("SelectedInterface=") + c.stored +
                                         "\r\nInterface=" + c.name + "\r\nDatabase=db\r\n");
        home.Config().LoadConfig();
        TabsWindow tabs;
        tabs.Open(home);
        EXPECT_EQ(tabs.Interface().cInterface->currentText().toStdString(), c.shown);
        EXPECT_EQ(tabs.Interface().cDatabase->text(), "db");
        tabs.Close();
        const std::string file = ReadFile(home.ConfigFile());
        EXPECT_NE(file.find(std::string("SelectedInterface=") + c.code + "\r\n"), std::string::npos)
            << file;
        EXPECT_NE(file.find(std::string("Interface=") + c.code + "\r\nDatabase=db\r\n"),
                  std::string::npos)
            << file;
        EXPECT_EQ(file.find(std::string("Interface=") + c.name + "\r\n"), std::string::npos);
    }
    // The workbook lines come with the name.
    ProgramHome home;
    WriteFile(home.ConfigFile(), "SelectedInterface=EXCEL\r\nInterface=Excel\r\n");
    home.Config().LoadConfig();
    TabsWindow tabs;
    tabs.Open(home);
    tabs.Close();
    EXPECT_NE(ReadFile(home.ConfigFile()).find("Interface=EXCEL\r\nSelectedSpreadsheet=0\r\n"),
              std::string::npos);
}

TEST(InterfaceTabTest, WorkbookRowsKeepTheirActiveRow) {
    ProgramHome home;
    WriteFile(home.ConfigFile(),
              "SelectedInterface=EXCEL\r\nInterface=EXCEL\r\nSelectedSpreadsheet=0\r\n"
              "Workbook0=/w/a.xlsx\r\nWorkbook4=/w/e.xlsx\r\nWorksheet0=A\r\nWorksheet4=E\r\n");
    home.Config().LoadConfig();
    TabsWindow tabs;
    tabs.Open(home);
    InterfaceTab& tab = tabs.Interface();
    EXPECT_TRUE(tab.optSpreadsheet[0]->isChecked());
    EXPECT_EQ(tab.cWorkBook[4]->text(), "/w/e.xlsx");
    EXPECT_EQ(tab.cWorkSheet[4]->text(), "E");
    testing::SavePicture(tabs.Window(), "interface-tab-excel");

    tab.optSpreadsheet[3]->click();
    InterfaceRec record;
    ASSERT_TRUE(home.Config().GetInterface("EXCEL", record));
    EXPECT_EQ(record.SelectedSpreadsheet, 3);
    EXPECT_EQ(record.Workbook, (WorkbookSlots{"/w/a.xlsx", "", "", "", "/w/e.xlsx"}));

    // A row's workbook through its prompt keeps the active row.
    Prompt(tab.btnSpreadsheet[1], [](frmPrompt& prompt) {
        EXPECT_EQ(prompt.windowTitle(), "Spreadsheet File");
        prompt.Text1->setText("/w/b.xlsx");
        prompt.Combo2->addItem("Sheet B");
        prompt.Combo2->setCurrentIndex(0);
        prompt.btnOK->click();
    });
    ASSERT_TRUE(home.Config().GetInterface("EXCEL", record));
    EXPECT_EQ(record.SelectedSpreadsheet, 3);
    EXPECT_EQ(record.Workbook[1], "/w/b.xlsx");
    EXPECT_EQ(record.Worksheet, (WorkbookSlots{"A", "Sheet B", "", "", "E"}));
}

// The file may hold a row no button stands for: none is set, and nothing is
// stored until the user sets one.
TEST(InterfaceTabTest, AnActiveRowOutsideTheFiveSetsNoButtonAndStoresNothing) {
    ProgramHome home;
    const std::string text =
        "SelectedInterface=EXCEL\r\nAutoOffMinutes=0\r\nRestorePIN=2580\r\n"
        "Interface=EXCEL\r\nSelectedSpreadsheet=7\r\nWorkbook0=/w/a.xlsx\r\n"
        "WorksheetDataStart=0\r\nWorksheetUsageRow=0\r\n";
    WriteFile(home.ConfigFile(), text);
    home.Config().LoadConfig();
    TabsWindow tabs;
    tabs.Open(home);
    for (QRadioButton* option : tabs.Interface().optSpreadsheet) {
        EXPECT_FALSE(option->isChecked());
    }
    tabs.Close();
    EXPECT_EQ(ReadFile(home.ConfigFile()), text);
}

TEST(InterfaceTabTest, TheDataSourceIsTheServerAndTheRowsFillAgainOnReselection) {
    ProgramHome home;
    TabsWindow tabs;
    tabs.Open(home);
    InterfaceTab& tab = tabs.Interface();
    tab.cInterface->setCurrentIndex(tab.cInterface->findText("ODBC"));
    Prompt(tab.btnDSN, [](frmPrompt& prompt) {
        prompt.Combo1->setEditText("Billing");
        prompt.btnOK->click();
    });
    PromptWith(tab.btnUser, "reader");
    PromptWith(tab.btnPassword, "s3cret");
    EXPECT_EQ(tab.cPassword->displayText(), "******");
    InterfaceRec record;
    ASSERT_TRUE(home.Config().GetInterface("ODBC", record));
    EXPECT_EQ(record.Server, "Billing");
    EXPECT_EQ(record.Password, "s3cret");
    testing::SavePicture(tabs.Window(), "interface-tab-odbc");

    tab.cInterface->setCurrentIndex(tab.cInterface->findText("AutoAdmin SQLDirect"));
    EXPECT_EQ(tab.cServer->text(), "");
    PromptWith(tab.btnServer, "db.example.org");
    PromptWith(tab.btnDatabase, "autoadmin");
    testing::SavePicture(tabs.Window(), "interface-tab-sqldirect");

    tab.cInterface->setCurrentIndex(tab.cInterface->findText("ODBC"));
    EXPECT_EQ(tab.cServer->text(), "Billing");
    EXPECT_EQ(tab.cDSN->text(), "Billing");
    EXPECT_EQ(tab.cUser->text(), "reader");
    ASSERT_TRUE(home.Config().GetInterface("SQLDirect", record));
    EXPECT_EQ(record.Server, "db.example.org");
}

TEST(InterfaceTabTest, RollFolderEnablesRollAndTheButtonsStartTheOtherWindows) {
    ProgramHome home;
    TabsWindow tabs;
    tabs.Open(home);
    InterfaceTab& tab = tabs.Interface();
    tab.cInterface->setCurrentIndex(tab.cInterface->findText("NorthStar"));
    EXPECT_FALSE(tab.btnReadingsRollLog->isEnabled());

    tabs.chooser->Answer("/srv/northstar/route.txt");
    Prompt(tab.btnRouteFile, [](frmPrompt& prompt) {
        prompt.btnBrowse->click();
        prompt.btnOK->click();
    });
    PromptWith(tab.btnReadingsFile, "/srv/northstar/readings.txt");
    tabs.chooser->Answer("/srv/northstar/rolled");
    Prompt(tab.btnReadingsRollFile, [](frmPrompt& prompt) {
        prompt.btnBrowse->click();
        prompt.btnOK->click();
    });
    ASSERT_EQ(tabs.chooser->All().size(), 2u);
    EXPECT_EQ(tabs.chooser->All()[1].dialog, ScriptedFileChooser::Dialog::kFolder);
    EXPECT_TRUE(tab.btnReadingsRollLog->isEnabled());
    InterfaceRec record;
    ASSERT_TRUE(home.Config().GetInterface("NORTHSTAR", record));
    EXPECT_EQ(record.RoutePath, "/srv/northstar/route.txt");
    EXPECT_EQ(record.ReadingsRollPath, "/srv/northstar/rolled");
    testing::SavePicture(tabs.Window(), "interface-tab-northstar");

    tab.btnReadingsRollLog->click();
    Prompt(tab.btnRouteFile, [](frmPrompt& prompt) {
        prompt.Text1->setText("/elsewhere");
        prompt.btnCancel->click();
    });
    EXPECT_EQ(tab.cRouteFile->text(), "/srv/northstar/route.txt");
    PromptWith(tab.btnReadingsRollFile, "");
    EXPECT_FALSE(tab.btnReadingsRollLog->isEnabled());

    tab.cInterface->setCurrentIndex(tab.cInterface->findText("Excel"));
    tab.btnFieldMap[0]->click();
    tab.btnFieldMap[1]->click();
    tab.btnTest->click();
    tab.btnInstall->click();
    EXPECT_EQ(tabs.actions, (std::vector<std::string>{
                                "roll /srv/northstar/readings.txt into /srv/northstar/rolled",
                                "route map over frmMain", "reading map over frmMain"}));
    // Each prompt was gone when its button's work ended.
    EXPECT_TRUE(tabs.Window().findChildren<frmPrompt*>().isEmpty());
}

}  // namespace
}  // namespace wexal::desktop
