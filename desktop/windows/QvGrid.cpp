#include "desktop/windows/QvGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "desktop/core/GridPaste.h"
#include "desktop/core/GridStyles.h"
#include "desktop/core/KeystrokeFilter.h"
#include "desktop/core/ShortDate.h"
#include "desktop/windows/GridAlignment.h"
#include "desktop/windows/QvGridModel.h"

namespace wexal::desktop {

namespace {

constexpr std::int32_t kTwipsPerPixel = 15;
// QLineEdit's own "no limit".
constexpr int kNoMaxLength = 32767;

int TwipsToPixels(std::int32_t twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// Whether the key with these modifiers is one of the platform's bindings of
// a standard action (Ctrl+V and Shift+Insert both paste).
bool IsStandardKey(QKeySequence::StandardKey standard, int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers plain =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeyCombination pressed(plain, static_cast<Qt::Key>(key));
    for (const QKeySequence& sequence : QKeySequence::keyBindings(standard)) {
        if (sequence.count() == 1 && sequence[0] == pressed) {
            return true;
        }
    }
    return false;
}

// Keys the editors act on themselves; no shortcut of the window may take them.
bool IsEditorKey(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_F2:
        case Qt::Key_F3:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return true;
        default:
            return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
                   event->matches(QKeySequence::Paste);
    }
}

// A character typed, as opposed to a shortcut or a key without text.
bool IsTypedText(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return false;
        }
    }
    return true;
}

EditBoxState CurrentBox(const QLineEdit& box) {
    EditBoxState state;
    state.Text = box.text().toStdU16String();
    state.SelStart = box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
    state.SelLength = static_cast<std::int32_t>(box.selectedText().size());
    state.MaxLength = box.maxLength() == kNoMaxLength ? 0 : box.maxLength();
    return state;
}

}  // namespace

QvGrid::QvGrid(QvGridSeams seams, QWidget* parent)
    : QWidget(parent),
      seams_(seams),
      store_([this](std::string_view text) {
          const QString sample =
              QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
          return static_cast<std::int32_t>(QFontMetrics(font()).horizontalAdvance(sample) *
                                           kTwipsPerPixel);
      }),
      model_(new QvGridModel(store_, this)),
      view_(new QTableView(this)),
      txtInput_(new QLineEdit(view_->viewport())),
      cboInput_(new QComboBox(view_->viewport())) {
    view_->setObjectName(QStringLiteral("MSFlexGrid1"));
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as tight as the text and the edit box over it allow.
    view_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    txtInput_->setObjectName(QStringLiteral("txtInput"));
    cboInput_->setObjectName(QStringLiteral("cboInput"));
    for (QWidget* editor : {static_cast<QWidget*>(txtInput_), static_cast<QWidget*>(cboInput_)}) {
        // Menus, drops and input methods would put text in past the filter.
        editor->setContextMenuPolicy(Qt::NoContextMenu);
        editor->setAcceptDrops(false);
        editor->setAttribute(Qt::WA_InputMethodEnabled, false);
        editor->installEventFilter(this);
        editor->hide();
    }

    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { EnterCellFromView(current); });
    connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &QvGrid::PlaceEditor);
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, &QvGrid::PlaceEditor);
    connect(view_->horizontalHeader(), &QHeaderView::sectionResized, this, &QvGrid::PlaceEditor);
    connect(view_, &QTableView::doubleClicked, this, [this] { emit DblClick(); });

    Rebuild([] {});
}

QvGrid::~QvGrid() = default;

// --- Counts, current cell and cells ---------------------------------------

void QvGrid::Rebuild(const std::function<void()>& change) {
    busy_ = true;
    model_->BeginRebuild();
    change();
    model_->EndRebuild();
    for (std::int32_t col = 0; col < store_.Cols(); ++col) {
        if (store_.ColWidth(col) >= 0) {
            view_->setColumnWidth(col, TwipsToPixels(store_.ColWidth(col)));
        }
    }
    busy_ = false;
    ShowStoreCurrent();
    PlaceEditor();
}

void QvGrid::SetCols(std::int32_t count) {
    CommitEdit();
    Rebuild([&] { store_.SetCols(count); });
}

void QvGrid::SetRows(std::int32_t count) {
    CommitEdit();
    Rebuild([&] { store_.SetRows(count); });
}

