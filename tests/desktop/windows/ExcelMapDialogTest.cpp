// The two Excel mapping dialogs: what they show, what Save writes into the
// record and WexalDT.cfg, and what Cancel, the close box and a failed write
// leave behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "desktop/windows/frmExcelReadingMap.h"
#include "desktop/windows/frmExcelRouteMap.h"
#include "tests/desktop/windows/ExcelMapDialogs.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/desktop/windows/WindowPictures.h"

namespace wexal::testing {
namespace {

namespace fs = std::filesystem;
using desktop::frmExcelReadingMap;
using desktop::frmExcelRouteMap;
using Texts = std::vector<std::string>;

std::string Text(const QWidget& window, const std::string& label) {
    return Child<QLabel>(window, label).text().toStdString();
}

Texts Items(const QWidget& window, const std::string& list) {
    const QComboBox& box = Child<QComboBox>(window, list);
    Texts items;
    for (int i = 0; i < box.count(); ++i) {
        items.push_back(box.itemText(i).toStdString());
    }
    return items;
}

std::string Shown(const QWidget& window, const std::string& list) {
    return Child<QComboBox>(window, list).currentText().toStdString();
}

const Texts kOffsetChoices = {"[None]",  "Usage Col", "1 Right", "1 Left", "2 Right", "2 Left",
                              "3 Right", "3 Left",    "4 Right", "4 Left", "5 Right", "5 Left",
                              "6 Right", "6 Left",    "7 Right", "7 Left"};

const Texts kRouteLabels = {"MeterTagNbr", "MeterSerialNbr", "MeterType",         "Sequence",
                            "Digits",      "BillingName",    "ServiceAddress(*)", "House Number",
                            "Location",    "Message",        "LstReadingDate",    "ReadType",
                            "UserDef"};

std::string Row(const char* name, std::size_t row) {
    return std::string(name) + "(" + std::to_string(row) + ")";
}

// Rows one pitch apart, the footer right below the last one, nothing cut.
void ExpectRowGeometry(const QWidget& window, std::size_t rows) {
    for (std::size_t row = 1; row <= rows; ++row) {
        const int divider = Child<QFrame>(window, Row("linDiv", row)).y();
        const int above = row == 1 ? Child<QFrame>(window, "linHeading").y()
                                   : Child<QFrame>(window, Row("linDiv", row - 1)).y();
        EXPECT_EQ(divider - above, 22) << "row " << row;  // 330 twips
        EXPECT_GT(Child<QComboBox>(window, Row("cboCol", row)).y(), above);
        EXPECT_LT(Child<QComboBox>(window, Row("cboCol", row)).geometry().bottom(), divider);
    }
    const QWidget& footer = Child<QWidget>(window, "picFooter");
    EXPECT_EQ(footer.y() - Child<QFrame>(window, Row("linDiv", rows)).y(), 15);  // 220 twips
    EXPECT_EQ(footer.geometry().bottom() + 1, window.height());
    EXPECT_EQ(Child<QPushButton>(window, "OKButton").text(), "Save");
    EXPECT_EQ(Child<QPushButton>(window, "CancelButton").text(), "Cancel");
}

class ExcelMapDialogTest : public ::testing::Test {
  protected:
    // Every message box of the dialogs has the program's title and OK only.
    Texts MessageBoxes() const {
        Texts texts;
        for (const ScriptedMessages::Shown& shown : messages_.All()) {
            EXPECT_EQ(shown.kind, ScriptedMessages::Kind::kMessageBox);
            EXPECT_EQ(shown.title, "WexalDT");
            EXPECT_EQ(shown.buttons, desktop::Messages::Buttons::kOk);
            texts.push_back(shown.text);
        }
        return texts;
    }

    // The Save that stops: its message, with the focus where it went.
    std::string Refused(QDialog& dialog, const std::string& focus) {
        messages_.Clear();
        Click(dialog, "OKButton");
        const Texts texts = MessageBoxes();
        EXPECT_EQ(texts.size(), 1u);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), &Child<QWidget>(dialog, focus));
        EXPECT_FALSE(fs::exists(home_.File()));
        return texts.empty() ? std::string() : texts.front();
    }

    ExcelConfigHome home_;
    ScriptedMessages messages_;
};

