// The edit prompt: each kind's caption, label, box and browse dialog; OK,
// Cancel and the close box; the worksheet list of a real workbook; the data
// sources of a scratch ODBC set-up; values the conduit would read cut; and
// its pictures.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <filesystem>

#include "desktop/core/ConduitValueLimits.h"
#include "desktop/windows/DialogFileChooser.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/desktop/windows/TabsWindow.h"
#include "tests/desktop/windows/WindowPictures.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedFileChooser;
using testing::ScriptedMessages;
using testing::TempDir;
using testing::WhenPromptOpens;
using testing::WriteFile;
using Dialog = ScriptedFileChooser::Dialog;

// A prompt over boxes that stand for the main window's.
struct PromptBench {
    ScriptedFileChooser chooser;
    ScriptedMessages messages;
    QLineEdit box;
    QLineEdit sheetBox;

    // Runs one prompt of `kind`; `act` works it and closes it.
    void Run(std::int32_t kind, std::function<void(frmPrompt&)> act, std::int16_t index = 0) {
        frmPrompt prompt(chooser, messages);
        WhenPromptOpens(std::move(act));
        prompt.Display(kind, index, {&box, &sheetBox});
    }
};

TEST(PromptTest, EachKindShowsItsBoxAndOkWritesItWhileCancelAndCloseWriteNothing) {
    struct Case {
        std::int32_t kind;
        const char* caption;
        const char* label;
    };
    const std::vector<Case> cases = {
        {3, "Route File", "File Name:"},
        {4, "Readings File", "File Name:"},
        {5, "Readings Roll Folder", "Roll Folder:"},
        {8, "SQL Server Name", "New Value:"},
        {9, "SQL User ID", "New Value:"},
        {10, "SQL Password", "New Value:"},
        {11, "SQL Database", "New Value:"},
        {13, "Exceptions Capture File", "File Name:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        PromptBench bench;
        bench.box.setText("old value");
        bench.Run(c.kind, [&](frmPrompt& prompt) {
            EXPECT_EQ(prompt.windowTitle(), c.caption);
            EXPECT_EQ(prompt.Label1->text(), c.label);
            EXPECT_EQ(prompt.Text1->text(), "old value");
            EXPECT_EQ(prompt.Text1->selectedText(), "old value");
            EXPECT_EQ(prompt.Text1->echoMode(),
                      c.kind == 10 ? QLineEdit::Password : QLineEdit::Normal);
            EXPECT_TRUE(prompt.btnBrowse->isVisible());
            EXPECT_FALSE(prompt.Combo1->isVisible());
            EXPECT_FALSE(prompt.Combo2->isVisible());
            if (c.kind == 3 || c.kind == 10) {
                testing::SavePicture(
                    prompt, c.kind == 3 ? "prompt-kind-3-route-file" : "prompt-kind-10-password");
            }
            prompt.Text1->setText("new value");
            prompt.btnCancel->click();
        });
        EXPECT_EQ(bench.box.text(), "old value");
        bench.Run(c.kind, [](frmPrompt& prompt) {
            prompt.Text1->setText("new value");
            prompt.close();
        });
        EXPECT_EQ(bench.box.text(), "old value");
        bench.Run(c.kind, [](frmPrompt& prompt) {
            prompt.Text1->setText("");
            QTest::keyClicks(prompt.Text1, "typed");
            QTest::keyClick(prompt.Text1, Qt::Key_Return);
        });
        EXPECT_EQ(bench.box.text(), "typed");
    }

    // A kind the window never asks for writes nothing.
    PromptBench bench;
    bench.box.setText("kept");
    bench.Run(6, [](frmPrompt& prompt) {
        EXPECT_EQ(prompt.Label1->text(), "New Value:");
        EXPECT_EQ(prompt.Text1->text(), "");
        prompt.Text1->setText("x");
        prompt.btnOK->click();
    });
    EXPECT_EQ(bench.box.text(), "kept");
}

TEST(PromptTest, BrowseAsksForTheKindsDialogAndACancelChangesNothing) {
    struct Case {
        std::int32_t kind;
        std::optional<Dialog> dialog;
        const char* filter;
    };
    const std::vector<Case> cases = {
        {3, Dialog::kOpen, "All Files (*.*)|*.*"},
        {4, Dialog::kSave, "All Files (*.*)|*.*"},
        {5, Dialog::kFolder, ""},
        {7, Dialog::kSave, "Spreadsheet (*.xlsx)|*.xlsx|All Files (*.*)|*.*"},
        {8, std::nullopt, ""},
        {11, std::nullopt, ""},
        {13, Dialog::kSave, "All Files (*.*)|*.*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        PromptBench bench;
        bench.box.setText("/start/here");
        bench.chooser.Answer("/chosen/path");
        bench.chooser.Answer(std::nullopt);
        bench.Run(c.kind, [&](frmPrompt& prompt) {
            prompt.btnBrowse->click();
            EXPECT_EQ(prompt.Text1->text(), c.dialog ? "/chosen/path" : "/start/here");
            EXPECT_EQ(prompt.focusWidget(), prompt.btnOK);
            prompt.Text1->setFocus();
            prompt.btnBrowse->click();
            EXPECT_EQ(prompt.Text1->text(), c.dialog ? "/chosen/path" : "/start/here");
            // A cancelled dialog leaves the focus; no dialog moves it to OK.
            EXPECT_EQ(prompt.focusWidget(),
                      c.dialog ? static_cast<QWidget*>(prompt.Text1) : prompt.btnOK);
            prompt.btnOK->click();
        });
        if (!c.dialog) {
            EXPECT_TRUE(bench.chooser.All().empty());
            continue;
        }
        ASSERT_EQ(bench.chooser.All().size(), 2u);
        const ScriptedFileChooser::Asked& asked = bench.chooser.All()[0];
        EXPECT_EQ(asked.dialog, *c.dialog);
        EXPECT_EQ(asked.request.InitialName, "/start/here");
        EXPECT_EQ(asked.request.Filter, c.filter);
        EXPECT_EQ(asked.request.Title, bench.chooser.All()[1].request.Title);
        EXPECT_EQ(bench.chooser.All()[1].request.InitialName, "/chosen/path");
        EXPECT_EQ(bench.box.text(), "/chosen/path");
    }
}

TEST(PromptTest, FiltersBecomeQtNameFiltersThatMatchEveryName) {
    EXPECT_EQ(NameFilters("Spreadsheet (*.xlsx)|*.xlsx|All Files (*.*)|*.*"),
              (QStringList{"Spreadsheet (*.xlsx) (*.xlsx)", "All Files (*.*) (*)"}));
    EXPECT_EQ(NameFilters("Texts|*.txt;*.csv"), QStringList{"Texts (*.txt *.csv)"});
    EXPECT_EQ(NameFilters(""), QStringList{});
}

class WorksheetListTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::MakeWorkbook(workbook_, {"Route 7", "Spare", "Summary"}); }

    TempDir dir_;
    fs::path workbook_ = dir_ / "routes.xlsx";
    PromptBench bench_;
};

