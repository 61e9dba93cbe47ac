#include "desktop/windows/ExcelFieldMapDialog.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWidget>
#include <exception>

#include "desktop/core/ProgramIdentity.h"

namespace wexal::desktop {
namespace {

constexpr int kLineHeight = 20;
constexpr int kFooterHeight = 44;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 26;

QString Indexed(const char* name, std::size_t index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QFrame* HorizontalLine(QWidget* parent, const QString& name, int y) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(ExcelFieldMapDialog::kMargin, y,
                      ExcelFieldMapDialog::kWidth - 2 * ExcelFieldMapDialog::kMargin, 2);
    return line;
}

}  // namespace

ExcelFieldMapDialog::ExcelFieldMapDialog(clsConfig& config, Messages& messages, QWidget* parent)
    : QDialog(parent), config_(config), messages_(messages), code_(config.SelectedInterface) {
    setModal(true);
}

void ExcelFieldMapDialog::BuildRows(int top, const QString& fieldHeading,
                                    const QString& columnHeading, std::span<const MapRow> rows,
                                    const QStringList& items) {
    auto* fieldHead = new QLabel(fieldHeading, this);
    fieldHead->setObjectName(QStringLiteral("lblFieldHeading"));
    fieldHead->setGeometry(kMargin, top, kListLeft - kMargin, kLineHeight);
    auto* columnHead = new QLabel(columnHeading, this);
    columnHead->setObjectName(QStringLiteral("lblColumnHeading"));
    columnHead->setGeometry(kListLeft, top, kWidth - kListLeft - kMargin, kLineHeight);
    const int headingLine = top + kLineHeight + 2;
    HorizontalLine(this, QStringLiteral("linHeading"), headingLine);

    int lowestDivider = headingLine;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t number = i + 1;
        const int rowTop = headingLine + static_cast<int>(i) * kRowPitch + 2;
        auto* label = new QLabel(
            QString::fromUtf8(rows[i].Label.data(), static_cast<qsizetype>(rows[i].Label.size())),
            this);
        label->setObjectName(Indexed("lblDataField", number));
        label->setGeometry(kMargin, rowTop, kListLeft - kMargin - 8, kLineHeight);
        auto* list = new QComboBox(this);
        list->setObjectName(Indexed("cboCol", number));
        list->setEditable(false);
        {
            // The first item would select itself.
            const QSignalBlocker quiet(list);
            list->addItems(items);
            list->setCurrentIndex(-1);
        }
        list->setGeometry(kListLeft, rowTop, 150, kLineHeight);
        label->setBuddy(list);
        lists_.push_back(list);
        lowestDivider = headingLine + static_cast<int>(number) * kRowPitch;
        HorizontalLine(this, Indexed("linDiv", number), lowestDivider);
    }

    auto* footer = new QWidget(this);
    footer->setObjectName(QStringLiteral("picFooter"));
    footer->setGeometry(0, lowestDivider + kFooterGap, kWidth, kFooterHeight);
    auto* save = new QPushButton(QStringLiteral("Save"), footer);
    save->setObjectName(QStringLiteral("OKButton"));
    save->setDefault(true);
    save->setGeometry(kWidth - kMargin - 2 * kButtonWidth - 8, (kFooterHeight - kButtonHeight) / 2,
                      kButtonWidth, kButtonHeight);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), footer);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setAutoDefault(false);
    cancel->setGeometry(kWidth - kMargin - kButtonWidth, (kFooterHeight - kButtonHeight) / 2,
                        kButtonWidth, kButtonHeight);
    connect(save, &QPushButton::clicked, this, [this] { Save(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(kWidth, lowestDivider + kFooterGap + kFooterHeight);
}

void ExcelFieldMapDialog::Refuse(QWidget* focus, std::string_view message) {
    focus->setFocus(Qt::OtherFocusReason);
    messages_.MessageBox(message, kProgramTitle, Messages::Buttons::kOk);
}

void ExcelFieldMapDialog::StoreAndClose(const InterfaceUpdate& update) {
    config_.UpdateInterface(std::string_view(code_), update);
    bool saved = false;
    try {
        saved = config_.SaveConfig();
    } catch (const std::exception&) {
        // A registry that cannot be read is a file that cannot be written.
    }
    if (!saved) {
        messages_.ShowMessage(kUnableToSaveConfiguration);
    }
    accept();
}

}  // namespace wexal::desktop
