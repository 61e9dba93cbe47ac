#include "desktop/windows/ExceptionsReport.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "desktop/core/Clock.h"
#include "desktop/core/ExceptionPages.h"
#include "desktop/core/ExceptionsClearing.h"
#include "desktop/core/ExceptionsPageDrawing.h"
#include "desktop/core/Messages.h"
#include "desktop/core/ProgramIdentity.h"
#include "desktop/core/ReadingsKeys.h"
#include "desktop/core/clsConfig.h"
#include "desktop/windows/PainterReportSurface.h"
#include "desktop/windows/ReportPrintDialog.h"
#include "desktop/windows/frmExceptionFilter.h"
#include "desktop/windows/frmReport.h"

namespace wexal::desktop {

namespace {

constexpr std::string_view kErrorTitle = "Error";

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

bool BlankText(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

PageHeader HeaderOfPage(const Clock& clock, std::int64_t page) {
    const LocalDateTime now = clock.Now();
    PageHeader header;
    header.Date = QLocale::system()
                      .toString(QDate(now.Year, now.Month, now.Day), QLocale::ShortFormat)
                      .toStdString();
    header.Time = QString::asprintf("%02d:%02d", now.Hour, now.Minute).toStdString();
    header.Page = page;
    return header;
}

void DrawPreviewPage(frmReport& preview, const ExceptionSelection& selection, std::int64_t page,
                     std::int64_t included, const Clock& clock) {
    {
        QPainter painter(&preview.Page());
        PainterReportSurface surface(painter, frmReport::kPageDotsPerInch);
        surface.Clear();
        DrawExceptionsPage(surface, HeaderOfPage(clock, page),
                           EntriesOfPage(selection, page, included));
    }
    preview.PageDrawn();
}

// "report.pdf" for the first copy, "report-2.pdf" for the second...: each copy
// is a job of its own and must not overwrite the one before.
QString CopyFileName(const QString& chosen, int copy) {
    if (copy == 1) {
        return chosen;
    }
    const QFileInfo info(chosen);
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    const QString stem = chosen.left(chosen.size() - suffix.size());
    return stem + "-" + QString::number(copy) + suffix;
}

// Gives the shared printer back as Page Setup and the print dialog left it.
class PrinterSettingsKept {
  public:
    explicit PrinterSettingsKept(QPrinter& printer)
        : printer_(printer),
          layout_(printer.pageLayout()),
          fullPage_(printer.fullPage()),
          copies_(printer.copyCount()),
          fileName_(printer.outputFileName()) {}
    ~PrinterSettingsKept() {
        printer_.setFullPage(fullPage_);
        printer_.setPageLayout(layout_);
        printer_.setCopyCount(copies_);
        printer_.setOutputFileName(fileName_);
    }
    PrinterSettingsKept(const PrinterSettingsKept&) = delete;
    PrinterSettingsKept& operator=(const PrinterSettingsKept&) = delete;

  private:
    QPrinter& printer_;
    QPageLayout layout_;
    bool fullPage_;
    int copies_;
    QString fileName_;
};

// Prints every page in each copy chosen, one job of one copy per copy, and
// returns the lines printed.
PrintedLines PrintCopies(QPrinter& printer, const ExceptionSelection& selection,
                         std::int64_t included, std::int64_t pages, const Clock& clock) {
    const int copies = std::max(1, printer.copyCount());
    const PrinterSettingsKept kept(printer);
    const QString chosenFile = printer.outputFileName();
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    PrintedLines printed;
    for (int copy = 1; copy <= copies; ++copy) {
        // The print system must not multiply the copies again.
        printer.setCopyCount(1);
        if (!chosenFile.isEmpty()) {
            printer.setOutputFileName(CopyFileName(chosenFile, copy));
        }
        QPainter painter;
        if (!painter.begin(&printer)) {
            throw std::runtime_error("The printer " + printer.printerName().toStdString() +
                                     " cannot print.");
        }
        PainterReportSurface surface(painter, printer.resolution());
        for (std::int64_t page = 1; page <= pages; ++page) {
            if (page > 1 && !printer.newPage()) {
                throw std::runtime_error("The printer cannot start a new page.");
            }
            const std::vector<PageEntry> entries = EntriesOfPage(selection, page, included);
            for (const PageEntry& entry : entries) {
                printed.emplace(entry.LineIndex, entry.Line);
            }
            DrawExceptionsPage(surface, HeaderOfPage(clock, page), entries);
        }
        if (!painter.end() || printer.printerState() == QPrinter::Error) {
            throw std::runtime_error("The printer could not finish the report.");
        }
    }
    return printed;
}

// A wait cursor while a sync holds the capture file.
class WaitCursor {
  public:
    ~WaitCursor() {
        if (shown_) {
            QApplication::restoreOverrideCursor();
        }
    }
    void Show() {
        if (!shown_) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            shown_ = true;
        }
    }

  private:
    bool shown_ = false;
};

std::string PageTitle(std::int64_t page, std::int64_t pages) {
    return "Exceptions Report - Page " + std::to_string(page) + " of " + std::to_string(pages);
}

}  // namespace

void ReportExceptions(QWidget* parent, const clsConfig& config,
                      const ExceptionsReportSeams& seams) {
    Messages& messages = seams.messages;
    if (BlankText(config.ExceptionsFile)) {
        messages.MessageBox("Exceptions Capture file not defined", kErrorTitle);
        return;
    }
    std::unique_ptr<frmReport> preview;
    try {
        if (!FileExists(config.ExceptionsFile)) {
            messages.MessageBox("Exceptions Capture file doesn't exist", kErrorTitle);
            return;
        }
        InterfaceRec selected;
        config.GetInterface(std::string_view(config.SelectedInterface), selected);
        const std::string& readingsPath = selected.ReadingsPath;
        if (readingsPath.empty()) {
            messages.MessageBox("Readings file location is not known from the setup.", kErrorTitle);
            return;
        }
        if (!FileExists(readingsPath)) {
            messages.MessageBox("Reading file \"" + readingsPath + "\" does not exist",
                                kProgramTitle);
            return;
        }
        const ReadingsKeys readings = ReadingsKeys::Load(readingsPath);

        ExceptionSelection selection;
        selection.CaptureFile = config.ExceptionsFile;
        selection.Readings = &readings;
        {
            frmExceptionFilter filter(parent);
            if (filter.Display(selection.Kinds.MissedReadings, selection.Kinds.Messages,
                               selection.Kinds.OutofBounds) == "CANCEL") {
                return;
            }
        }

        const std::int64_t included = CountIncludedExceptions(selection);
        if (included == 0) {
            messages.MessageBox(
                "Exceptions Capture file is empty or no entries match the filter selection",
                kErrorTitle);
            return;
        }
        const std::int64_t pages = PageCount(included);
        std::int64_t page = 1;
        preview = std::make_unique<frmReport>(parent);
        for (;;) {
            DrawPreviewPage(*preview, selection, page, included, seams.clock);
            const std::string word = preview->Display(PageTitle(page, pages));
            if (word == "NEXT") {
                page = page < pages ? page + 1 : page;
            } else if (word == "PREV") {
                page = page >= 2 ? page - 1 : page;
            } else if (word == "FIRST") {
                page = 1;
            } else if (word == "LAST") {
                page = pages;
            } else if (word == "CLOSE") {
                return;
            } else if (word == "PRINT") {
                // Cancel in the print dialog: back to the preview, nothing said.
                if (!seams.printDialog.Choose(preview.get(), seams.printer)) {
                    continue;
                }
                const PrintedLines printed =
                    PrintCopies(seams.printer, selection, included, pages, seams.clock);
                if (messages.MessageBox("Clear these entries from the exception file?",
                                        kProgramTitle,
                                        Messages::Buttons::kYesNo) == Messages::Answer::kYes) {
                    WaitCursor waiting;
                    ClearPrintedExceptions(config.ExceptionsFile, printed,
                                           [&waiting] { waiting.Show(); });
                }
                return;
            }
        }
    } catch (const std::exception& failure) {
        messages.MessageBox(failure.what(), kErrorTitle);
        // The preview goes with the report: no window is left behind.
    }
}

}  // namespace wexal::desktop