TEST_F(WorksheetListTest, ListsTheWorksheetsAndSelectsTheRowsSheet) {
    bench_.box.setText(QString::fromStdString(workbook_.string()));
    bench_.sheetBox.setText(" spare ");
    bench_.Run(7, [](frmPrompt& prompt) {
        EXPECT_EQ(prompt.windowTitle(), "Spreadsheet File");
        ASSERT_TRUE(prompt.Combo2->isVisible());
        EXPECT_EQ(prompt.Label2->text(), "Worksheet");
        EXPECT_TRUE(prompt.Label2->isVisible());
        QStringList sheets;
        for (int i = 0; i < prompt.Combo2->count(); ++i) {
            sheets.append(prompt.Combo2->itemText(i));
        }
        // Worksheets only, in workbook order.
        EXPECT_EQ(sheets, (QStringList{"Route 7", "Spare", "Summary"}));
        EXPECT_EQ(prompt.Combo2->currentText(), "Spare");
        EXPECT_TRUE(prompt.isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        testing::SavePicture(prompt, "prompt-kind-7-worksheets");
        prompt.btnOK->click();
    });
    EXPECT_EQ(bench_.sheetBox.text(), "Spare");

    // A sheet the workbook no longer has is kept.
    bench_.sheetBox.setText("Gone");
    bench_.Run(7, [](frmPrompt& prompt) {
        EXPECT_EQ(prompt.Combo2->count(), 4);
        EXPECT_EQ(prompt.Combo2->currentText(), "Gone");
        prompt.btnOK->click();
    });
    EXPECT_EQ(bench_.sheetBox.text(), "Gone");
}

TEST_F(WorksheetListTest, OnlyAnExistingRegularFileIsOpenedAndAFailureIsShown) {
    WriteFile(dir_ / "broken.xlsx", "not a workbook");
    bench_.box.setText("/no/such/book.xlsx");
    bench_.sheetBox.setText("Route 7");
    bench_.Run(7, [&](frmPrompt& prompt) {
        EXPECT_FALSE(prompt.Combo2->isVisible());
        // A folder, and a name being typed, are no workbooks.
        prompt.Text1->setText(QString::fromStdString(dir_.path().string() + "/"));
        prompt.Text1->setText(QString::fromStdString((dir_ / "*.xlsx").string()));
        EXPECT_TRUE(bench_.messages.All().empty());
        prompt.Text1->setText(QString::fromStdString(workbook_.string()));
        EXPECT_EQ(prompt.Combo2->count(), 3);
        prompt.Combo2->setCurrentIndex(1);
        prompt.Text1->setText(QString::fromStdString((dir_ / "broken.xlsx").string()));
        ASSERT_EQ(bench_.messages.All().size(), 1u);
        EXPECT_EQ(bench_.messages.All()[0].title, "WexalDT");
        EXPECT_NE(bench_.messages.All()[0].text.find("broken.xlsx"), std::string::npos);
        // The list keeps what it had, and the dialog is usable again.
        EXPECT_EQ(prompt.Combo2->count(), 3);
        EXPECT_TRUE(prompt.isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        prompt.btnOK->click();
    });
    EXPECT_EQ(bench_.sheetBox.text(), "Spare");

    // No workbook: the row's sheet goes back as it was.
    bench_.box.setText("");
    bench_.Run(7, [](frmPrompt& prompt) {
        EXPECT_FALSE(prompt.Combo2->isVisible());
        prompt.btnOK->click();
    });
    EXPECT_EQ(bench_.sheetBox.text(), "Spare");
}

// A scratch ODBC set-up of the user's own sources; the system's (whose
// folder the driver manager takes once per process) follow them.
class DataSourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile(dir_ / "user.ini",
                  "[Billing]\nDriver=Scratch\n\n[Meter Reads 2]\nDriver=Scratch\n");
    }

    TempDir dir_;
    testing::ScopedEnv odbcIni_{"ODBCINI", (dir_ / "user.ini").string()};
    PromptBench bench_;
};

