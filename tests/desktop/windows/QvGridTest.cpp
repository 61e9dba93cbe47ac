// Keyboard and mouse sessions on the editable grid, offscreen, in a dialog
// whose default button must never see the editor's Enter.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

#include "desktop/core/QvGridColumn.h"
#include "desktop/windows/QvGrid.h"
#include "tests/desktop/windows/FixedClock.h"
#include "tests/desktop/windows/ScriptedGridSeams.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/desktop/windows/WindowPictures.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

enum Column { kSeq = 0, kCode, kText, kFlag, kNote, kWhen };

class QvGridTest : public ::testing::Test {
  protected:
    QvGridTest() {
        grid_ = new QvGrid({messages_, beeper_, clipboard_, clock_, &datePrompt_}, &dialog_);
        other_ = new QPushButton(QStringLiteral("Other"), &dialog_);
        other_->setDefault(true);
        auto* layout = new QVBoxLayout(&dialog_);
        layout->addWidget(grid_);
        layout->addWidget(other_);

        grid_->SetRows(1);
        grid_->SetCols(0);
        grid_->AddColumn("Sequence");
        grid_->AddColumn("Code", -1, kStyleUpperText, 2);
        grid_->AddColumn("Text", -1, kStyleText, 30);
        grid_->AddColumn("Flag", -1, kStyleCheckMark);
        grid_->AddColumn("Note", -1, -1);
        grid_->AddColumn("When", -1, kStyleDate);
        for (int row = 1; row <= 40; ++row) {
            grid_->AddRow({std::to_string(row), "", "", "", "fixed " + std::to_string(row)});
        }
        dialog_.resize(720, 320);
        dialog_.show();
        dialog_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog_, testing::kHangBoundMs));
    }

    QTableView& View() { return grid_->View(); }
    QLineEdit& Editor() { return *grid_->findChild<QLineEdit*>(QStringLiteral("txtInput")); }
    QRect CellRect(int row, int col) {
        return View().visualRect(View().model()->index(row - 1, col));
    }
    void Click(int row, int col) {
        View().scrollTo(View().model()->index(row - 1, col));
        QApplication::processEvents();
        QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, CellRect(row, col).center());
        QApplication::processEvents();
    }
    // Keys go where the focus is, as they would for a user.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
        QApplication::processEvents();
    }
    void Type(const char* text) {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
        QApplication::processEvents();
    }
    bool EditingAt(int row, int col) {
        return grid_->IsEditing() && Editor().isVisible() && Editor().hasFocus() &&
               grid_->Row() == row && grid_->Col() == col;
    }

    testing::ScriptedMessages messages_;
    testing::CountingBeeper beeper_;
    testing::ScriptedClipboard clipboard_;
    testing::FixedClock clock_{{2026, 12, 9, 10, 30, 0}};
    testing::ScriptedDatePrompt datePrompt_;
    QDialog dialog_;
    QvGrid* grid_;
    QPushButton* other_;
};