TEST_F(ExcelMapDialogTest, RouteDialogShowsItsControlsAndTheStoredMap) {
    desktop::InterfaceUpdate stored;
    stored.WorksheetDataStart = 4;
    stored.WorksheetUsageRow = 3;
    stored.RouteMap = desktop::MapSlots{"PrvReading/-2", "MinReading/12.5",  "MaxReading/150",
                                        "MeterTagNbr/D", "ServiceAddress/B", "MeterTagNbr/E",
                                        "Location/",     "UserDef/ZZ",       "Digits/c"};
    home_.Config.UpdateInterface(std::string_view("EXCEL"), stored);
    frmExcelRouteMap dialog(home_.Config, messages_);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), "Route Field Mapping");
    EXPECT_EQ(Text(dialog, "lblStartingRow"), "Starting Row:");
    EXPECT_EQ(Text(dialog, "lblUsageRow"), "\"USAGE\" Row:");
    EXPECT_EQ(Text(dialog, "lblSpecHeading"), "Position Relative to \"Usage\" Column");
    EXPECT_EQ(Text(dialog, "lblSpec(0)"), "Previous Reading");
    EXPECT_EQ(Text(dialog, "lblFixedHeading"), "Percentage(%) of Prior Usage (%) ");
    EXPECT_EQ(Text(dialog, "lblFixed(0)"), "Increase Minimum");
    EXPECT_EQ(Text(dialog, "lblFixed(1)"), "Increase Maximum");
    EXPECT_EQ(Text(dialog, "lblFieldHeading"), "Data Field");
    EXPECT_EQ(Text(dialog, "lblColumnHeading"), "Spreadsheet Column");
    EXPECT_EQ(Items(dialog, "cboSpec(0)"), kOffsetChoices);
    Texts columns = {"[None]"};
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        columns.emplace_back(1, letter);
    }
    Texts labels;
    for (std::size_t row = 1; row <= kRouteLabels.size(); ++row) {
        labels.push_back(Text(dialog, Row("lblDataField", row)));
        EXPECT_EQ(Items(dialog, Row("cboCol", row)), columns);
        EXPECT_FALSE(Child<QComboBox>(dialog, Row("cboCol", row)).isEditable());
    }
    EXPECT_EQ(labels, kRouteLabels);
    EXPECT_EQ(dialog.findChild<QComboBox*>("cboCol(14)"), nullptr);
    ExpectRowGeometry(dialog, kRouteLabels.size());

    EXPECT_EQ(Child<QLineEdit>(dialog, "nStartingRow").text(), "4");
    EXPECT_EQ(Child<QLineEdit>(dialog, "nUsageRow").text(), "3");
    EXPECT_EQ(Shown(dialog, "cboSpec(0)"), "2 Left");
    EXPECT_EQ(Child<QLineEdit>(dialog, "nFixed(0)").text(), "12.5");
    EXPECT_EQ(Child<QLineEdit>(dialog, "nFixed(1)").text(), "150");
    Texts shown;
    for (std::size_t row = 1; row <= kRouteLabels.size(); ++row) {
        shown.push_back(Shown(dialog, Row("cboCol", row)));
    }
    // The lower slot counts; an empty value, a lower-case letter: "[None]".
    EXPECT_EQ(shown, (Texts{"D", "[None]", "[None]", "[None]", "[None]", "[None]", "B", "[None]",
                            "[None]", "[None]", "[None]", "[None]", "Z"}));
    SavePicture(dialog, "excel-route-map");
}

TEST_F(ExcelMapDialogTest, RouteSaveRefusesMissingRowsAndRequiredColumns) {
    frmExcelRouteMap dialog(home_.Config, messages_);
    dialog.show();
    EXPECT_EQ(Child<QLineEdit>(dialog, "nStartingRow").text(), "0");
    EXPECT_EQ(Child<QLineEdit>(dialog, "nUsageRow").text(), "0");
    EXPECT_EQ(Shown(dialog, "cboSpec(0)"), "[None]");
    EXPECT_EQ(Child<QLineEdit>(dialog, "nFixed(0)").text(), "");

    EXPECT_EQ(Refused(dialog, "nStartingRow"), "Starting row is required");
    Type(dialog, "nStartingRow", "letters");
    EXPECT_EQ(Refused(dialog, "nStartingRow"), "Starting row is required");
    Type(dialog, "nStartingRow", "99999");
    EXPECT_EQ(Refused(dialog, "nStartingRow"), "Starting row is required");
    Type(dialog, "nStartingRow", "12abc");
    EXPECT_EQ(Refused(dialog, "nUsageRow"), "\"Usage\" row is required");
    Type(dialog, "nUsageRow", "-99999");
    EXPECT_EQ(Refused(dialog, "nUsageRow"), "\"Usage\" row is required");
    Type(dialog, "nUsageRow", "1");
    Type(dialog, "nFixed(1)", "1e400");
    EXPECT_EQ(Refused(dialog, "nFixed(1)"), "Overflow");
    Type(dialog, "nFixed(1)", "");
    // The rows of the example, MeterTagNbr and House Number at "C".
    Pick(dialog, "cboCol(1)", "C");
    Pick(dialog, "cboCol(8)", "C");
    EXPECT_EQ(Refused(dialog, "cboCol(7)"),
              "Data columns identified with (*) are required to be mapped");
    EXPECT_EQ(home_.Excel().RouteMap, desktop::MapSlots{});
    EXPECT_EQ(home_.Excel().WorksheetDataStart, 0);
}