void QvGrid::SetCol(std::int32_t col) {
    CommitEdit();
    store_.SetCol(col);
    ShowStoreCurrent();
}

void QvGrid::SetRow(std::int32_t row) {
    CommitEdit();
    store_.SetRow(row);
    ShowStoreCurrent();
}

void QvGrid::SetFixedCols(std::int32_t count) {
    Rebuild([&] { store_.SetFixedCols(count); });
}

void QvGrid::SetFixedRows(std::int32_t count) {
    Rebuild([&] { store_.SetFixedRows(count); });
}

void QvGrid::SetColWidth(std::int32_t col, std::int32_t twips) {
    store_.SetColWidth(col, twips);
    view_->setColumnWidth(col, TwipsToPixels(twips));
}

std::int32_t QvGrid::RowHeight(std::int32_t row) const {
    if (row < model_->HeadingRows()) {
        return view_->horizontalHeader()->height() * kTwipsPerPixel;
    }
    return view_->rowHeight(row - model_->HeadingRows()) * kTwipsPerPixel;
}

void QvGrid::SetRowHeight(std::int32_t row, std::int32_t twips) {
    if (row < model_->HeadingRows()) {
        view_->horizontalHeader()->setFixedHeight(TwipsToPixels(twips));
    } else {
        view_->setRowHeight(row - model_->HeadingRows(), TwipsToPixels(twips));
    }
    PlaceEditor();
}

void QvGrid::SetTextMatrix(std::int32_t row, std::int32_t col, std::string text) {
    store_.SetTextMatrix(row, col, std::move(text));
    model_->CellChanged(row, col);
}

void QvGrid::SetColumnAttributes(std::int16_t Index, std::string Heading, std::int32_t NewWidth,
                                 std::int32_t Style, std::int16_t MaxLen, std::int16_t Decimals,
                                 std::int32_t Alignment, std::optional<bool> SearchButton,
                                 std::string ValueList) {
    Rebuild([&] {
        store_.SetColumnAttributes(Index, std::move(Heading), NewWidth, Style, MaxLen, Decimals,
                                   Alignment, SearchButton, std::move(ValueList));
    });
}

std::int16_t QvGrid::AddColumn(std::string Heading, std::int32_t NewWidth, std::int32_t Style,
                               std::int16_t MaxLen, std::int16_t Decimals, std::int32_t Alignment,
                               bool SearchButton, std::string ValueList) {
    std::int16_t index = -1;
    Rebuild([&] {
        index = store_.AddColumn(std::move(Heading), NewWidth, Style, MaxLen, Decimals, Alignment,
                                 SearchButton, std::move(ValueList));
    });
    return index;
}

void QvGrid::AddRow(const std::vector<std::string>& values) {
    if (model_->HeadingRows() == 0) {
        // The new row may be the heading row.
        Rebuild([&] { store_.AddRow(values); });
        return;
    }
    busy_ = true;
    model_->BeginAppendRow();
    store_.AddRow(values);
    model_->EndAppendRow();
    busy_ = false;
    ShowStoreCurrent();
}

// The view shows the store's current cell; the grid moving it is no entry
// by the user.
void QvGrid::ShowStoreCurrent() {
    busy_ = true;
    const std::int32_t row = store_.Row();
    const std::int32_t col = store_.Col();
    if (row < store_.Rows() && col < store_.Cols() && !store_.IsFixedCell(row, col)) {
        view_->selectionModel()->setCurrentIndex(model_->IndexOfCell(row, col),
                                                 QItemSelectionModel::ClearAndSelect);
    } else {
        view_->selectionModel()->clearCurrentIndex();
        view_->selectionModel()->clearSelection();
    }
    busy_ = false;
}

// --- Opening and committing -------------------------------------------------

void QvGrid::EnterCellFromView(const QModelIndex& current) {
    if (busy_) {
        return;
    }
    CommitEdit();
    if (!current.isValid()) {
        return;
    }
    store_.SetRow(current.row() + model_->HeadingRows());
    store_.SetCol(current.column());
    BeginEdit();
}

