// "Reading Field Mapping": the columns, as offsets from the usage column,
// into which the conduit writes the five reading fields, kept in the selected
// interface's reading map.
#pragma once

#include "desktop/windows/ExcelFieldMapDialog.h"

namespace wexal::desktop {

// What the Interface tab's "Reading Fields" button calls: opens the dialog
// modally for the configuration's selected interface, loaded afresh from
// `config`, and returns when it has closed. "Save" stores the reading map
// into the record (nothing else of it) and writes WexalDT.cfg; "Cancel" and
// the close box store nothing. Messages go through `messages`.
void ShowExcelReadingMap(clsConfig& config, Messages& messages, QWidget* parent = nullptr);

class frmExcelReadingMap final : public ExcelFieldMapDialog {
    Q_OBJECT

  public:
    frmExcelReadingMap(clsConfig& config, Messages& messages, QWidget* parent = nullptr);

  private:
    void Save() override;
};

}  // namespace wexal::desktop