TEST_F(ExcelMapDialogTest, RouteSaveWritesTheRowsAndTheMapInFixedOrder) {
    desktop::InterfaceUpdate earlier;
    earlier.RouteMap = desktop::MapSlots{"Hand Added/Q", "MeterType/F"};
    earlier.ReadingMap = desktop::MapSlots{"", "CurReading/+1"};
    earlier.SelectedSpreadsheet = 2;
    home_.Config.UpdateInterface(std::string_view("EXCEL"), earlier);
    frmExcelRouteMap dialog(home_.Config, messages_);
    dialog.show();
    Type(dialog, "nStartingRow", "12abc");
    Type(dialog, "nUsageRow", "2.5");
    Pick(dialog, "cboCol(3)", "[None]");
    Pick(dialog, "cboCol(1)", "C");
    Pick(dialog, "cboCol(7)", "B");
    Pick(dialog, "cboCol(8)", "C");
    Click(dialog, "OKButton");
    EXPECT_EQ(MessageBoxes(), Texts{});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const desktop::InterfaceRec record = home_.Excel();
    EXPECT_EQ(record.WorksheetDataStart, 12);
    EXPECT_EQ(record.WorksheetUsageRow, 2);  // a half goes to the even row
    EXPECT_EQ(record.RouteMap,
              (desktop::MapSlots{"PrvReading/", "MinReading/0", "MaxReading/0", "MeterTagNbr/C",
                                 "ServiceAddress/B", "House Number/C"}));
    EXPECT_EQ(record.ReadingMap, *earlier.ReadingMap);
    EXPECT_EQ(record.SelectedSpreadsheet, 2);
    EXPECT_EQ(ReadFile(home_.File()), DataFile("route-map.cfg"));
}

TEST_F(ExcelMapDialogTest, ReadingDialogShowsAndSavesOffsetsOnly) {
    desktop::InterfaceUpdate earlier;
    earlier.WorksheetDataStart = 5;
    earlier.WorksheetUsageRow = 4;
    earlier.SelectedSpreadsheet = 3;
    earlier.RouteMap =
        desktop::MapSlots{"PrvReading/-1", "MinReading/50", "MaxReading/150", "ServiceAddress/B"};
    earlier.ReadingMap =
        desktop::MapSlots{"ReadingTime/+3", "CurReading/G", "Response Text/-7", "ReadingTime/+4"};
    home_.Config.UpdateInterface(std::string_view("EXCEL"), earlier);
    const desktop::InterfaceRec before = home_.Excel();
    frmExcelReadingMap dialog(home_.Config, messages_);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), "Reading Field Mapping");
    EXPECT_EQ(Text(dialog, "lblFieldHeading"), "Data Field");
    EXPECT_EQ(Text(dialog, "lblColumnHeading"), "Position Relative to \"Usage\" Column");
    Texts labels;
    Texts shown;
    for (std::size_t row = 1; row <= 5; ++row) {
        labels.push_back(Text(dialog, Row("lblDataField", row)));
        shown.push_back(Shown(dialog, Row("cboCol", row)));
        EXPECT_EQ(Items(dialog, Row("cboCol", row)), kOffsetChoices);
    }
    EXPECT_EQ(labels, (Texts{"CurReading", "ReadingDate", "ReadingTime", "Response Code",
                             "Response Text"}));
    // A letter selects nothing; the lower of two slots counts.
    EXPECT_EQ(shown, (Texts{"", "[None]", "3 Right", "[None]", "7 Left"}));
    EXPECT_EQ(dialog.findChild<QComboBox*>("cboCol(6)"), nullptr);
    ExpectRowGeometry(dialog, 5);

    Pick(dialog, "cboCol(1)", "Usage Col");
    Pick(dialog, "cboCol(2)", "1 Right");
    Pick(dialog, "cboCol(3)", "[None]");
    Pick(dialog, "cboCol(4)", "2 Right");
    Pick(dialog, "cboCol(5)", "[None]");
    SavePicture(dialog, "excel-reading-map");
    Click(dialog, "OKButton");
    EXPECT_EQ(MessageBoxes(), Texts{});
    EXPECT_FALSE(dialog.isVisible());

    desktop::InterfaceRec expected = before;
    expected.ReadingMap =
        desktop::MapSlots{"", "CurReading/0", "ReadingDate/+1", "Response Code/+2"};
    const desktop::InterfaceRec after = home_.Excel();
    EXPECT_EQ(after.ReadingMap, expected.ReadingMap);
    EXPECT_EQ(after.RouteMap, before.RouteMap);
    EXPECT_EQ(after.WorksheetDataStart, 5);
    EXPECT_EQ(after.WorksheetUsageRow, 4);
    EXPECT_EQ(after.SelectedSpreadsheet, 3);
    EXPECT_EQ(after.Workbook, before.Workbook);
    EXPECT_EQ(ReadFile(home_.File()), DataFile("reading-map.cfg"));
}

