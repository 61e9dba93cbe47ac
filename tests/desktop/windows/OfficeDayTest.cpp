// An office day through the real programs and files: WexalDT started as its
// main() starts it (the messages, file, print and clock seams answered by
// the script, closed by SIGTERM), the real installer stand-ins, the sync
// manager `hotsync` loading the registered conduit, and the `handheld` tool
// as the meter reader, on scratch folders. Each step checks the files the
// billing office sees.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "desktop/windows/InstallationTab.h"
#include "desktop/windows/InterfaceTab.h"
#include "desktop/windows/OperationTab.h"
#include "desktop/windows/StandardParts.h"
#include "desktop/windows/Startup.h"
#include "desktop/windows/TerminationSignals.h"
#include "desktop/windows/frmExcelReadingMap.h"
#include "desktop/windows/frmExcelRouteMap.h"
#include "desktop/windows/frmExceptionFilter.h"
#include "desktop/windows/frmInstallApp.h"
#include "desktop/windows/frmMain.h"
#include "desktop/windows/frmResponseCodes.h"
#include "platform/palmdesktop/HotSyncUsers.h"
#include "tests/desktop/windows/ExcelMapDialogs.h"
#include "tests/desktop/windows/PdfPrintDialog.h"
#include "tests/desktop/windows/ProgramHome.h"
#include "tests/desktop/windows/ReportWindows.h"
#include "tests/desktop/windows/ResponseCodeTyping.h"
#include "tests/desktop/windows/ScriptedFileChooser.h"
#include "tests/desktop/windows/TabsWindow.h"
#include "tests/desktop/windows/UiScript.h"
#include "tests/desktop/windows/WindowPictures.h"
#include "tests/platform/sheet/Openpyxl.h"
#include "tests/support/Commands.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

namespace fs = std::filesystem;
using testing::ProgramHome;
using testing::PromptWith;
using testing::ReadFile;
using testing::SavePicture;
using testing::TypeIntoCell;
using testing::UiScript;
using Lines = std::vector<std::string>;

// The lines of a file, each with its line end cut off.
Lines LinesOf(const std::string& text) {
    Lines lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end == std::string::npos ? end : end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A readings line of the standard vendor layout (AccuFund): 135 columns,
// then CR LF.
struct Reading {
    std::string service, name, address, initials, date, reading, time, tag, code;
};
std::string ReadingsLine(const Reading& r) {
    std::string line(135, ' ');
    const auto put = [&line](std::size_t at, std::size_t width, const std::string& value) {
        line.replace(at, std::min(width, value.size()), value.substr(0, width));
    };
    put(0, 17, r.service);
    put(17, 30, r.name);
    put(47, 30, r.address);
    put(77, 5, r.initials);
    put(82, 6, r.date);
    const std::string right =
        std::string(std::max<std::size_t>(10, r.reading.size()) - r.reading.size(),
                    ' ') +
        r.reading;  // "%10s", of which the last 9
    put(88, 9, right.substr(right.size() - 9));
    put(107, 6, r.time);
    put(113, 20, r.tag);
    put(133, 2, r.code);
    return line + "\r";
}

// The named fields of one capture-file line (columns from 1), blanks trimmed.
std::map<std::string, std::string> CaptureFields(const std::string& line) {
    struct Field {
        const char* name;
        std::size_t first, width;
    };
    static const Field fields[] = {
        {"service", 1, 20},   {"tag", 21, 20},    {"sequence", 52, 4},   {"previous", 58, 10},
        {"current", 88, 10},  {"date", 98, 6},    {"time", 104, 6},      {"name", 110, 60},
        {"address", 170, 60}, {"status", 290, 1}, {"initials", 291, 10}, {"code", 301, 2},
        {"text", 303, 60}};
    std::map<std::string, std::string> values;
    for (const Field& f : fields) {
        std::string value = line.size() >= f.first - 1 + f.width ? line.substr(f.first - 1, f.width)
                                                                 : std::string("<cut>");
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of(' ') + 1);
        values[f.name] = value;
    }
    return values;
}