TEST_F(QvGridTest, EnterStoresAndMovesRightEscRestoresWithoutClosingTheDialog) {
    QSignalSpy pressed(other_, &QPushButton::clicked);
    Click(1, kCode);
    ASSERT_TRUE(EditingAt(1, kCode));
    EXPECT_EQ(Editor().maxLength(), 2);
    Type("ab7");  // upper-cased, two characters at most
    EXPECT_EQ(Editor().text(), "AB");
    Key(Qt::Key_Return);
    EXPECT_EQ(grid_->TextMatrix(1, kCode), "AB");
    EXPECT_TRUE(EditingAt(1, kText));

    Type("Gate locked");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Editor().text(), "");
    EXPECT_TRUE(EditingAt(1, kText));
    EXPECT_TRUE(dialog_.isVisible());
    Type("Dog");
    Key(Qt::Key_Enter);
    EXPECT_EQ(grid_->TextMatrix(1, kText), "Dog");
    EXPECT_TRUE(EditingAt(1, kFlag));

    // The last column: Enter stores and the cell stays current.
    Click(2, kWhen);
    Type("12");
    EXPECT_EQ(Editor().text(), "12/");
    Key(Qt::Key_Return);
    EXPECT_EQ(grid_->TextMatrix(2, kWhen), "12/");
    EXPECT_TRUE(EditingAt(2, kWhen));
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(QvGridTest, ArrowsMoveAndStopAtTheEdgeKeepingTheEdit) {
    Click(1, kCode);
    Type("a");
    Key(Qt::Key_Right);  // caret at the end
    EXPECT_EQ(grid_->TextMatrix(1, kCode), "A");
    ASSERT_TRUE(EditingAt(1, kText));
    Type("xy");
    Key(Qt::Key_Left);  // caret after the text: the caret moves
    EXPECT_TRUE(EditingAt(1, kText));
    Key(Qt::Key_Home);
    Key(Qt::Key_Left);
    EXPECT_TRUE(EditingAt(1, kCode));
    EXPECT_EQ(grid_->TextMatrix(1, kText), "xy");
    Key(Qt::Key_Down);
    EXPECT_TRUE(EditingAt(2, kCode));

    // No cell above row 1, none left of the fixed column, none past the
    // last row: the key does nothing and the typed text stays in the editor.
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    ASSERT_TRUE(EditingAt(1, kCode));
    Type("q");
    Key(Qt::Key_Up);
    Key(Qt::Key_Home);
    Key(Qt::Key_Left);
    EXPECT_TRUE(EditingAt(1, kCode));
    EXPECT_EQ(Editor().text(), "Q");
    grid_->SetRow(40);  // stores the edit before the current cell moves
    EXPECT_EQ(grid_->TextMatrix(1, kCode), "Q");
    Click(40, kText);
    Type("last");
    Key(Qt::Key_Down);
    EXPECT_TRUE(EditingAt(40, kText));
    EXPECT_EQ(Editor().text(), "last");
    other_->setFocus(Qt::TabFocusReason);  // leaving for another widget of the window stores
    EXPECT_EQ(grid_->TextMatrix(40, kText), "last");
    EXPECT_FALSE(grid_->IsEditing());
}

TEST_F(QvGridTest, FixedAndDisplayOnlyCellsNeverOpenAnEditor) {
    Click(3, kSeq);
    EXPECT_FALSE(grid_->IsEditing());
    Click(3, kNote);
    EXPECT_FALSE(grid_->IsEditing());
    EXPECT_EQ(grid_->Col(), kNote);
    EXPECT_FALSE(View().model()->flags(View().model()->index(2, kSeq)) & Qt::ItemIsEnabled);
    // Arrows from the first editable column pass over the fixed one.
    Click(3, kCode);
    Key(Qt::Key_Left);
    EXPECT_TRUE(EditingAt(3, kCode));
}

TEST_F(QvGridTest, RefusedChangeIsShownAndLeavesTheCell) {
    grid_->SetTextMatrix(1, kCode, "01");
    QObject::connect(grid_, &QvGrid::Change,
                     [](int row, int col, QString& value, bool& cancel, QString& errMsg) {
                         if (row == 1 && col == kCode && value == "02") {
                             cancel = true;
                             errMsg = "Code 02 is reserved";
                         } else if (value == "03") {
                             value = "04";  // a handler may replace the value
                         }
                     });
    QSignalSpy notified(grid_, &QvGrid::ChangeNotify);
    Click(1, kCode);
    Type("02");
    Key(Qt::Key_Return);
    EXPECT_EQ(grid_->TextMatrix(1, kCode), "01");
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Code 02 is reserved"});
    Click(2, kCode);
    Type("03");
    Key(Qt::Key_Return);
    EXPECT_EQ(grid_->TextMatrix(2, kCode), "04");
    // Leaving a cell unchanged raises nothing.
    Click(3, kCode);
    Key(Qt::Key_Return);
    EXPECT_EQ(notified.count(), 2);
}

TEST_F(QvGridTest, CopyCutAndPasteFollowTheStyle) {
    Click(1, kText);
    Type("Meter");
    Key(Qt::Key_C, Qt::ControlModifier);  // nothing selected: the whole text
    EXPECT_EQ(clipboard_.GetText(), "Meter");
    Key(Qt::Key_Home);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard_.GetText(), "M");
    EXPECT_EQ(Editor().text(), "eter");

    // Text cells paste at the caret, within the length.
    clipboard_.SetText("Meter blocked by a parked truck, again\nsecond line");
    Key(Qt::Key_End);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Editor().text(), "eterMeter blocked by a parked ");
    Key(Qt::Key_Return);

    // Upper-case cells take the whole text once, upper-cased and cut.
    Click(2, kCode);
    clipboard_.SetText("ab");
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Editor().text(), "AB");
    // "X" cells take nothing.
    Key(Qt::Key_Return);
    ASSERT_TRUE(EditingAt(2, kText));
    Key(Qt::Key_Return);
    ASSERT_TRUE(EditingAt(2, kFlag));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Editor().text(), "");
    Type("k");
    EXPECT_EQ(Editor().text(), "X");
    Key(Qt::Key_Space);
    EXPECT_EQ(Editor().text(), "");

    // Nothing else puts text in: no menu, no drops.
    EXPECT_EQ(Editor().contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(Editor().acceptDrops());
    EXPECT_EQ(beeper_.Count(), 0);
}