TEST_F(ExcelMapDialogTest, CancelAndTheCloseBoxStoreNothing) {
    home_.Config.UpdateInterface(std::string_view("EXCEL"),
                                 {.WorksheetDataStart = 2,
                                  .WorksheetUsageRow = 1,
                                  .RouteMap = desktop::MapSlots{"ServiceAddress/B"},
                                  .ReadingMap = desktop::MapSlots{"", "CurReading/+1"}});
    ASSERT_TRUE(home_.Config.SaveConfig());
    const std::string file = ReadFile(home_.File());
    for (const bool route : {true, false}) {
        for (const bool closeBox : {false, true}) {
            SCOPED_TRACE(std::string(route ? "route" : "reading") +
                         (closeBox ? " close box" : " Cancel"));
            std::unique_ptr<QDialog> dialog;
            if (route) {
                dialog = std::make_unique<frmExcelRouteMap>(home_.Config, messages_);
                dialog->show();
                Type(*dialog, "nStartingRow", "9");
                Pick(*dialog, "cboCol(1)", "Q");
            } else {
                dialog = std::make_unique<frmExcelReadingMap>(home_.Config, messages_);
                dialog->show();
                Pick(*dialog, "cboCol(1)", "5 Left");
            }
            if (closeBox) {
                dialog->close();
            } else {
                Click(*dialog, "CancelButton");
            }
            EXPECT_FALSE(dialog->isVisible());
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
            EXPECT_EQ(ReadFile(home_.File()), file);
            EXPECT_EQ(home_.Excel().WorksheetDataStart, 2);
            EXPECT_EQ(home_.Excel().RouteMap, desktop::MapSlots{"ServiceAddress/B"});
            EXPECT_EQ(home_.Excel().ReadingMap, (desktop::MapSlots{"", "CurReading/+1"}));
        }
    }
    EXPECT_EQ(MessageBoxes(), Texts{});
}

TEST_F(ExcelMapDialogTest, AFileThatCannotBeWrittenIsReportedAndTheDialogCloses) {
    // The configuration folder is a file now: nothing can be written in it,
    // whoever runs the test.
    fs::remove_all(home_.File().parent_path());
    WriteFile(home_.File().parent_path(), "not a folder");
    for (const bool route : {true, false}) {
        SCOPED_TRACE(route ? "route" : "reading");
        messages_.Clear();
        std::unique_ptr<QDialog> dialog;
        if (route) {
            dialog = std::make_unique<frmExcelRouteMap>(home_.Config, messages_);
            dialog->show();
            Type(*dialog, "nStartingRow", "2");
            Type(*dialog, "nUsageRow", "1");
            Pick(*dialog, "cboCol(7)", "B");
        } else {
            dialog = std::make_unique<frmExcelReadingMap>(home_.Config, messages_);
            dialog->show();
            Pick(*dialog, "cboCol(1)", "1 Right");
        }
        Click(*dialog, "OKButton");
        ASSERT_EQ(messages_.All().size(), 1u);
        EXPECT_EQ(messages_.All()[0].kind, ScriptedMessages::Kind::kMessageWindow);
        EXPECT_EQ(messages_.All()[0].text, "Unable to save configuration");
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
    }
    // The answers wait in memory for the save when the main window closes.
    EXPECT_EQ(home_.Excel().WorksheetDataStart, 2);
    EXPECT_EQ(home_.Excel().RouteMap[3], "ServiceAddress/B");
    EXPECT_EQ(home_.Excel().ReadingMap[1], "CurReading/+1");
    EXPECT_EQ(ReadFile(home_.File().parent_path()), "not a folder");
}

TEST_F(ExcelMapDialogTest, TheButtonsFunctionsShowTheDialogsModally) {
    for (const bool route : {true, false}) {
        std::string seen;
        QTimer::singleShot(0, [&seen] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr) {
                seen = modal->objectName().toStdString() + " " + modal->windowTitle().toStdString();
                Click(*modal, "CancelButton");
            }
        });
        if (route) {
            desktop::ShowExcelRouteMap(home_.Config, messages_);
        } else {
            desktop::ShowExcelReadingMap(home_.Config, messages_);
        }
        EXPECT_EQ(seen, route ? "frmExcelRouteMap Route Field Mapping"
                              : "frmExcelReadingMap Reading Field Mapping");
    }
    EXPECT_FALSE(fs::exists(home_.File()));
}

}  // namespace
}  // namespace wexal::testing
