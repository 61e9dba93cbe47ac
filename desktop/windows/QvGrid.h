// The program's editable grid: a table view over a QvGridStore with typed
// columns. An editor opens over the current cell when the cell is entered:
// the edit box `txtInput`, which passes every typed character through the
// keystroke filter of the column's style, or the drop-down list `cboInput`
// for value-list columns. An edit is stored when the cell is left, when the
// focus goes to another widget of the same window, or when the caller
// commits it; a Change handler may refuse it. Display-only columns (style 0
// or less) and the fixed cells never open an editor.
//
// Beep, clipboard, date prompt, clock and messages come through seams so
// that tests count and answer them.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/core/Beeper.h"
#include "desktop/core/Clipboard.h"
#include "desktop/core/Clock.h"
#include "desktop/core/DatePrompter.h"
#include "desktop/core/Messages.h"
#include "desktop/core/QvGridStore.h"

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QTableView;

namespace wexal::desktop {

class QvGridModel;

struct QvGridSeams {
    Messages& messages;
    Beeper& beeper;
    Clipboard& clipboard;
    const Clock& clock;
    // F3 in a date cell does nothing without one.
    DatePrompter* datePrompt = nullptr;
};

class QvGrid final : public QWidget {
    Q_OBJECT

  public:
    explicit QvGrid(QvGridSeams seams, QWidget* parent = nullptr);
    ~QvGrid() override;

    // The setters of the counts and of the current cell first store an open
    // edit.
    std::int32_t Cols() const { return store_.Cols(); }
    void SetCols(std::int32_t count);
    std::int32_t Rows() const { return store_.Rows(); }
    void SetRows(std::int32_t count);
    std::int32_t Col() const { return store_.Col(); }
    void SetCol(std::int32_t col);
    std::int32_t Row() const { return store_.Row(); }
    void SetRow(std::int32_t row);
    std::int32_t FixedCols() const { return store_.FixedCols(); }
    void SetFixedCols(std::int32_t count);
    std::int32_t FixedRows() const { return store_.FixedRows(); }
    void SetFixedRows(std::int32_t count);

    // Twips.
    std::int32_t ColWidth(std::int32_t col) const { return store_.ColWidth(col); }
    void SetColWidth(std::int32_t col, std::int32_t twips);
    std::int32_t RowHeight(std::int32_t row) const;
    void SetRowHeight(std::int32_t row, std::int32_t twips);

    std::string TextMatrix(std::int32_t row, std::int32_t col) const {
        return store_.TextMatrix(row, col);
    }
    void SetTextMatrix(std::int32_t row, std::int32_t col, std::string text);

    // The column records (see QvGridStore).
    const QvGridStore& Store() const { return store_; }
    void SetColStyle(std::int32_t index, std::int32_t style) { store_.SetColStyle(index, style); }
    void SetColAlignment(std::int32_t index, std::int16_t alignment) {
        store_.SetColAlignment(index, alignment);
    }
    void SetColSearchButton(std::int32_t index, bool on) { store_.SetColSearchButton(index, on); }
    void SetColMaxLen(std::int32_t index, std::int16_t maxLen) {
        store_.SetColMaxLen(index, maxLen);
    }
    void SetColDecimals(std::int32_t index, std::int16_t decimals) {
        store_.SetColDecimals(index, decimals);
    }
    void SetColHeading(std::int32_t index, std::string heading) {
        store_.SetColHeading(index, std::move(heading));
    }
    void SetColumnAttributes(std::int16_t Index, std::string Heading = {},
                             std::int32_t NewWidth = -1, std::int32_t Style = kStyleText,
                             std::int16_t MaxLen = -1, std::int16_t Decimals = -1,
                             std::int32_t Alignment = -1,
                             std::optional<bool> SearchButton = std::nullopt,
                             std::string ValueList = {});
    std::int16_t AddColumn(std::string Heading, std::int32_t NewWidth = -1,
                           std::int32_t Style = kStyleText, std::int16_t MaxLen = 0,
                           std::int16_t Decimals = 0, std::int32_t Alignment = -1,
                           bool SearchButton = false, std::string ValueList = {});
    std::int16_t GetColNumber(std::string_view heading) const {
        return store_.GetColNumber(heading);
    }
    void AddRow(const std::vector<std::string>& values);

    // Closes the open editor and stores its value in the cell it was opened
    // on (through Change); nothing when no editor is open.
    void CommitEdit();
    bool IsEditing() const { return editRow_.has_value(); }

    QTableView& View() const { return *view_; }

  signals:
    // Raised as their names say; arguments passed by reference may be
    // changed by a handler and are read back. KeyDown carries Qt's key code
    // and modifiers, first thing on every key pressed in an editor.
    void KeyDown(int& key, Qt::KeyboardModifiers& modifiers);
    void KeyPress(QChar& character);
    void DblClick();
    void ChangeNotify();
    // An edited value that differs from the cell. Cancel refuses it; ErrMsg
    // is then shown.
    void Change(int row, int col, QString& newValue, bool& cancel, QString& errMsg);
    // F3 outside a date column.
    void SearchClicked(int row, int col, const QString& heading, QString& newValue, bool& cancel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Direction { kLeft, kRight, kUp, kDown };

    void BeginEdit();
    void HideEditors();
    void PlaceEditor();
    // The cell next to the current one, when there is one to move to.
    std::optional<std::pair<std::int32_t, std::int32_t>> Neighbour(Direction direction) const;
    void Move(Direction direction);
    void MoveAfterEnter();
    void EnterCellFromView(const QModelIndex& current);
    void ShowStoreCurrent();
    // Applies a change of the store's shape and shows the result.
    void Rebuild(const std::function<void()>& change);
    // Stores a value through ChangeNotify and Change; false when refused.
    bool StoreValue(std::int32_t row, std::int32_t col, QString value);

    bool EditBoxKey(QKeyEvent* event);
    bool ListKey(QKeyEvent* event);
    void TypeCharacter(QChar character);
    void Paste();
    void PromptForDateOrSearch();
    void EditorFocusLost(QFocusEvent* event);

    QvGridSeams seams_;
    QvGridStore store_;
    QvGridModel* model_;
    QTableView* view_;
    QLineEdit* txtInput_;
    QComboBox* cboInput_;
    // The cell the open editor edits, and a copy of its column record.
    std::optional<std::int32_t> editRow_;
    std::int32_t editCol_ = 0;
    QvGridColumn editColumn_;
    // Set while the grid moves the focus or the current cell itself, so that
    // neither the editor's loss of focus nor the view's gain opens or stores
    // anything.
    bool busy_ = false;
};

}  // namespace wexal::desktop
