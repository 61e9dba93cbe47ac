#include "desktop/windows/frmResponseCodes.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "desktop/core/QvGridColumn.h"
#include "desktop/core/ResponseCodeImport.h"

namespace wexal::desktop {

namespace {

constexpr int kColCode = 1;
constexpr int kColText = 2;
constexpr int kColNoRead = 3;
constexpr int kColService = 4;
constexpr int kBlankRows = 10;

std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

frmResponseCodes::frmResponseCodes(clsConfig& config, FileChooser& files, QvGridSeams gridSeams,
                                   QWidget* parent)
    : QDialog(parent),
      config_(config),
      files_(files),
      messages_(gridSeams.messages),
      grdResponseCodes_(new QvGrid(gridSeams, this)) {
    setObjectName(QStringLiteral("frmResponseCodes"));
    setWindowTitle(QStringLiteral("Response Codes"));
    grdResponseCodes_->setObjectName(QStringLiteral("grdResponseCodes"));

    auto* picFooter = new QWidget(this);
    picFooter->setObjectName(QStringLiteral("picFooter"));
    auto* save = new QPushButton(QStringLiteral("&Save"), picFooter);
    save->setObjectName(QStringLiteral("btnAction(0)"));
    save->setProperty("Tag", QStringLiteral("SAVE"));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), picFooter);
    cancel->setObjectName(QStringLiteral("btnAction(1)"));
    cancel->setProperty("Tag", QStringLiteral("CANCEL"));
    auto* import = new QPushButton(QStringLiteral("&Import"), picFooter);
    import->setObjectName(QStringLiteral("btnImport"));
    for (QPushButton* button : {save, cancel, import}) {
        // Enter belongs to the grid's editor, never to a button.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* footer = new QHBoxLayout(picFooter);
    footer->addWidget(import);
    footer->addStretch(1);
    footer->addWidget(save);
    footer->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grdResponseCodes_, 1);
    layout->addWidget(picFooter);

    connect(save, &QPushButton::clicked, this, [this, save] { ActionClicked(save); });
    connect(cancel, &QPushButton::clicked, this, [this, cancel] { ActionClicked(cancel); });
    connect(import, &QPushButton::clicked, this, &frmResponseCodes::Import);

    DefineGrid();
    const QTableView& view = grdResponseCodes_->View();
    int width = 2 * view.frameWidth() + view.verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < grdResponseCodes_->Cols(); ++col) {
        width += view.columnWidth(col);
    }
    resize(width, 360);
}

void frmResponseCodes::DefineGrid() {
    QvGrid& grid = *grdResponseCodes_;
    grid.SetRows(1);
    grid.SetCols(0);
    grid.AddColumn("Sequence");
    grid.AddColumn("Code", -1, kStyleUpperText, 2);
    grid.AddColumn("Text", -1, kStyleText, 30);
    grid.AddColumn("No Read", -1, kStyleCheckMark);
    grid.AddColumn("Service", -1, kStyleCheckMark);
    grid.SetRows(1);
}

void frmResponseCodes::FillGrid() {
    QvGrid& grid = *grdResponseCodes_;
    grid.SetRows(1);
    std::int32_t n = 1;
    ResponseCodeRec code;
    while (config_.GetResponseCode(n, code)) {
        grid.AddRow({std::to_string(n), code.Code, code.Description, code.NoRead == "Y" ? "X" : "",
                     code.Service == "Y" ? "X" : ""});
        ++n;
    }
    for (int blank = 0; blank < kBlankRows; ++blank) {
        grid.AddRow({std::to_string(n + blank)});
    }
}

void frmResponseCodes::SaveGrid() {
    const QvGrid& grid = *grdResponseCodes_;
    config_.EraseResponseCodes();
    for (std::int32_t row = 1; row < grid.Rows(); ++row) {
        std::string code = TrimBlanks(grid.TextMatrix(row, kColCode));
        if (code.empty()) {
            continue;
        }
        config_.AddResponseCode(std::move(code), TrimBlanks(grid.TextMatrix(row, kColText)),
                                grid.TextMatrix(row, kColNoRead) == "X" ? "Y" : "",
                                grid.TextMatrix(row, kColService) == "X" ? "Y" : "");
    }
}

void frmResponseCodes::Display() {
    FillGrid();
    exec();
    if (action_ == "SAVE") {
        SaveGrid();
    }
}

void frmResponseCodes::ActionClicked(QPushButton* button) {
    action_ = button->property("Tag").toString().toStdString();
    if (action_ == "SAVE") {
        // What is being typed in a cell counts too.
        grdResponseCodes_->CommitEdit();
    }
    accept();
}

void frmResponseCodes::Import() {
    FileChooser::Request request;
    request.Title = "File containing response codes";
    request.InitialName = QDir::homePath().toStdString();
    request.Filter = "Text Files (*.txt *.TXT)|*.txt *.TXT";
    const auto path = files_.OpenFile(request);
    if (!path || path->empty()) {
        return;
    }
    const ResponseCodeFile file = ReadResponseCodeFile(*path);
    if (!file.Read) {
        messages_.ShowMessage("Unable to import response codes from " + *path + ": " + file.Reason);
        return;
    }
    for (const ImportedResponseCode& imported : file.Codes) {
        ResponseCodeUpdate fields;
        fields.Code = imported.Code;
        fields.Description = imported.Text;
        fields.NoRead = "N";
        fields.Service = "N";
        config_.UpdateResponseCode(std::string_view(imported.Code), fields);
    }
    FillGrid();
}

}  // namespace wexal::desktop
