// "Route Field Mapping": where the route data stand in the Excel interface's
// worksheet (first data row, usage heading row, previous reading relative to
// the usage column, the expected-range percentages and the column of each
// route field), kept in the selected interface's route map.
#pragma once

#include "desktop/windows/ExcelFieldMapDialog.h"

class QLineEdit;

namespace wexal::desktop {

// What the Interface tab's "Route Fields" button calls: opens the dialog
// modally for the configuration's selected interface, loaded afresh from
// `config`, and returns when it has closed. "Save" stores the rows and the
// route map into the record and writes WexalDT.cfg; "Cancel" and the close
// box store nothing. Messages go through `messages`.
void ShowExcelRouteMap(clsConfig& config, Messages& messages, QWidget* parent = nullptr);

class frmExcelRouteMap final : public ExcelFieldMapDialog {
    Q_OBJECT

  public:
    frmExcelRouteMap(clsConfig& config, Messages& messages, QWidget* parent = nullptr);

  private:
    void Save() override;

    QLineEdit* startingRow_ = nullptr;
    QLineEdit* usageRow_ = nullptr;
    QComboBox* previousReading_ = nullptr;
    QLineEdit* minimumPercent_ = nullptr;
    QLineEdit* maximumPercent_ = nullptr;
};

}  // namespace wexal::desktop
