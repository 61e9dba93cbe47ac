// Every file the desktop reads at the user's word, with a FIFO or a device
// like /dev/zero in its place: each is refused at once with a message that
// names it, where the window used to freeze or read until memory ran out.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <iostream>
#include <string>

#include "desktop/core/clsConfig.h"
#include "desktop/windows/ExceptionsReport.h"
#include "desktop/windows/frmExceptionFilter.h"
#include "desktop/windows/frmPrompt.h"
#include "desktop/windows/frmResponseCodes.h"
#include "tests/desktop/core/CaptureLines.h"
#include "tests/desktop/windows/FixedClock.h"
#include "tests/desktop/windows/PdfPrintDialog.h"
#include "tests/desktop/windows/ScriptedFileChooser.h"
#include "tests/desktop/windows/ScriptedGridSeams.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/desktop/windows/TabsWindow.h"
#include "tests/desktop/windows/UiScript.h"
#include "tests/desktop/windows/WindowPictures.h"
#include "tests/support/NotRegularFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/Watchdog.h"

namespace wexal::desktop {
namespace {

using testing::ScriptedMessages;
using testing::UiScript;

// A scratch office with a readings file and a capture file of one missed
// meter, and the seams its windows talk through.
struct Office {
    Office() {
        testing::WriteFile(Readings(), "             1001 read\r\n");
        testing::CaptureFields missed;
        missed.service = "10002";
        testing::WriteFile(Capture(), testing::CaptureLine(missed));
    }
    std::string Readings() const { return (dir / "readings.txt").string(); }
    std::string Capture() const { return (dir / "Exceptions.txt").string(); }

    void Report(const std::string& capture, const std::string& readings) {
        clsConfig config;
        config.ExceptionsFile = capture;
        config.SelectedInterface = "ACCUFUND";
        config.AddInterface(InterfaceRec{.Name = "AccuFund", .ReadingsPath = readings});
        testing::FixedClock clock;
        QPrinter printer;
        testing::PdfPrintDialog printDialog(dir / "report.pdf");
        ReportExceptions(nullptr, config, {messages, clock, printer, printDialog});
    }

    void ImportResponseCodes(const std::string& file) {
        clsConfig config;
        testing::ScriptedFileChooser files;
        files.Answer(file);
        testing::CountingBeeper beeper;
        testing::ScriptedClipboard clipboard;
        testing::FixedClock clock;
        frmResponseCodes editor(config, files, {messages, beeper, clipboard, clock});
        QTimer::singleShot(0, &editor, [&] {
            editor.findChild<QPushButton*>(QStringLiteral("btnImport"))->click();
            testing::SavePicture(editor, "response-codes-import-not-a-file");
            editor.reject();
        });
        editor.Display();
    }

    void ListWorksheets(const std::string& workbook) {
        testing::ScriptedFileChooser chooser;
        QLineEdit box(QString::fromStdString(workbook));
        QLineEdit sheetBox;
        frmPrompt prompt(chooser, messages);
        testing::WhenPromptOpens([](frmPrompt& shown) {
            testing::SavePicture(shown, "prompt-workbook-not-a-file");
            shown.btnCancel->click();
        });
        prompt.Display(frmPrompt::kWorkbook, 0, {&box, &sheetBox});
    }

    testing::TempDir dir;
    ScriptedMessages messages;
    UiScript ui;
};

TEST(NotRegularFilesTest, EachFileTheDesktopReadsIsRefusedAtOnceByName) {
    struct Case {
        const char* file;
        const char* title;   // empty for the program's message window
        std::string prefix;  // the message up to the file's path
        std::function<void(Office&, const std::string& path)> use;
    };
    const std::vector<Case> cases = {
        {"readings file of the exceptions report", "Error", "Cannot open ",
         [](Office& office, const std::string& path) { office.Report(office.Capture(), path); }},
        {"capture file of the exceptions report", "Error", "Cannot open ",
         [](Office& office, const std::string& path) {
             office.ui.Then(
                 "filter", [] { return UiScript::Modal<frmExceptionFilter>() != nullptr; },
                 [] {
                     UiScript::Modal<frmExceptionFilter>()
                         ->findChild<QPushButton*>(QStringLiteral("btnAction0"))
                         ->click();
                 });
             office.Report(path, office.Readings());
         }},
        {"response-code import", "", "Unable to import response codes from ",
         [](Office& office, const std::string& path) { office.ImportResponseCodes(path); }},
        {"worksheet list", "WexalDT", "Cannot open the workbook ",
         [](Office& office, const std::string& path) { office.ListWorksheets(path); }},
    };
    for (const auto& kind : testing::NotRegularFiles()) {
        for (const Case& c : cases) {
            const std::string what = std::string(c.file) + " as a " + kind.kind;
            SCOPED_TRACE(what);
            Office office;
            const std::string path = (office.dir / "standing-in.txt").string();
            if (!kind.make(path)) {
                std::cout << "cannot make a " << kind.kind << " here: not tried\n";
                continue;
            }
            {
                const testing::Watchdog watchdog(what);
                c.use(office, path);
            }
            EXPECT_EQ(office.ui.Left(), 0U) << "steps not taken";
            const auto& shown = office.messages.All();
            EXPECT_EQ(shown.size(), 1U) << ::testing::PrintToString(office.messages.Texts());
            if (!shown.empty()) {
                EXPECT_EQ(shown[0].title, c.title);
                EXPECT_EQ(shown[0].text, c.prefix + path + ": not a regular file");
            }
        }
    }
}

}  // namespace
}  // namespace wexal::desktop
