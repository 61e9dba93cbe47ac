// The print dialog of the exceptions report, a seam: the program shows the
// platform's dialog, tests choose a PDF file and a number of copies.
#pragma once

class QPrinter;
class QWidget;

namespace wexal::desktop {

class ReportPrintDialog {
  public:
    virtual ~ReportPrintDialog() = default;

    // Lets the user set up `printer` and choose the number of copies
    // (printer.copyCount() afterwards). False when the user cancelled.
    virtual bool Choose(QWidget* parent, QPrinter& printer) = 0;
};

// The platform's print dialog (without a print system it offers a PDF file).
class SystemReportPrintDialog final : public ReportPrintDialog {
  public:
    bool Choose(QWidget* parent, QPrinter& printer) override;
};

}  // namespace wexal::desktop