// The office: a program folder with the real installer stand-ins and the
// conduit, a handheld known to the sync manager as UNIT01, a billing folder.
class OfficeDay : public ::testing::Test {
  protected:
    OfficeDay() {
        for (const char* name :
             {"libuserdata.so", "libinstaide.so", "libcondinst.so", "libcondmgr.so", "wexal.prc"}) {
            fs::copy_file(fs::path(STANDIN_FOLDER) / name, home_.ProgramFolder() / name);
        }
        fs::copy_file(WEXAL_CONDUIT, home_.ProgramFolder() / "libWexalCN.so");
        fs::create_directories(Billing());
        fs::create_directories(Rolls());
        fs::create_directories(runtime_);
        ::chmod(runtime_.c_str(), 0700);
        // Two handhelds in this office.
        testing::WriteFile(home_.SettingsFile(), "[Settings]\nUnitCount=2\n");
        // The handheld was synced once before Wexal came: the sync manager
        // knows its user.
        Reader("init --user UNIT01");
        EXPECT_TRUE(palmdesktop::AddHotSyncUser("UNIT01"));
    }
    ~OfficeDay() override {
        startup_.reset();
        fs::current_path(before_);  // the installer enters the program's folder
    }

    fs::path Billing() const { return home_.Root() / "billing"; }
    fs::path Rolls() const { return home_.Root() / "rolls"; }
    fs::path Handheld() const { return home_.Root() / "handheld"; }
    fs::path Readings() const { return Billing() / "readings.txt"; }
    fs::path Capture() const { return Billing() / "Exceptions.txt"; }

