#include "desktop/windows/frmExcelReadingMap.h"

#include <QComboBox>

#include "desktop/core/ColumnMapEntry.h"

namespace wexal::desktop {

void ShowExcelReadingMap(clsConfig& config, Messages& messages, QWidget* parent) {
    frmExcelReadingMap dialog(config, messages, parent);
    dialog.exec();
}

frmExcelReadingMap::frmExcelReadingMap(clsConfig& config, Messages& messages, QWidget* parent)
    : ExcelFieldMapDialog(config, messages, parent) {
    setObjectName(QStringLiteral("frmExcelReadingMap"));
    setWindowTitle(QStringLiteral("Reading Field Mapping"));

    InterfaceRec record;
    config.GetInterface(std::string_view(Code()), record);
    const ReadingMapView view = ReadingMapViewOf(record.ReadingMap);

    QStringList shown;
    for (const OffsetChoice& choice : OffsetChoices()) {
        shown << QString::fromUtf8(choice.Shown.data(),
                                   static_cast<qsizetype>(choice.Shown.size()));
    }
    BuildRows(kMargin, QStringLiteral("Data Field"),
              QStringLiteral("Position Relative to \"Usage\" Column"), ReadingFieldRows(), shown);
    for (std::size_t i = 0; i < kReadingFieldRows; ++i) {
        RowList(i)->setCurrentIndex(view[i]);
    }
}

void frmExcelReadingMap::Save() {
    ReadingMapView view{};
    for (std::size_t i = 0; i < kReadingFieldRows; ++i) {
        view[i] = RowList(i)->currentIndex();
    }
    InterfaceUpdate update;
    update.ReadingMap = SaveReadingMap(view);
    StoreAndClose(update);
}

}  // namespace wexal::desktop
