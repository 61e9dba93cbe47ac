#include "desktop/windows/frmPrompt.h"

#include <QApplication>
#include <QPointer>
#include <QSignalBlocker>
#include <array>
#include <exception>
#include <filesystem>
#include <vector>

#include "desktop/core/ConduitValueLimits.h"
#include "desktop/core/ProgramIdentity.h"
#include "desktop/windows/TwipsGeometry.h"
#include "platform/ado/DataSources.h"
#include "platform/sheet/Workbook.h"

namespace wexal::desktop {

namespace {

struct PromptKind {
    std::int32_t kind;
    const char* caption;
    const char* label;
    frmPrompt::BrowseMode browseMode;
    const char* key;  // the configuration key of the value; the row follows "Workbook"
};

constexpr auto kNone = frmPrompt::BrowseMode::kNone;
constexpr auto kOpen = frmPrompt::BrowseMode::kOpen;
constexpr auto kSave = frmPrompt::BrowseMode::kSave;
constexpr auto kFolder = frmPrompt::BrowseMode::kFolder;

constexpr std::array<PromptKind, 10> kKinds = {{
    {frmPrompt::kRouteFile, "Route File", "File Name:", kOpen, "RoutePath"},
    {frmPrompt::kReadingsFile, "Readings File", "File Name:", kSave, "ReadingsPath"},
    // A folder chooser: a file dialog would yield a file's path, and every
    // roll would then fail.
    {frmPrompt::kRollFolder, "Readings Roll Folder", "Roll Folder:", kFolder, "ReadingsRollPath"},
    {frmPrompt::kWorkbook, "Spreadsheet File", "File Name:", kSave, "Workbook"},
    {frmPrompt::kServer, "SQL Server Name", "New Value:", kNone, "Server"},
    {frmPrompt::kUser, "SQL User ID", "New Value:", kNone, "UserName"},
    {frmPrompt::kPassword, "SQL Password", "New Value:", kNone, "Password"},
    {frmPrompt::kDatabase, "SQL Database", "New Value:", kNone, "Database"},
    {frmPrompt::kDataSource, "DSN", "Data Source:", kNone, "Server"},
    {frmPrompt::kExceptionsFile, "Exceptions Capture File", "File Name:", kSave, "ExceptionsFile"},
}};

// The workbook layer and the conduit read .xlsx workbooks only.
constexpr std::string_view kWorkbookFilter = "Spreadsheet (*.xlsx)|*.xlsx|All Files (*.*)|*.*";
constexpr std::string_view kAnyFileFilter = "All Files (*.*)|*.*";

const PromptKind* FindKind(std::int32_t kind) {
    for (const PromptKind& entry : kKinds) {
        if (entry.kind == kind) {
            return &entry;
        }
    }
    return nullptr;
}

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Blanks around a name do not tell worksheets apart; letter case neither.
QString SheetKey(const QString& name) {
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && name[first] == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && name[last - 1] == QLatin1Char(' ')) {
        --last;
    }
    return name.mid(first, last - first).toUpper();
}

// The hourglass while a workbook is read, taken away on every path.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void Restore() {
        if (active_) {
            active_ = false;
            QApplication::restoreOverrideCursor();
        }
    }

  private:
    bool active_ = true;
};

}  // namespace

frmPrompt::frmPrompt(FileChooser& chooser, Messages& messages, QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(this)),
      Text1(new QLineEdit(this)),
      Combo1(new QComboBox(this)),
      Label2(new QLabel(this)),
      Combo2(new QComboBox(this)),
      btnBrowse(new QPushButton(tr("Browse ..."), this)),
      btnOK(new QPushButton(tr("&OK"), this)),
      btnCancel(new QPushButton(tr("&Cancel"), this)),
      chooser_(chooser),
      messages_(messages) {
    setObjectName(QStringLiteral("frmPrompt"));
    setWindowTitle(Utf8(kProgramTitle));
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Combo2->setObjectName(QStringLiteral("Combo2"));
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    // Masked text shows "*" for every character.
    Text1->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42 }"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->hide();
    Label2->hide();
    Combo2->hide();

    btnOK->setDefault(true);
    btnBrowse->setAutoDefault(false);
    btnCancel->setAutoDefault(false);

    PlaceInTwips(Label1, 120, 165, 1215, 255);
    PlaceInTwips(Text1, 1440, 120, 4335, 315);
    PlaceInTwips(Combo1, 1440, 120, 4335, 315);
    PlaceInTwips(Label2, 120, 585, 1215, 255);
    PlaceInTwips(Combo2, 1440, 540, 4335, 315);
    PlaceInTwips(btnBrowse, 120, 1080, 1215, 375);
    PlaceInTwips(btnOK, 3360, 1080, 1095, 375);
    PlaceInTwips(btnCancel, 4560, 1080, 1215, 375);
    setFixedSize(TwipsToPixels(5940), TwipsToPixels(1620));

    connect(btnOK, &QPushButton::clicked, this, &frmPrompt::btnOK_Click);
    // Esc and the close box reject as Cancel does.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { mConfirmed = false; });
    connect(btnBrowse, &QPushButton::clicked, this, &frmPrompt::btnBrowse_Click);
    connect(Text1, &QLineEdit::textChanged, this, &frmPrompt::Text1_Change);
}