void QvGrid::BeginEdit() {
    HideEditors();
    const std::int32_t row = store_.Row();
    const std::int32_t col = store_.Col();
    if (row >= store_.Rows() || col >= store_.Cols() || col >= store_.RecordCount()) {
        return;
    }
    const QvGridColumn& column = store_.Column(col);
    if (col < store_.FixedCols() || store_.ColWidth(col) == 0 || row < store_.FixedRows() ||
        row < model_->HeadingRows() || !IsEditableStyle(column.Style)) {
        return;
    }
    editRow_ = row;
    editCol_ = col;
    editColumn_ = column;
    view_->scrollTo(model_->IndexOfCell(row, col));
    const QString cell = QString::fromStdString(store_.TextMatrix(row, col));

    if (column.Style == kStyleValueList) {
        {
            const QSignalBlocker quiet(cboInput_);
            cboInput_->clear();
            for (const std::string& entry : ValueListEntries(column.ValueList)) {
                cboInput_->addItem(QString::fromStdString(entry));
            }
            cboInput_->setCurrentIndex(cboInput_->findText(cell, Qt::MatchFixedString));
        }
        cboInput_->show();
        PlaceEditor();
        cboInput_->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::int32_t length = DefaultEditLength(column);
    txtInput_->setFrame(true);
    txtInput_->setMaxLength(length > 0 ? length : kNoMaxLength);
    if (const auto alignment = EditorAlignment(column.Style)) {
        txtInput_->setAlignment(QtAlignment(*alignment));
    }
    txtInput_->setText(cell);
    txtInput_->setSelection(0, 99);
    txtInput_->show();
    PlaceEditor();
    txtInput_->setFocus(Qt::OtherFocusReason);
}

void QvGrid::HideEditors() {
    const bool hadFocus = txtInput_->hasFocus() || cboInput_->hasFocus();
    editRow_.reset();
    if (hadFocus) {
        // Hiding a focused editor would send the focus to the window's next
        // widget; it stays with the grid.
        busy_ = true;
        view_->setFocus(Qt::OtherFocusReason);
        busy_ = false;
    }
    txtInput_->hide();
    cboInput_->hide();
}

void QvGrid::PlaceEditor() {
    if (!editRow_) {
        return;
    }
    const QRect cell = view_->visualRect(model_->IndexOfCell(*editRow_, editCol_));
    if (editColumn_.Style == kStyleValueList) {
        cboInput_->setGeometry(cell.x() - 1, cell.y() - 1, cell.width() + 2,
                               cboInput_->sizeHint().height());
    } else {
        txtInput_->setGeometry(cell.x() - 1, cell.y() - 1, cell.width() + 2, cell.height() + 2);
    }
}

void QvGrid::CommitEdit() {
    if (!editRow_) {
        return;
    }
    const std::int32_t row = *editRow_;
    const std::int32_t col = editCol_;
    const QString value =
        editColumn_.Style == kStyleValueList ? cboInput_->currentText() : txtInput_->text();
    HideEditors();
    if (row >= store_.Rows() || col >= store_.Cols() ||
        value == QString::fromStdString(store_.TextMatrix(row, col))) {
        return;
    }
    StoreValue(row, col, value);
}

bool QvGrid::StoreValue(std::int32_t row, std::int32_t col, QString value) {
    emit ChangeNotify();
    bool cancel = false;
    QString errMsg;
    emit Change(row, col, value, cancel, errMsg);
    if (cancel) {
        seams_.messages.ShowMessage(errMsg.toStdString());
        return false;
    }
    SetTextMatrix(row, col, value.toStdString());
    return true;
}

// --- Moving -----------------------------------------------------------------

std::optional<std::pair<std::int32_t, std::int32_t>> QvGrid::Neighbour(Direction direction) const {
    std::int32_t row = store_.Row();
    std::int32_t col = store_.Col();
    switch (direction) {
        case Direction::kLeft:
            --col;
            break;
        case Direction::kRight:
            ++col;
            break;
        case Direction::kUp:
            --row;
            break;
        case Direction::kDown:
            ++row;
            break;
    }
    if (row < std::max(store_.FixedRows(), model_->HeadingRows()) || row >= store_.Rows() ||
        col < store_.FixedCols() || col >= store_.Cols()) {
        return std::nullopt;
    }
    return std::make_pair(row, col);
}

void QvGrid::Move(Direction direction) {
    const auto target = Neighbour(direction);
    if (!target) {
        return;  // the editor keeps its text and the focus
    }
    CommitEdit();
    store_.SetRow(target->first);
    store_.SetCol(target->second);
    ShowStoreCurrent();
    BeginEdit();
}

// Enter stores the edit now and moves on once the key is done with: to the
// right, or into the same cell again at the last column.
void QvGrid::MoveAfterEnter() {
    CommitEdit();
    QTimer::singleShot(0, this, [this] {
        if (IsEditing()) {
            return;
        }
        if (Neighbour(Direction::kRight)) {
            Move(Direction::kRight);
        } else {
            BeginEdit();
        }
    });
}

// --- Keys -------------------------------------------------------------------

bool QvGrid::eventFilter(QObject* watched, QEvent* event) {
    const bool isEditor = watched == txtInput_ || watched == cboInput_;
    if (isEditor) {
        switch (event->type()) {
            case QEvent::KeyPress:
                return watched == txtInput_ ? EditBoxKey(static_cast<QKeyEvent*>(event))
                                            : ListKey(static_cast<QKeyEvent*>(event));
            case QEvent::ShortcutOverride:
                if (IsEditorKey(static_cast<QKeyEvent*>(event))) {
                    event->accept();
                    return true;
                }
                return false;
            case QEvent::FocusOut:
                EditorFocusLost(static_cast<QFocusEvent*>(event));
                return false;
            case QEvent::ContextMenu:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
            case QEvent::InputMethod:
                return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
                // The middle button pastes the X selection past the filter.
                return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
            default:
                return false;
        }
    }
    if (watched == view_) {
        if (event->type() == QEvent::FocusIn && !busy_) {
            // Once the view is done taking the focus (a click may also move
            // the current cell, which opens the editor there).
            QTimer::singleShot(0, this, [this] {
                if (!IsEditing() && view_->hasFocus()) {
                    BeginEdit();
                }
            });
        }
        if (event->type() == QEvent::KeyPress &&
            IsTypedText(static_cast<QKeyEvent*>(event)->text()) &&
            !(static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier)) {
            return true;  // no search by typing: typing belongs to the editor
        }
        return false;
    }
    if (watched == view_->viewport() && event->type() == QEvent::Resize) {
        QTimer::singleShot(0, this, &QvGrid::PlaceEditor);
    }
    return QWidget::eventFilter(watched, event);
}

void QvGrid::EditorFocusLost(QFocusEvent* event) {
    if (busy_ || !IsEditing()) {
        return;
    }
    // A message box, the date prompt or a popup takes the focus for a
    // moment; the edit stays open for when it comes back.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
        return;
    }
    const QWidget* next = QApplication::focusWidget();
    if (next == nullptr || next->window() != window()) {
        return;
    }
    CommitEdit();
}

