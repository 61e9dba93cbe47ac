#include "desktop/windows/frmExcelRouteMap.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "desktop/core/ColumnMapEntry.h"

namespace wexal::desktop {
namespace {

constexpr int kLine = 22;
constexpr int kBoxWidth = 70;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, int x, int y, int width) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(x, y, width, kLine);
    return label;
}

QLineEdit* Box(QWidget* parent, const char* name, const std::string& text, int x, int y,
               QLabel* label) {
    auto* box = new QLineEdit(Text(text), parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(x, y, kBoxWidth, kLine);
    label->setBuddy(box);
    return box;
}

QStringList ShownOffsetChoices() {
    QStringList shown;
    for (const OffsetChoice& choice : OffsetChoices()) {
        shown << Text(choice.Shown);
    }
    return shown;
}

QStringList ColumnItems() {
    QStringList items{Text(kNoColumn)};
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        items << QString(QLatin1Char(letter));
    }
    return items;
}

}  // namespace

void ShowExcelRouteMap(clsConfig& config, Messages& messages, QWidget* parent) {
    frmExcelRouteMap dialog(config, messages, parent);
    dialog.exec();
}

frmExcelRouteMap::frmExcelRouteMap(clsConfig& config, Messages& messages, QWidget* parent)
    : ExcelFieldMapDialog(config, messages, parent) {
    setObjectName(QStringLiteral("frmExcelRouteMap"));
    setWindowTitle(QStringLiteral("Route Field Mapping"));

    InterfaceRec record;
    config.GetInterface(std::string_view(Code()), record);
    const RouteMapView view = RouteMapViewOf(record);

    constexpr int kRight = kWidth / 2 + 10;
    int y = kMargin;
    startingRow_ =
        Box(this, "nStartingRow", view.StartingRow, kMargin + 100, y,
            Label(this, "lblStartingRow", QStringLiteral("Starting Row:"), kMargin, y, 96));
    usageRow_ = Box(this, "nUsageRow", view.UsageRow, kRight + 100, y,
                    Label(this, "lblUsageRow", QStringLiteral("\"USAGE\" Row:"), kRight, y, 96));

    y += 40;
    Label(this, "lblSpecHeading", QStringLiteral("Position Relative to \"Usage\" Column"), kMargin,
          y, kWidth - 2 * kMargin);
    y += kLine + 2;
    QLabel* previousLabel =
        Label(this, "lblSpec(0)", QStringLiteral("Previous Reading"), kMargin, y, 160);
    previousReading_ = new QComboBox(this);
    previousReading_->setObjectName(QStringLiteral("cboSpec(0)"));
    previousReading_->setEditable(false);
    {
        const QSignalBlocker quiet(previousReading_);
        previousReading_->addItems(ShownOffsetChoices());
        previousReading_->setCurrentIndex(view.PreviousReading);
    }
    previousReading_->setGeometry(kListLeft, y, 150, kLine);
    previousLabel->setBuddy(previousReading_);

    y += 40;
    Label(this, "lblFixedHeading", QStringLiteral("Percentage(%) of Prior Usage (%) "), kMargin, y,
          kWidth - 2 * kMargin);
    y += kLine + 2;
    minimumPercent_ =
        Box(this, "nFixed(0)", view.MinimumPercent, kListLeft, y,
            Label(this, "lblFixed(0)", QStringLiteral("Increase Minimum"), kMargin, y, 160));
    minimumPercent_->setProperty("Tag", Text(kMinimumPercentField));
    y += kLine + 6;
    maximumPercent_ =
        Box(this, "nFixed(1)", view.MaximumPercent, kListLeft, y,
            Label(this, "lblFixed(1)", QStringLiteral("Increase Maximum"), kMargin, y, 160));
    maximumPercent_->setProperty("Tag", Text(kMaximumPercentField));

    y += 44;
    BuildRows(y, QStringLiteral("Data Field"), QStringLiteral("Spreadsheet Column"),
              RouteFieldRows(), ColumnItems());
    for (std::size_t i = 0; i < kRouteFieldRows; ++i) {
        RowList(i)->setCurrentIndex(view.Columns[i]);
    }
}

void frmExcelRouteMap::Save() {
    RouteMapView view;
    view.StartingRow = startingRow_->text().toStdString();
    view.UsageRow = usageRow_->text().toStdString();
    view.PreviousReading = previousReading_->currentIndex();
    view.MinimumPercent = minimumPercent_->text().toStdString();
    view.MaximumPercent = maximumPercent_->text().toStdString();
    for (std::size_t i = 0; i < kRouteFieldRows; ++i) {
        view.Columns[i] = RowList(i)->currentIndex();
    }

    const RouteMapSave saved = SaveRouteMap(view);
    using Refused = RouteMapSave::Refused;
    switch (saved.Refusal) {
        case Refused::kNothing:
            break;
        case Refused::kStartingRow:
            return Refuse(startingRow_, saved.Message);
        case Refused::kUsageRow:
            return Refuse(usageRow_, saved.Message);
        case Refused::kMinimumPercent:
            return Refuse(minimumPercent_, saved.Message);
        case Refused::kMaximumPercent:
            return Refuse(maximumPercent_, saved.Message);
        case Refused::kColumn:
            return Refuse(RowList(saved.RefusedRow), saved.Message);
    }
    InterfaceUpdate update;
    update.WorksheetDataStart = saved.WorksheetDataStart;
    update.WorksheetUsageRow = saved.WorksheetUsageRow;
    update.RouteMap = saved.RouteMap;
    StoreAndClose(update);
}

}  // namespace wexal::desktop