void frmPrompt::Display(std::int32_t PromptType, std::int16_t Index, const Boxes& boxes) {
    mPromptType = PromptType;
    index_ = Index;
    Label1->setText(tr("New Value:"));

    const PromptKind* kind = FindKind(PromptType);
    QString value;
    if (kind != nullptr) {
        setWindowTitle(QString::fromLatin1(kind->caption));
        Label1->setText(QString::fromLatin1(kind->label));
        browseMode_ = kind->browseMode;
        key_ = kind->key;
        if (PromptType == kWorkbook) {
            key_ += std::to_string(Index);
        }
        if (PromptType == kDataSource) {
            FillDsnList(boxes.Value != nullptr ? boxes.Value->text() : QString());
            Text1->hide();
            Combo1->show();
        } else if (boxes.Value != nullptr) {
            value = boxes.Value->text();
        }
        if (PromptType == kPassword) {
            Text1->setEchoMode(QLineEdit::Password);
        }
    }

    Text1->setText(value);

    if (PromptType == kWorkbook && boxes.Worksheet != nullptr) {
        const QString sheet = boxes.Worksheet->text();
        for (int i = 0; i < Combo2->count(); ++i) {
            if (SheetKey(Combo2->itemText(i)) == SheetKey(sheet)) {
                Combo2->setCurrentIndex(i);
                break;
            }
        }
        if (Combo2->currentIndex() < 0 && !sheet.isEmpty()) {
            Combo2->addItem(sheet);
            Combo2->setCurrentIndex(Combo2->count() - 1);
        }
    }

    Text1->selectAll();
    (Text1->isHidden() ? static_cast<QWidget*>(Combo1) : Text1)->setFocus();

    mConfirmed = false;
    exec();
    if (!mConfirmed || kind == nullptr || boxes.Value == nullptr) {
        return;
    }
    boxes.Value->setText(Value());
    if (PromptType == kWorkbook && boxes.Worksheet != nullptr) {
        boxes.Worksheet->setText(Combo2->currentText());
    }
}

QString frmPrompt::Value() const {
    return mPromptType == kDataSource ? Combo1->currentText() : Text1->text();
}

void frmPrompt::FillDsnList(const QString& selected) {
    std::vector<std::string> names;
    try {
        names = ado::DataSourceNames();
    } catch (const std::exception& error) {
        messages_.MessageBox(std::string("The ODBC data sources cannot be listed: ") + error.what(),
                             kProgramTitle);
    }
    const QSignalBlocker quiet(Combo1);
    Combo1->clear();
    int chosen = -1;
    for (const std::string& name : names) {
        Combo1->addItem(QString::fromStdString(name));
        if (chosen < 0 && Combo1->itemText(Combo1->count() - 1) == selected) {
            chosen = Combo1->count() - 1;
        }
    }
    // Filling selects the first entry by itself.
    Combo1->setCurrentIndex(chosen);
    if (chosen < 0) {
        Combo1->setEditText(QString());
    }
}

void frmPrompt::btnBrowse_Click() {
    const FileChooser::Request request{
        windowTitle().toStdString(), Text1->text().toStdString(),
        std::string(mPromptType == kWorkbook ? kWorkbookFilter : kAnyFileFilter)};
    std::optional<std::string> chosen;
    try {
        switch (browseMode_) {
            case BrowseMode::kOpen:
                chosen = chooser_.OpenFile(request);
                break;
            case BrowseMode::kSave:
                chosen = chooser_.SaveFile(request);
                break;
            case BrowseMode::kFolder:
                chosen = chooser_.ChooseFolder({request.Title, request.InitialName, {}});
                break;
            case BrowseMode::kNone:
                btnOK->setFocus();
                return;
        }
    } catch (const std::exception&) {
        return;
    }
    if (!chosen) {
        return;
    }
    Text1->setText(QString::fromStdString(*chosen));
    btnOK->setFocus();
}

void frmPrompt::Text1_Change() {
    if (mPromptType != kWorkbook) {
        return;
    }
    // A folder or a pattern is no workbook and is not opened at all; anything
    // else that is there is tried, and refused with its reason when it is not
    // a file.
    const std::filesystem::path path(Text1->text().toStdString());
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error) ||
        std::filesystem::is_directory(path, error)) {
        return;
    }

    const QPointer<QWidget> focus = QApplication::focusWidget();
    setEnabled(false);
    WaitCursor wait;
    std::string failure;
    try {
        QStringList names;
        for (const std::string& name : sheet::Workbook::WorksheetNames(path)) {
            names.append(QString::fromStdString(name));
        }
        const QSignalBlocker quiet(Combo2);
        Combo2->clear();
        Combo2->addItems(names);
        Combo2->setCurrentIndex(-1);
        Combo2->show();
        Label2->setText(tr("Worksheet"));
        Label2->show();
    } catch (const std::exception& caught) {
        failure = caught.what();
    }
    wait.Restore();
    setEnabled(true);
    if (focus) {
        focus->setFocus();
    }
    if (!failure.empty()) {
        messages_.MessageBox(failure, kProgramTitle);
    }
}

void frmPrompt::btnOK_Click() {
    if (FindKind(mPromptType) != nullptr) {
        std::vector<std::pair<std::string, QString>> values = {{key_, Value()}};
        if (mPromptType == kWorkbook) {
            values.emplace_back("Worksheet" + std::to_string(index_), Combo2->currentText());
        }
        for (const auto& [key, value] : values) {
            const std::string refusal = ConduitValueRefusal(key, value.toStdString());
            if (!refusal.empty()) {
                messages_.MessageBox(refusal, kProgramTitle);
                return;
            }
        }
    }
    mConfirmed = true;
    accept();
}

}  // namespace wexal::desktop