bool QvGrid::EditBoxKey(QKeyEvent* event) {
    int key = event->key();
    Qt::KeyboardModifiers modifiers = event->modifiers();
    emit KeyDown(key, modifiers);

    if (key == Qt::Key_F3) {
        PromptForDateOrSearch();
        return true;
    }
    if (key == Qt::Key_F2) {
        if (txtInput_->hasSelectedText()) {
            txtInput_->setCursorPosition(txtInput_->selectionEnd());
        }
        return true;
    }
    const bool copy = IsStandardKey(QKeySequence::Copy, key, modifiers);
    const bool cut = IsStandardKey(QKeySequence::Cut, key, modifiers);
    if (copy || cut) {
        const bool selected = txtInput_->hasSelectedText();
        seams_.clipboard.SetText(
            (selected ? txtInput_->selectedText() : txtInput_->text()).toStdString());
        if (cut && selected) {
            txtInput_->del();
        }
        return true;
    }
    if (IsStandardKey(QKeySequence::Paste, key, modifiers)) {
        Paste();
        return true;
    }
    switch (key) {
        case Qt::Key_Right: {
            const int end = txtInput_->hasSelectedText() ? txtInput_->selectionEnd()
                                                         : txtInput_->cursorPosition();
            if ((end >= txtInput_->text().size() || editColumn_.Style == kStyleCheckMark) &&
                Neighbour(Direction::kRight)) {
                Move(Direction::kRight);
                return true;
            }
            return false;
        }
        case Qt::Key_Left: {
            const int start = txtInput_->hasSelectedText() ? txtInput_->selectionStart()
                                                           : txtInput_->cursorPosition();
            if (start == 0 && Neighbour(Direction::kLeft)) {
                Move(Direction::kLeft);
                return true;
            }
            return false;
        }
        case Qt::Key_Up:
            Move(Direction::kUp);
            return true;
        case Qt::Key_Down:
            Move(Direction::kDown);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            MoveAfterEnter();
            return true;
        case Qt::Key_Escape:
            // Back to the cell's text; the editor stays open.
            txtInput_->setText(QString::fromStdString(store_.TextMatrix(*editRow_, editCol_)));
            txtInput_->setSelection(0, 999);
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            return false;
        default:
            break;
    }
    const QString text = event->text();
    if (!IsTypedText(text)) {
        return false;  // Home, End, Tab, Ctrl+A and the like
    }
    for (QChar character : text) {
        TypeCharacter(character);
    }
    return true;
}