TEST_F(QvGridTest, DateCellsBeepAndAskTheDatePrompt) {
    Click(1, kWhen);
    Type("13");  // no thirteenth month
    EXPECT_EQ(Editor().text(), "1");
    EXPECT_EQ(beeper_.Count(), 1);
    clipboard_.SetText("yesterday");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(beeper_.Count(), 2);
    EXPECT_EQ(Editor().text(), "1");

    // Not a date yet: the prompt opens on today; its answer is stored.
    datePrompt_.Answer("1/5/2024");
    Key(Qt::Key_F3);
    EXPECT_EQ(datePrompt_.Shown(), std::vector<std::string>{"12/9/2026"});
    EXPECT_EQ(grid_->TextMatrix(1, kWhen), "1/5/2024");
    EXPECT_TRUE(EditingAt(1, kWhen));
    EXPECT_EQ(Editor().text(), "1/5/2024");
    datePrompt_.Answer(std::nullopt);
    Key(Qt::Key_F3);
    EXPECT_EQ(datePrompt_.Shown().back(), "1/5/2024");
    EXPECT_EQ(grid_->TextMatrix(1, kWhen), "1/5/2024");

    // Elsewhere F3 asks the host for a value.
    QObject::connect(grid_, &QvGrid::SearchClicked,
                     [](int, int, const QString& heading, QString& value, bool&) {
                         value = heading + " found";
                     });
    Click(1, kText);
    Key(Qt::Key_F3);
    EXPECT_EQ(Editor().text(), "Text found");
    EXPECT_EQ(grid_->TextMatrix(1, kText), "Text found");
    EXPECT_TRUE(EditingAt(1, kText));
}

TEST_F(QvGridTest, HeadingStaysWhileRowsScrollAndTheEditorFollowsItsCell) {
    Click(1, kText);
    const QPoint editorAt = Editor().pos();
    const QHeaderView& heading = *View().horizontalHeader();
    const int headingTop = heading.mapTo(&dialog_, QPoint(0, 0)).y();
    View().verticalScrollBar()->setValue(View().verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_GT(View().verticalScrollBar()->value(), 0);
    EXPECT_TRUE(heading.isVisible());
    EXPECT_EQ(heading.mapTo(&dialog_, QPoint(0, 0)).y(), headingTop);
    EXPECT_EQ(heading.model()->headerData(kText, Qt::Horizontal).toString(), "Text");
    EXPECT_LT(Editor().pos().y(), editorAt.y());
    EXPECT_EQ(Editor().geometry().topLeft(), CellRect(1, kText).topLeft() - QPoint(1, 1));
    testing::SavePicture(dialog_, "grid-scrolled");
}

TEST_F(QvGridTest, AnotherWindowTakingTheFocusKeepsTheEditOpen) {
    Click(1, kText);
    Type("pending");
    QWidget box;  // as a message box would
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box, testing::kHangBoundMs));
    EXPECT_TRUE(grid_->IsEditing());
    EXPECT_EQ(grid_->TextMatrix(1, kText), "");
    box.close();
    dialog_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog_, testing::kHangBoundMs));
    EXPECT_TRUE(EditingAt(1, kText));
    EXPECT_EQ(Editor().text(), "pending");
    grid_->CommitEdit();
    EXPECT_EQ(grid_->TextMatrix(1, kText), "pending");
}

TEST_F(QvGridTest, ValueListOffersItsEntries) {
    grid_->SetColumnAttributes(kNote, "Note", -1, kStyleValueList, -1, -1, -1, std::nullopt,
                               "R;Read,S;Skipped,Estimated");
    grid_->SetTextMatrix(1, kNote, "skipped");
    Click(1, kNote);
    auto* list = grid_->findChild<QComboBox*>(QStringLiteral("cboInput"));
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentText(), "Skipped");
    list->setCurrentIndex(2);
    Key(Qt::Key_Return);
    EXPECT_EQ(grid_->TextMatrix(1, kNote), "Estimated");
    EXPECT_TRUE(EditingAt(1, kWhen));
}

}  // namespace
}  // namespace wexal::desktop
