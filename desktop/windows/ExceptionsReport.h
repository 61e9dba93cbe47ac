// The exceptions report: what the conduit captured (missed meters, reader
// messages and response codes, readings outside their expected range),
// filtered, previewed page by page, printed in as many copies as chosen, and
// the printed entries cleared from the capture file on request.
#pragma once

class QPrinter;
class QWidget;

namespace wexal::desktop {

class Clock;
class Messages;
class ReportPrintDialog;
class clsConfig;

struct ExceptionsReportSeams {
    Messages& messages;
    const Clock& clock;  // the date and time in each page's header
    // The application's printer, the one Page Setup sets up; the report
    // prints Letter portrait on the whole paper and gives it back as it was.
    QPrinter& printer;
    ReportPrintDialog& printDialog;
};

// The click of the Operation tab's "Report ..." button (btnReportExceptions):
// runs the whole report and returns when it has ended. Reads `ExceptionsFile`,
// `SelectedInterface` and that interface's `ReadingsPath` from `config`.
// Every failure is shown to the user through `seams.messages`; nothing is
// thrown. `parent` owns the filter dialog and the preview while they show.
void ReportExceptions(QWidget* parent, const clsConfig& config, const ExceptionsReportSeams& seams);

}  // namespace wexal::desktop
