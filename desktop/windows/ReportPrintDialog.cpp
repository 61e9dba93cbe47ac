#include "desktop/windows/ReportPrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace wexal::desktop {

bool SystemReportPrintDialog::Choose(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    // The report prints whole copies of every page.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace wexal::desktop