TEST_F(DataSourceTest, ListsTheSourcesOfTheDriverManagerAndSelectsTheStoredOne) {
    QProcess odbcinst;
    odbcinst.start("odbcinst", {"-q", "-s"});
    ASSERT_TRUE(odbcinst.waitForFinished(testing::kHangBoundMs));
    QStringList expected;
    for (const QString& line : QString::fromUtf8(odbcinst.readAllStandardOutput()).split('\n')) {
        if (line.startsWith('[')) {
            expected.append(line.mid(1, line.size() - 2));
        }
    }
    ASSERT_GE(expected.size(), 2);
    EXPECT_EQ(expected.mid(0, 2), (QStringList{"Billing", "Meter Reads 2"}));

    bench_.box.setText("Meter Reads 2");
    bench_.Run(12, [&](frmPrompt& prompt) {
        EXPECT_EQ(prompt.windowTitle(), "DSN");
        EXPECT_EQ(prompt.Label1->text(), "Data Source:");
        EXPECT_FALSE(prompt.Text1->isVisible());
        EXPECT_TRUE(prompt.Combo1->isVisible());
        QStringList listed;
        for (int i = 0; i < prompt.Combo1->count(); ++i) {
            listed.append(prompt.Combo1->itemText(i));
        }
        EXPECT_EQ(listed, expected);
        EXPECT_EQ(prompt.Combo1->currentText(), "Meter Reads 2");
        testing::SavePicture(prompt, "prompt-kind-12-data-sources");
        prompt.Combo1->setCurrentIndex(0);
        prompt.btnOK->click();
    });
    EXPECT_EQ(bench_.box.text(), "Billing");

    // Gone from the list: the field starts empty; a typed name is taken.
    bench_.box.setText("billing");
    bench_.Run(12, [](frmPrompt& prompt) {
        EXPECT_EQ(prompt.Combo1->currentIndex(), -1);
        EXPECT_EQ(prompt.Combo1->currentText(), "");
        prompt.Combo1->setEditText("Not Listed");
        prompt.btnOK->click();
    });
    EXPECT_EQ(bench_.box.text(), "Not Listed");
}

