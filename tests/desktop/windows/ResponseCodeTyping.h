// Typing into a cell of the response-code editor as the user does: a click
// on the cell, then the keys.
#pragma once

#include <QApplication>
#include <QTableView>
#include <QTest>

#include "desktop/windows/frmResponseCodes.h"

namespace wexal::testing {

// `row` counts from 1, as the editor's rows do.
inline void TypeIntoCell(desktop::frmResponseCodes& editor, int row, int col, const char* text) {
    QTableView& view = editor.Grid().View();
    const QModelIndex cell = view.model()->index(row - 1, col);
    view.scrollTo(cell);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(cell).center());
    QApplication::processEvents();
    QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
}

}  // namespace wexal::testing