bool QvGrid::ListKey(QKeyEvent* event) {
    int key = event->key();
    Qt::KeyboardModifiers modifiers = event->modifiers();
    emit KeyDown(key, modifiers);

    if (IsStandardKey(QKeySequence::Copy, key, modifiers) ||
        IsStandardKey(QKeySequence::Cut, key, modifiers)) {
        seams_.clipboard.SetText(cboInput_->currentText().toStdString());
        return true;
    }
    switch (key) {
        case Qt::Key_Right:
            Move(Direction::kRight);
            return true;
        case Qt::Key_Left:
            Move(Direction::kLeft);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            MoveAfterEnter();
            return true;
        case Qt::Key_Escape:
            return true;  // the dialog around must not close
        default:
            break;
    }
    const QString text = event->text();
    if (!IsTypedText(text) || text.size() != 1) {
        return false;
    }
    QChar character = text[0];
    emit KeyPress(character);
    return character.isNull();
}

void QvGrid::TypeCharacter(QChar character) {
    const EditBoxState before = CurrentBox(*txtInput_);
    const FilterResult result =
        FilterKeyPress(character.unicode(), editColumn_.Style, editColumn_.Decimals, before);
    if (!(result.Box == before)) {
        txtInput_->setText(QString::fromStdU16String(result.Box.Text));
        if (result.Box.SelLength > 0) {
            txtInput_->setSelection(result.Box.SelStart, result.Box.SelLength);
        } else {
            txtInput_->setCursorPosition(result.Box.SelStart);
        }
    }
    if (result.Beep) {
        seams_.beeper.Beep();
    }
    if (result.Key == 0) {
        return;
    }
    QChar typed(result.Key);
    emit KeyPress(typed);
    if (!typed.isNull()) {
        txtInput_->insert(QString(typed));  // within the maximum length
    }
}

void QvGrid::Paste() {
    const GridPaste paste = PasteForStyle(editColumn_.Style, seams_.clipboard.GetText());
    switch (paste.Action) {
        case GridPaste::Kind::kReplaceText:
            txtInput_->setText(QString::fromStdString(paste.Text));
            break;
        case GridPaste::Kind::kInsertText:
            txtInput_->insert(QString::fromStdString(paste.Text));
            break;
        case GridPaste::Kind::kBeep:
            seams_.beeper.Beep();
            break;
        case GridPaste::Kind::kNothing:
            break;
    }
}

void QvGrid::PromptForDateOrSearch() {
    const std::int32_t row = *editRow_;
    const std::int32_t col = editCol_;
    if (editColumn_.Style == kStyleDate) {
        std::string value = txtInput_->text().toStdString();
        if (!ParseShortDate(value)) {
            const LocalDateTime now = seams_.clock.Now();
            value = FormatShortDate({now.Year, now.Month, now.Day});
        }
        if (seams_.datePrompt == nullptr || !seams_.datePrompt->DatePrompt(value)) {
            return;
        }
        StoreValue(row, col, QString::fromStdString(value));
        BeginEdit();
        return;
    }
    QString value = txtInput_->text();
    bool cancel = false;
    emit SearchClicked(row, col, QString::fromStdString(store_.TextMatrix(0, col)), value, cancel);
    if (!cancel && value != txtInput_->text()) {
        txtInput_->setText(value);
        txtInput_->setSelection(0, 99);
        StoreValue(row, col, value);
    }
}

}  // namespace wexal::desktop