// The conduit reads each line in 127-byte pieces: a value the conduit would
// read cut is refused, and the prompt stays open.
TEST(PromptTest, RefusesAValueTheConduitWouldReadCutAtItsExactLimit) {
    struct Case {
        std::int32_t kind;
        std::size_t limit;
    };
    const std::vector<Case> cases = {{3, 117},  {4, 114}, {13, 112}, {8, 120},
                                     {12, 120}, {9, 118}, {10, 118}, {11, 118}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        PromptBench bench;
        const auto setValue = [&c](frmPrompt& prompt, const QString& value) {
            if (c.kind == 12) {
                prompt.Combo1->setEditText(value);
            } else {
                prompt.Text1->setText(value);
            }
        };
        // "é" is two bytes: one byte over.
        const QString over = QString(int(c.limit) - 1, 'a') + QString::fromUtf8("é");
        const QString at = QString(int(c.limit) - 2, 'a') + QString::fromUtf8("é");
        bench.Run(c.kind, [&](frmPrompt& prompt) {
            setValue(prompt, over);
            prompt.btnOK->click();
            ASSERT_EQ(bench.messages.Texts().size(), 1u);
            EXPECT_NE(
                bench.messages.Texts()[0].find("at most " + std::to_string(c.limit) + " bytes"),
                std::string::npos)
                << bench.messages.Texts()[0];
            EXPECT_TRUE(prompt.isVisible());
            setValue(prompt, QStringLiteral("two\nlines"));
            prompt.btnOK->click();
            EXPECT_EQ(bench.messages.Texts().size(), 2u);
            EXPECT_TRUE(prompt.isVisible());
            setValue(prompt, at + "  ");
            prompt.btnOK->click();
        });
        EXPECT_EQ(bench.messages.Texts().size(), 2u);
        EXPECT_EQ(bench.box.text(), at + "  ");
    }

    // A workbook row: the workbook and the worksheet each by its own key.
    PromptBench bench;
    bench.Run(
        7,
        [&](frmPrompt& prompt) {
            prompt.Combo2->addItem(QString(116, 's'));
            prompt.Combo2->addItem(QString(117, 's'));
            prompt.Combo2->setCurrentIndex(1);
            prompt.Text1->setText(QString(117, 'w'));
            prompt.btnOK->click();
            EXPECT_EQ(bench.messages.Texts().size(), 1u);
            prompt.Combo2->setCurrentIndex(0);
            prompt.Text1->setText(QString(118, 'w'));
            prompt.btnOK->click();
            EXPECT_EQ(bench.messages.Texts().size(), 2u);
            prompt.Text1->setText(QString(117, 'w'));
            prompt.btnOK->click();
        },
        4);
    EXPECT_EQ(bench.box.text(), QString(117, 'w'));
    EXPECT_EQ(bench.sheetBox.text(), QString(116, 's'));

    // The roll folder is never read by the conduit: any length.
    bench.Run(5, [](frmPrompt& prompt) {
        prompt.Text1->setText(QString(400, 'r'));
        prompt.btnOK->click();
    });
    EXPECT_EQ(bench.box.text(), QString(400, 'r'));
}

}  // namespace
}  // namespace wexal::desktop
