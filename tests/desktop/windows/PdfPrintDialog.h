// The print dialog seam as a test answers it: prints to a PDF file with the
// copies the test chose, or cancels.
#pragma once

#include <QPrinter>
#include <filesystem>

#include "desktop/windows/ReportPrintDialog.h"

namespace wexal::testing {

class PdfPrintDialog final : public desktop::ReportPrintDialog {
  public:
    explicit PdfPrintDialog(std::filesystem::path file) : file_(std::move(file)) {}
    bool Choose(QWidget*, QPrinter& printer) override {
        ++shown;
        if (cancels > 0) {
            --cancels;
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file_.string()));
        printer.setCopyCount(copies);
        return true;
    }

    int copies = 1;
    int cancels = 0;
    int shown = 0;

  private:
    std::filesystem::path file_;
};

}  // namespace wexal::testing