    // A tool that must succeed; its output. Leaks are not checked in the
    // children: the sync manager unloads the conduit, and what a library it
    // loaded keeps then shows as a leak no one can name.
    static std::string Tool(const std::string& command) {
        const testing::CommandRun run = testing::Execute(
            "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" " + command);
        EXPECT_EQ(run.exitCode, 0) << command << "\n" << run.output;
        return run.output;
    }
    std::string HotSync() const {
        return std::string(HOTSYNC_TOOL) + " --handheld " + testing::Quote(Handheld()) +
               " --user UNIT01";
    }
    std::string Reader(const std::string& arguments) const {
        return Tool(std::string(HANDHELD_TOOL) + " " + testing::Quote(Handheld()) + " " +
                    arguments);
    }

    // Starts the program as its main() does: the first run of this user,
    // without the splash; the main window is up when this returns.
    frmMain& Start() {
        startup_.reset();
        ProgramServices& services = home_.NewRun();
        StartupOptions options;
        options.instanceFolder = QString::fromStdString(runtime_.string());
        startup_ = std::make_unique<Startup>(services, StandardParts(services, {chooser_, print_}),
                                             options);
        termination_ = std::make_unique<TerminationSignals>();
        QObject::connect(termination_.get(), &TerminationSignals::Received, startup_.get(),
                         [this] { startup_->RequestClose(); });
        EXPECT_EQ(startup_->Main({QStringLiteral("WexalDT"), QStringLiteral("NOSPLASH")}),
                  std::nullopt);
        frmMain* window = startup_->MainForm();
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(window != nullptr && window->isVisible());
        return *window;
    }

    // SIGTERM to the program, which closes its window as "E&xit" does.
    void Terminate() {
        frmMain* window = startup_->MainForm();
        ASSERT_EQ(::raise(SIGTERM), 0);
        EXPECT_TRUE(
            QTest::qWaitFor([window] { return !window->isVisible(); }, testing::kHangBoundMs))
            << "SIGTERM did not close the program";
        termination_.reset();
        startup_.reset();
    }

    static void ShowTab(frmMain& window, int position) {
        window.TabStrip1->Tabs().setCurrentIndex(position - 1);
        QApplication::processEvents();
    }
    static InterfaceTab& Interface(frmMain& window) {
        return static_cast<InterfaceTab&>(window.Tab(1));
    }
    static OperationTab& Operation(frmMain& window) {
        return static_cast<OperationTab&>(window.Tab(2));
    }
    static void Choose(InterfaceTab& tab, const char* displayName) {
        tab.cInterface->setCurrentIndex(tab.cInterface->findText(displayName));
        ASSERT_GE(tab.cInterface->currentIndex(), 0) << displayName;
    }
    static QString Text(const fs::path& path) { return QString::fromStdString(path.string()); }

    // The Installation tab: registers the conduit and, when `unit01` is set,
    // queues the handheld application for UNIT01 only.
    void Install(frmMain& window, bool unit01) {
        ShowTab(window, 3);
        window.Tab(3).findChild<QPushButton*>("btnInstallConduit")->click();
        if (!unit01) {
            return;
        }
        ui_.Then(
            "choose UNIT01", [] { return UiScript::Modal<frmInstallApp>() != nullptr; },
            [] {
                auto* chooser = UiScript::Modal<frmInstallApp>();
                auto* list = chooser->findChild<QListWidget*>("List1");
                EXPECT_EQ(list->count(), 2);
                list->item(1)->setSelected(false);
                SavePicture(*chooser, "office-day-install-units");
                chooser->findChild<QPushButton*>("btnInstall")->click();
            });
        window.Tab(3).findChild<QPushButton*>("btnInstallUnit")->click();
        EXPECT_EQ(ui_.Left(), 0u);
        SavePicture(window, "office-day-installation");
    }

    const fs::path before_ = fs::current_path();
    ProgramHome home_;
    fs::path runtime_ = home_.Root() / "runtime";
    std::shared_ptr<testing::ScriptedFileChooser> chooser_ =
        std::make_shared<testing::ScriptedFileChooser>();
    std::shared_ptr<testing::PdfPrintDialog> print_ =
        std::make_shared<testing::PdfPrintDialog>(home_.Root() / "report.pdf");
    UiScript ui_;
    std::unique_ptr<Startup> startup_;
    std::unique_ptr<TerminationSignals> termination_;
};

TEST_F(OfficeDay, TextFilesFromTheFirstStartToTheClearedReport) {
    fs::copy_file(fs::path(WEXAL_DEMO_FOLDER) / "route.txt", Billing() / "route.txt");

    // 1. The first start, without a configuration.
    {
        frmMain& window = Start();
        EXPECT_EQ(home_.Messages().Texts(), Lines{});
        InterfaceTab& interface = Interface(window);
        Choose(interface, "Accufund");
        PromptWith(interface.btnRouteFile, Text(Billing() / "route.txt"));
        PromptWith(interface.btnReadingsFile, Text(Readings()));
        PromptWith(interface.btnReadingsRollFile, Text(Rolls()));
        SavePicture(window, "office-day-interface");

        ShowTab(window, 2);
        OperationTab& operation = Operation(window);
        operation.chkExceptionsCapture->click();
        PromptWith(operation.btnExceptionsFile, Text(Capture()));
        operation.chkUseInitials->click();
        operation.chkShowExpectedRange->click();
        operation.nRestorePIN->clear();
        QTest::keyClicks(operation.nRestorePIN, "1234");

        ui_.Then(
            "three response codes", [] { return UiScript::Modal<frmResponseCodes>() != nullptr; },
            [] {
                auto* editor = UiScript::Modal<frmResponseCodes>();
                const char* codes[][2] = {
                    {"01", "Dog in yard"}, {"02", "Meter buried"}, {"03", "Gate locked"}};
                for (int row = 1; row <= 3; ++row) {
                    TypeIntoCell(*editor, row, 1, codes[row - 1][0]);
                    TypeIntoCell(*editor, row, 2, codes[row - 1][1]);
                }
                TypeIntoCell(*editor, 3, 3, "x");  // no reading behind a locked gate
                SavePicture(*editor, "office-day-response-codes");
                editor->findChild<QPushButton*>("btnAction(0)")->click();
            });
        operation.btnResponseCodes->click();
        EXPECT_EQ(ui_.Left(), 0u);
        SavePicture(window, "office-day-operation");

        Install(window, true);
        EXPECT_EQ(home_.Messages().Texts(),
                  (Lines{"Conduit Installed",
                         "Wexal handheld applications will be installed during the next \r\n "
                         "HotSync session for those selected units."}));
        Terminate();
    }
    const std::string config = ReadFile(home_.ConfigFile());
    const Lines expected = {"SelectedInterface=ACCUFUND",
                            "Interface=ACCUFUND",
                            "RoutePath=" + (Billing() / "route.txt").string(),
                            "ReadingsPath=" + Readings().string(),
                            "ReadingsRollPath=" + Rolls().string(),
                            std::string("CaptureExceptions=Y"),
                            "ExceptionsFile=" + Capture().string(),
                            std::string("UseInitials=Y"),
                            std::string("ShowExpectedRange=Y"),
                            std::string("RestorePIN=1234"),
                            std::string("Response=03"),
                            std::string("ResponseText=Gate locked")};
    for (const std::string& line : expected) {
        EXPECT_TRUE(Has(config, line + "\r\n")) << line << "\n" << config;
    }
    EXPECT_TRUE(Has(ReadFile(home_.SettingsFile()), "SelectedTab=3"))
        << ReadFile(home_.SettingsFile());

    // 2. The next HotSync installs the application and loads the routes; the
    // reader works route 0101, a gate locked at its third meter.
    const std::string load = Tool(HotSync());
    EXPECT_TRUE(Has(load, "Installed Wexal.prc on the handheld")) << load;
    EXPECT_TRUE(Has(load, "Started with interface ACCUFUND")) << load;
    const std::string databases = Reader("list");
    EXPECT_TRUE(Has(databases, "Wexal      TLWX     appl")) << databases;
    EXPECT_TRUE(Has(databases, "route0101  TLWX     DATA           3")) << databases;
    EXPECT_FALSE(fs::exists(Billing() / "route.txt")) << "the used route file is kept as history";
    const std::string settings = Reader("show readerDB");
    for (const char* field :
         {"  UseInitials: 1 ", "  ShowExpectedRange: 1 ", "  RestorePIN: 1234 "}) {
        EXPECT_TRUE(Has(settings, field)) << field << "\n" << settings;
    }
    const std::string codes = Reader("show rcodesDB");
    for (const char* text : {"Dog in yard", "Meter buried", "Gate locked"}) {
        EXPECT_TRUE(Has(codes, text)) << text << "\n" << codes;
    }
    Reader(
        "read 0101 --meter 0=4600 --meter 1=8200 --exception 2=03 --initials JMR "
        "--date 261209 --time 0930");

    // 3. HotSync uploads: a readings line for each meter of the route, and
    // the locked gate in the capture file.
    const std::string upload = Tool(HotSync());
    const Lines readings = LinesOf(ReadFile(Readings()));
    auto reading = [](const std::string& service, const char* name, const char* address,
                      const char* value, const char* tag, const char* code) {
        return ReadingsLine({std::string(17 - service.size(), ' ') + service, name, address, "JMR",
                             "120926", value, "093000", tag, code});
    };
    EXPECT_EQ(readings,
              (Lines{reading("1001", "JANE MILLER", "12 OAK STREET", "004600", "T000001", ""),
                     reading("1002", "OMAR HASSAN", "14 OAK STREET", "008200", "T000002", ""),
                     reading("1003", "LI WEI", "16 OAK STREET", "", "T000003", "03")}))
        << upload;
    const Lines captured = LinesOf(ReadFile(Capture()));
    ASSERT_EQ(captured.size(), 1u) << ReadFile(Capture());
    EXPECT_EQ(captured[0].size(), 369u);  // 368 columns and CR
    const auto locked = CaptureFields(captured[0]);
    EXPECT_EQ(locked.at("service"), "1003");
    EXPECT_EQ(locked.at("tag"), "T000003");
    EXPECT_EQ(locked.at("name"), "LI WEI");
    EXPECT_EQ(locked.at("initials"), "JMR");
    EXPECT_EQ(locked.at("code"), "03");
    EXPECT_EQ(locked.at("text"), "Gate locked");
    EXPECT_EQ(locked.at("current"), "");

    // 4. The office: the report of everything captured, printed once and
    // cleared; then the readings file rolled.
    {
        frmMain& window = Start();
        SavePicture(window, "office-day-second-start");
        home_.Messages().Answer(Messages::Answer::kYes);  // clear the printed entries
        ShowTab(window, 2);
        ui_.Then(
               "all three filters", [] { return UiScript::Modal<frmExceptionFilter>() != nullptr; },
               [] {
                   auto* filter = UiScript::Modal<frmExceptionFilter>();
                   for (int box = 0; box < 3; ++box) {
                       auto* check =
                           filter->findChild<QCheckBox*>(QStringLiteral("chkFilter%1").arg(box));
                       EXPECT_TRUE(check->isChecked()) << box;
                   }
                   SavePicture(*filter, "office-day-report-filter");
                   filter->findChild<QPushButton*>(QStringLiteral("btnAction0"))->click();
               })
            .Then(
                "print", [] { return testing::WaitingPreview() != nullptr; },
                [] {
                    frmReport& preview = *testing::WaitingPreview();
                    SavePicture(preview, "office-day-report-preview");
                    testing::Click(preview, "PRINT");
                });
        Operation(window).btnReportExceptions->click();
        EXPECT_EQ(ui_.Left(), 0u);
        EXPECT_EQ(print_->shown, 1);
        EXPECT_EQ(home_.Messages().Texts(), Lines{"Clear these entries from the exception file?"});
        EXPECT_EQ(ReadFile(Capture()), "");

        home_.Messages().Clear();
        ShowTab(window, 1);
        Interface(window).btnReadingsRollLog->click();
        Terminate();
    }
    const fs::path rolled = Rolls() / "Readings- 2026-12-08 073437";
    EXPECT_EQ(home_.Messages().Texts(), Lines{"Readings file moved to " + rolled.string()});
    const std::string rolledBytes = ReadFile(rolled);
    EXPECT_EQ(LinesOf(rolledBytes), readings);
    EXPECT_FALSE(fs::exists(Readings()));

    const fs::path pdf = home_.Root() / "report.pdf";
    const testing::CommandRun info = testing::Execute("pdfinfo " + testing::Quote(pdf));
    EXPECT_TRUE(Has(info.output, "Pages:           1")) << info.output;
    const testing::CommandRun text =
        testing::Execute("pdftotext -layout " + testing::Quote(pdf) + " -");
    EXPECT_TRUE(Has(text.output, "1003")) << text.output;
    EXPECT_TRUE(Has(text.output, "Gate locked")) << text.output;
    EXPECT_FALSE(fs::exists(home_.Root() / "report-2.pdf")) << "one copy";
    testing::Execute("pdftoppm -r 60 -png -singlefile -f 1 -l 1 " + testing::Quote(pdf) + " " +
                     testing::Quote(fs::path(WEXAL_SCREENSHOT_DIR) / "office-day-printed-report"));

    // 5. The next HotSync starts a new readings file at the old path; the
    // rolled file stays as it was.
    Reader("read 0102 --meter 0=61300 --meter 1=2100 --initials JMR --date 261210 --time 1015");
    const std::string next = Tool(HotSync());
    EXPECT_EQ(ReadFile(rolled), rolledBytes);
    const Lines fresh = LinesOf(ReadFile(Readings()));
    ASSERT_EQ(fresh.size(), 2u) << next;
    EXPECT_EQ(fresh[0].substr(0, 17), "             2001");
    EXPECT_EQ(fresh[1].substr(0, 17), "             2002");
    EXPECT_EQ(fresh[0].substr(82, 6), "121026");
}

TEST_F(OfficeDay, WorkbookMappedInTheDialogsTakesOneDownloadAndOneUpload) {
    const fs::path workbook = Billing() / "routes.xlsx";
    // Columns: A house, B street, C name, D tag, E previous, F usage; the
    // readings go right of the usage.
    testing::MakeWorkbook(
        workbook,
        "ws.append(['HOUSE', 'STREET', 'NAME', 'TAG', 'PREVIOUS', 'USAGE', 'READING', "
        "'DATE', 'TIME', 'CODE', 'NOTE'])\n"
        "ws.append([12, 'Main Street', 'JONES MARY', 'T-100', 1000, 200])\n"
        "ws.append(['12A', 'Oak Street', 'SMITH JOHN', 'T-200', 500, 40])\n");
    {
        frmMain& window = Start();
        InterfaceTab& interface = Interface(window);
        Choose(interface, "Excel");
        interface.optSpreadsheet[0]->click();
        testing::Prompt(interface.btnSpreadsheet[0], [&workbook](frmPrompt& prompt) {
            prompt.Text1->setText(Text(workbook));
            prompt.Combo2->setCurrentIndex(prompt.Combo2->findText("Route"));
            prompt.btnOK->click();
        });
        ui_.Then(
            "route fields", [] { return UiScript::Modal<frmExcelRouteMap>() != nullptr; },
            [] {
                auto& route = *UiScript::Modal<frmExcelRouteMap>();
                testing::Type(route, "nStartingRow", "2");
                testing::Type(route, "nUsageRow", "1");
                testing::Pick(route, "cboSpec(0)", "1 Left");
                testing::Type(route, "nFixed(0)", "50");
                testing::Type(route, "nFixed(1)", "150");
                testing::Pick(route, "cboCol(8)", "A");
                testing::Pick(route, "cboCol(7)", "B");
                testing::Pick(route, "cboCol(6)", "C");
                testing::Pick(route, "cboCol(1)", "D");
                SavePicture(route, "office-day-route-fields");
                testing::Click(route, "OKButton");
            });
        interface.btnFieldMap[0]->click();
        ui_.Then(
            "reading fields", [] { return UiScript::Modal<frmExcelReadingMap>() != nullptr; },
            [] {
                auto& reading = *UiScript::Modal<frmExcelReadingMap>();
                for (int row = 1; row <= 5; ++row) {
                    testing::Pick(reading, "cboCol(" + std::to_string(row) + ")",
                                  QStringLiteral("%1 Right").arg(row));
                }
                SavePicture(reading, "office-day-reading-fields");
                testing::Click(reading, "OKButton");
            });
        interface.btnFieldMap[1]->click();
        EXPECT_EQ(ui_.Left(), 0u);
        SavePicture(window, "office-day-workbook");
        Install(window, false);
        EXPECT_EQ(home_.Messages().Texts(), Lines{"Conduit Installed"});
        Terminate();
    }

    // The first sync lists the workbook's route; the reader asks for it and
    // the next sync downloads its meters from the mapped columns.
    Tool(HotSync());
    Reader("request 01");
    const std::string download = Tool(HotSync());
    const std::string meters = Reader("show route01 --layout meter");
    for (const char* value : {"T-100", "JONES MARY", "12 Main Street", "T-200", "12A Oak Street"}) {
        EXPECT_TRUE(Has(meters, value)) << value << "\n" << meters << download;
    }

    Reader(
        "read 01 --meter 0=1234 --exception '1=01:Dog in yard' --initials JMR --date 261209 --time "
        "0930");
    const std::string upload = Tool(HotSync());
    EXPECT_EQ(testing::ReadCells(workbook, "Route",
                                 {"F2", "G2", "H2", "I2", "J2", "K2", "G3", "J3", "K3"}),
              (Lines{"200", "1234", "'12/09/26'", "'093000'", "None", "None",
                     "None",  // a meter not read has no reading
                     "'01'", "'Dog in yard'"}))
        << upload;
}

}  // namespace
}  // namespace wexal::desktop
