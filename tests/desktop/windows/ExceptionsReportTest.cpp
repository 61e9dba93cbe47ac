// The exceptions report as the user meets it: the checks, the filter dialog,
// the preview, printing to PDF files and clearing the printed entries.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/core/clsConfig.h"
#include "desktop/windows/ExceptionsReport.h"
#include "desktop/windows/frmExceptionFilter.h"
#include "desktop/windows/frmReport.h"
#include "tests/desktop/core/CaptureLines.h"
#include "tests/desktop/windows/FixedClock.h"
#include "tests/desktop/windows/PdfPrintDialog.h"
#include "tests/desktop/windows/ReportWindows.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/desktop/windows/UiScript.h"
#include "tests/desktop/windows/WindowPictures.h"
#include "tests/support/Commands.h"
#include "tests/support/TempDir.h"

namespace {

using namespace wexal::desktop;
using wexal::testing::CaptureFields;
using wexal::testing::CaptureLine;
using wexal::testing::Click;
using wexal::testing::CommandRun;
using wexal::testing::Execute;
using wexal::testing::FixedClock;
using wexal::testing::PdfPrintDialog;
using wexal::testing::Quote;
using wexal::testing::ReadFile;
using wexal::testing::SavePicture;
using wexal::testing::ScriptedMessages;
using wexal::testing::TempDir;
using wexal::testing::UiScript;
using wexal::testing::WaitingPreview;
using wexal::testing::WriteFile;

using Shown = ScriptedMessages::Shown;

// --- Seams ---

// The scripted messages, with something that happens while a question waits
// for its answer.
class MessagesWithPause final : public Messages {
  public:
    explicit MessagesWithPause(ScriptedMessages& script) : script_(script) {}
    void ShowMessage(std::string_view text) override { script_.ShowMessage(text); }
    Answer MessageBox(std::string_view text, std::string_view title, Buttons buttons,
                      Icon icon) override {
        if (buttons == Buttons::kYesNo && whileAsking) {
            whileAsking();
        }
        return script_.MessageBox(text, title, buttons, icon);
    }
    std::function<void()> whileAsking;

  private:
    ScriptedMessages& script_;
};

// --- Helpers ---

CaptureFields Meter(int number, std::string current, std::string code = "", std::string text = "") {
    CaptureFields f;
    f.service = std::to_string(10000 + number);
    f.tag = "T" + std::to_string(number);
    f.serial = "S" + std::to_string(number);
    f.type = "W";
    f.previous = "1000";
    f.hi = "1500";
    f.lo = "1100";
    f.current = std::move(current);
    f.date = "261209";
    f.time = "0930";
    f.owner = "Owner " + std::to_string(number);
    f.location = std::to_string(number) + " Oak Street";
    f.message = "Note " + std::to_string(number);
    f.reader = "JMR";
    f.code = std::move(code);
    f.text = std::move(text);
    return f;
}

// `count` meters that were not read: each is missed.
std::string MissedMeters(int count) {
    std::string file;
    for (int i = 1; i <= count; ++i) {
        file += CaptureLine(Meter(i, ""));
    }
    return file;
}

int PreviewWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        count += qobject_cast<frmReport*>(window) != nullptr ? 1 : 0;
    }
    return count;
}

QScrollBar* Bar(frmReport& preview, const char* name) {
    return preview.findChild<QScrollBar*>(QString::fromLatin1(name));
}

QWidget* Page(frmReport& preview) {
    return preview.findChild<QWidget*>(QStringLiteral("Preview"));
}

// Sizes the preview so that its viewport is `inchesHigh` x `inchesWide`.
void SizeViewport(frmReport& preview, double inchesWide, double inchesHigh) {
    const int toolbar = preview.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->height();
    const int bar = Bar(preview, "VScroll1")->width();
    preview.resize(static_cast<int>(inchesWide * 96) + bar,
                   toolbar + static_cast<int>(inchesHigh * 96) + bar);
    QApplication::processEvents();
}

// --- The report on a prepared office ---

class ExceptionsReportTest : public ::testing::Test {
  protected:
    ExceptionsReportTest()
        : clock_(LocalDateTime{2026, 12, 9, 17, 45, 0}),
          messages_(script_),
          printDialog_(dir_ / "report.pdf") {
        config_.ExceptionsFile = Capture();
        config_.SelectedInterface = "ACCUFUND";
        config_.AddInterface(InterfaceRec{.Name = "AccuFund", .ReadingsPath = Readings()});
        WriteFile(Readings(), "             1001 read\r\n");
    }

    std::string Capture() const { return (dir_ / "Exceptions.txt").string(); }
    std::string Readings() const { return (dir_ / "readings.txt").string(); }

    void Run() {
        ReportExceptions(nullptr, config_,
                         ExceptionsReportSeams{messages_, clock_, printer_, printDialog_});
        EXPECT_EQ(ui_.Left(), 0U) << "steps not taken";
        EXPECT_EQ(PreviewWindows(), 0) << "a preview is left behind";
    }

    // The filter dialog: untick the boxes named, then Continue.
    void Filter(std::vector<int> untick = {}) {
        ui_.Then(
            "filter", [] { return UiScript::Modal<frmExceptionFilter>() != nullptr; },
            [untick] {
                auto* filter = UiScript::Modal<frmExceptionFilter>();
                for (int box : untick) {
                    filter->findChild<QCheckBox*>(QStringLiteral("chkFilter%1").arg(box))
                        ->setChecked(false);
                }
                filter->findChild<QPushButton*>(QStringLiteral("btnAction0"))->click();
            });
    }

    // The preview waiting: check or do something, then press `key`.
    void Preview(std::string what, std::function<void(frmReport&)> look, const char* key) {
        ui_.Then(
            std::move(what), [] { return WaitingPreview() != nullptr; },
            [look, key] {
                frmReport& preview = *WaitingPreview();
                if (look) {
                    look(preview);
                }
                if (key != nullptr) {
                    Click(preview, key);
                }
            });
    }

    std::vector<std::string> Titles;
    void RecordTitle(frmReport& preview) { Titles.push_back(preview.windowTitle().toStdString()); }

    TempDir dir_;
    clsConfig config_;
    FixedClock clock_;
    ScriptedMessages script_;
    MessagesWithPause messages_;
    QPrinter printer_{QPrinter::HighResolution};
    PdfPrintDialog printDialog_;
    UiScript ui_;
};

TEST_F(ExceptionsReportTest, ChecksShowTheirMessagesInOrder) {
    WriteFile(Capture(), MissedMeters(3));
    struct Case {
        const char* name;
        std::function<void(clsConfig&)> setUp;
        Shown shown;
    };
    const std::string missingReadings = (dir_ / "nowhere" / "readings.txt").string();
    const std::vector<Case> cases = {
        {"blank capture file name",
         [](clsConfig& c) { c.ExceptionsFile = "   "; },
         {{}, "Error", "Exceptions Capture file not defined"}},
        {"capture file missing",
         [&](clsConfig& c) {
             c.ExceptionsFile = (dir_ / "none.txt").string();
             c.SelectedInterface = "";  // the earlier check comes first
         },
         {{}, "Error", "Exceptions Capture file doesn't exist"}},
        {"interface unknown",
         [](clsConfig& c) { c.SelectedInterface = "NORTHSTAR"; },
         {{}, "Error", "Readings file location is not known from the setup."}},
        {"readings file missing",
         [&](clsConfig& c) {
             c.UpdateInterface(std::string_view("ACCUFUND"),
                               InterfaceUpdate{.ReadingsPath = missingReadings});
         },
         {{}, "WexalDT", "Reading file \"" + missingReadings + "\" does not exist"}},
    };
    for (const Case& c : cases) {
        const clsConfig kept = config_;
        c.setUp(config_);
        script_.Clear();
        Run();
        ASSERT_EQ(script_.All().size(), 1U) << c.name;
        EXPECT_EQ(script_.All()[0].title, c.shown.title) << c.name;
        EXPECT_EQ(script_.All()[0].text, c.shown.text) << c.name;
        config_ = kept;
    }
}

TEST_F(ExceptionsReportTest, FilterCancelAndCloseBoxEndSilentlyAndAnEmptyResultSaysSo) {
    WriteFile(Capture(), MissedMeters(3));
    ui_.Then(
        "cancel", [] { return UiScript::Modal<frmExceptionFilter>() != nullptr; },
        [] {
            UiScript::Modal<frmExceptionFilter>()
                ->findChild<QPushButton*>(QStringLiteral("btnAction1"))
                ->click();
        });
    Run();
    ui_.Then(
        "close box", [] { return UiScript::Modal<frmExceptionFilter>() != nullptr; },
        [] { UiScript::Modal<frmExceptionFilter>()->close(); });
    Run();
    ui_.Then(
        "escape", [] { return UiScript::Modal<frmExceptionFilter>() != nullptr; },
        [] { QTest::keyClick(UiScript::Modal<frmExceptionFilter>(), Qt::Key_Escape); });
    Run();
    EXPECT_TRUE(script_.All().empty());

    Filter({0});  // only messages and ranges: none of the missed meters
    Run();
    ASSERT_EQ(script_.All().size(), 1U);
    EXPECT_EQ(script_.All()[0].title, "Error");
    EXPECT_EQ(script_.All()[0].text,
              "Exceptions Capture file is empty or no entries match the filter selection");
}

TEST_F(ExceptionsReportTest, FilterDialogHandsBackTheTicks) {
    frmExceptionFilter filter;
    EXPECT_EQ(filter.windowTitle(), "Exception Reporting Filter");
    EXPECT_EQ(filter.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              "Include these exceptions:");
    bool missed = false;
    bool messages = false;
    bool outOfBounds = true;
    ui_.Then(
        "untick missed", [] { return UiScript::Modal<frmExceptionFilter>() != nullptr; },
        [&filter] {
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(filter.findChild<QCheckBox*>(QStringLiteral("chkFilter%1").arg(i))
                                ->isChecked());
            }
            filter.findChild<QCheckBox*>(QStringLiteral("chkFilter0"))->setChecked(false);
            SavePicture(filter, "exceptions-filter");
            filter.findChild<QPushButton*>(QStringLiteral("btnAction0"))->click();
        });
    EXPECT_EQ(filter.Display(missed, messages, outOfBounds), "CONTINUE");
    EXPECT_FALSE(missed);
    EXPECT_TRUE(messages);
    EXPECT_TRUE(outOfBounds);

    bool a = false;
    bool b = true;
    bool c = false;
    ui_.Then(
        "untick all, cancel", [] { return UiScript::Modal<frmExceptionFilter>() != nullptr; },
        [&filter] {
            EXPECT_TRUE(filter.findChild<QCheckBox*>(QStringLiteral("chkFilter0"))->isChecked());
            for (int i = 0; i < 3; ++i) {
                filter.findChild<QCheckBox*>(QStringLiteral("chkFilter%1").arg(i))
                    ->setChecked(false);
            }
            filter.findChild<QPushButton*>(QStringLiteral("btnAction1"))->click();
        });
    EXPECT_EQ(filter.Display(a, b, c), "CANCEL");
    EXPECT_FALSE(a);
    EXPECT_TRUE(b);
    EXPECT_FALSE(c);
    EXPECT_EQ(ui_.Left(), 0U);
}

TEST_F(ExceptionsReportTest, PreviewTurnsPagesAndKeepsTheScrollPosition) {
    WriteFile(Capture(), MissedMeters(20));  // three pages: 9, 9 and 2
    const std::string before = ReadFile(Capture());
    auto record = [this](frmReport& preview) { RecordTitle(preview); };
    Filter();
    Preview(
        "first page",
        [&](frmReport& preview) {
            record(preview);
            SavePicture(preview, "exceptions-preview-page1");
            SizeViewport(preview, 6, 4);
            Bar(preview, "VScroll1")->setValue(300);
        },
        "NEXT");
    Preview(
        "second page",
        [&](frmReport& preview) {
            record(preview);
            EXPECT_EQ(Bar(preview, "VScroll1")->value(), 300);
            EXPECT_EQ(Page(preview)->y(), -288);
        },
        "NEXT");
    Preview("last page", record, "NEXT");
    Preview("next on the last page", record, "PREV");
    Preview("back to the second", record, "FIRST");
    Preview("first again", record, "PREV");
    Preview("prev on the first page", record, "LAST");
    Preview(
        "last",
        [&](frmReport& preview) {
            record(preview);
            Bar(preview, "VScroll1")->setValue(0);
            SavePicture(preview, "exceptions-preview-page3");
            preview.close();  // the close box
        },
        nullptr);
    Run();
    const std::vector<std::string> expected = {
        "Exceptions Report - Page 1 of 3", "Exceptions Report - Page 2 of 3",
        "Exceptions Report - Page 3 of 3", "Exceptions Report - Page 3 of 3",
        "Exceptions Report - Page 2 of 3", "Exceptions Report - Page 1 of 3",
        "Exceptions Report - Page 1 of 3", "Exceptions Report - Page 3 of 3",
    };
    EXPECT_EQ(Titles, expected);
    EXPECT_TRUE(script_.All().empty());
    EXPECT_EQ(ReadFile(Capture()), before);
    EXPECT_EQ(printDialog_.shown, 0);
}

TEST_F(ExceptionsReportTest, CountsBeyondSixteenBits) {
    WriteFile(Capture(), std::string(32768, '\n'));  // blank lines: each one missed
    Filter();
    Preview(
        "first page", [this](frmReport& preview) { RecordTitle(preview); }, "CLOSE");
    Run();
    EXPECT_EQ(Titles, std::vector<std::string>{"Exceptions Report - Page 1 of 3641"});
    EXPECT_TRUE(script_.All().empty());
}

TEST(ReportPreviewTest, ScrollsByBarsKeysAndDragging) {
    frmReport preview;
    preview.show();
    SizeViewport(preview, 6, 4);
    QScrollBar& v = *Bar(preview, "VScroll1");
    QScrollBar& h = *Bar(preview, "HScroll1");
    QWidget& page = *Page(preview);
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(v.maximum(), 700);
    EXPECT_EQ(v.pageStep(), 400);
    EXPECT_EQ(v.singleStep(), 40);
    EXPECT_EQ(h.maximum(), 250);
    EXPECT_EQ(h.pageStep(), 600);
    EXPECT_EQ(h.singleStep(), 60);

    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int vertical;
        int horizontal;
    };
    const std::vector<Press> presses = {
        {Qt::Key_Down, Qt::NoModifier, 40, 0},
        {Qt::Key_Down, Qt::ShiftModifier, 440, 0},
        {Qt::Key_Down, Qt::ShiftModifier, 700, 0},  // stops at the maximum
        {Qt::Key_Down, Qt::NoModifier, 700, 0},
        {Qt::Key_Up, Qt::NoModifier, 660, 0},
        {Qt::Key_Up, Qt::ControlModifier, 0, 0},
        {Qt::Key_PageDown, Qt::NoModifier, 400, 0},
        {Qt::Key_End, Qt::NoModifier, 700, 0},
        {Qt::Key_PageUp, Qt::NoModifier, 300, 0},
        {Qt::Key_Home, Qt::NoModifier, 0, 0},
        {Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier, 0, 0},  // no step
        {Qt::Key_Right, Qt::NoModifier, 0, 60},
        {Qt::Key_Right, Qt::ControlModifier, 0, 250},
        {Qt::Key_Left, Qt::ShiftModifier, 0, 0},
    };
    for (const Press& press : presses) {
        QTest::keyClick(&preview, press.key, press.modifiers);
        EXPECT_EQ(v.value(), press.vertical) << press.key;
        EXPECT_EQ(h.value(), press.horizontal) << press.key;
        EXPECT_EQ(page.y(), std::lround(-press.vertical * 0.96)) << press.key;
        EXPECT_EQ(page.x(), std::lround(-press.horizontal * 0.96)) << press.key;
    }
    // A toolbar button that has the keyboard does not keep the arrows.
    QToolButton* button = preview.findChildren<QToolButton*>().front();
    QTest::keyClick(button, Qt::Key_Down);
    EXPECT_EQ(v.value(), 40);

    // Dragging one inch to the right and one up: the page follows the pointer.
    h.setValue(200);
    v.setValue(100);
    auto mouse = [&page](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, page.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&page, &event);
    };
    mouse(QEvent::MouseButtonPress, QPointF(300, 300), Qt::LeftButton);
    mouse(QEvent::MouseMove, QPointF(396, 252), Qt::LeftButton);
    EXPECT_EQ(h.value(), 100);
    EXPECT_EQ(v.value(), 150);
    // The pointer stands where it was pressed on the moved page; dragging far
    // stops at the ends.
    mouse(QEvent::MouseMove, QPointF(300 + 960, 300 + 960), Qt::LeftButton);
    EXPECT_EQ(h.value(), 0);
    EXPECT_EQ(v.value(), 0);
    mouse(QEvent::MouseMove, QPointF(300 - 2000, 300), Qt::NoButton);  // no button held
    EXPECT_EQ(h.value(), 0);

    // After a resize the page stands where its bars say.
    v.setValue(200);
    SizeViewport(preview, 6, 5);
    EXPECT_EQ(v.maximum(), 600);
    EXPECT_EQ(v.value(), 200);
    EXPECT_EQ(page.y(), -192);
    v.setValue(600);
    SizeViewport(preview, 6, 8);
    EXPECT_EQ(v.value(), 300);
    EXPECT_EQ(page.y(), -288);
    SizeViewport(preview, 6, 11);
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(v.maximum(), 0);
    EXPECT_EQ(page.y(), 0);
    SizeViewport(preview, 9, 12);
    EXPECT_FALSE(v.isVisible());
    EXPECT_FALSE(h.isVisible());
    EXPECT_EQ(v.maximum(), 0);

    // The close box answers "CLOSE" and the tooltips name the buttons.
    EXPECT_EQ(preview.findChild<QAction*>(QStringLiteral("PRINT"))->toolTip(), "Print to Printer");
    EXPECT_EQ(preview.findChild<QAction*>(QStringLiteral("CLOSE"))->toolTip(), "Close Preview");
    UiScript ui;
    ui.Then(
        "close box", [&preview] { return preview.Waiting(); }, [&preview] { preview.close(); });
    EXPECT_EQ(preview.Display("Exceptions Report - Page 1 of 1"), "CLOSE");
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(preview.windowTitle(), "Exceptions Report - Page 1 of 1");
}

// --- Printing ---

struct Word {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The words of each page of a PDF, as pdftotext places them (points).
std::vector<std::vector<Word>> WordsOf(const std::filesystem::path& pdf) {
    const CommandRun run = Execute("pdftotext -bbox " + Quote(pdf) + " -");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::vector<std::vector<Word>> pages;
    const std::regex page("<page ");
    const std::regex word(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)"
        "</word>");
    std::istringstream lines(run.output);
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_search(line, page)) {
            pages.emplace_back();
        } else if (std::regex_search(line, m, word) && !pages.empty()) {
            pages.back().push_back(
                {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
        }
    }
    return pages;
}

// Words with this text, in reading order.
std::vector<Word> Find(const std::vector<Word>& words, const std::string& text) {
    std::vector<Word> found;
    for (const Word& w : words) {
        if (w.text == text) {
            found.push_back(w);
        }
    }
    return found;
}

TEST_F(ExceptionsReportTest, PrintsEachCopyAsAJobOfItsOwnAtTheInchPositions) {
    WriteFile(Capture(), MissedMeters(11));  // two pages: 9 and 2
    const std::string before = ReadFile(Capture());
    printDialog_.copies = 2;
    Filter();
    Preview("print", nullptr, "PRINT");
    script_.Answer(Messages::Answer::kNo);
    Run();
    ASSERT_EQ(script_.All().size(), 1U);
    EXPECT_EQ(script_.All()[0].text, "Clear these entries from the exception file?");
    EXPECT_EQ(script_.All()[0].title, "WexalDT");
    EXPECT_EQ(script_.All()[0].buttons, Messages::Buttons::kYesNo);
    EXPECT_EQ(ReadFile(Capture()), before);  // No changes nothing
    // The shared printer is given back as it was set up.
    EXPECT_EQ(printer_.copyCount(), 2);
    EXPECT_EQ(printer_.outputFileName().toStdString(), (dir_ / "report.pdf").string());

    for (const char* copy : {"report.pdf", "report-2.pdf"}) {
        SCOPED_TRACE(copy);
        const std::filesystem::path pdf = dir_ / copy;
        const CommandRun info = Execute("pdfinfo " + Quote(pdf));
        ASSERT_EQ(info.exitCode, 0) << info.output;
        EXPECT_NE(info.output.find("Pages:           2"), std::string::npos) << info.output;
        EXPECT_NE(info.output.find("612 x 792 pts (letter)"), std::string::npos) << info.output;

        const auto pages = WordsOf(pdf);
        ASSERT_EQ(pages.size(), 2U);
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const std::vector<Word>& words = pages[p];
            const auto near = [](double actual, double inches) {
                return std::abs(actual - inches * 72) <= 1.0;
            };
            const auto date = Find(words, "Date:");
            ASSERT_EQ(date.size(), 1U);
            EXPECT_TRUE(near(date[0].xMin, 0.5)) << date[0].xMin;
            EXPECT_TRUE(near(date[0].yMin, 0.5)) << date[0].yMin;
            const auto title = Find(words, "Readings");
            const auto report = Find(words, "Report");
            ASSERT_EQ(title.size(), 1U);
            ASSERT_EQ(report.size(), 1U);
            EXPECT_TRUE(near((title[0].xMin + report[0].xMax) / 2, 4.25));
            // "Page: p", its right end at 7.75 inches.
            const auto label = std::find_if(words.begin(), words.end(),
                                            [](const Word& w) { return w.text == "Page:"; });
            ASSERT_TRUE(label != words.end() && label + 1 != words.end());
            const Word& number = *(label + 1);
            EXPECT_EQ(number.text, std::to_string(p + 1));
            EXPECT_TRUE(near(number.xMax, 7.75)) << number.xMax;
            EXPECT_TRUE(near(number.yMin, 0.5));

            // Each slot's labels and columns, one inch apart.
            const std::size_t entries = p == 0 ? 9 : 2;
            const auto service = Find(words, "Service");
            ASSERT_EQ(service.size(), entries);
            for (std::size_t s = 0; s < entries; ++s) {
                const double y = static_cast<double>(s + 1);
                EXPECT_TRUE(near(service[s].xMin, 0.5));
                EXPECT_TRUE(near(service[s].yMin, y)) << service[s].yMin;
                const int number = static_cast<int>(p * 9 + s + 1);
                const struct {
                    std::string text;
                    double x;
                } columns[] = {{"Previous", 2.4}, {"Expect", 3.7},
                               {"Owner", 5.2},    {std::to_string(10000 + number), 1.1},
                               {"1000", 3.0},     {"1100", 4.4},
                               {"Owner", 5.8},    {"Missed", 7.3}};
                for (const auto& column : columns) {
                    bool found = false;
                    for (const Word& w : Find(words, column.text)) {
                        found = found || (near(w.xMin, column.x) && near(w.yMin, y));
                    }
                    EXPECT_TRUE(found) << column.text << " at " << column.x << " in slot " << s;
                }
            }
        }
    }
    const std::filesystem::path picture =
        std::filesystem::path(WEXAL_SCREENSHOT_DIR) / "exceptions-printed-page1";
    std::filesystem::create_directories(picture.parent_path());
    const CommandRun ppm = Execute("pdftoppm -r 60 -png -singlefile -f 1 -l 1 " +
                                   Quote(dir_ / "report.pdf") + " " + Quote(picture));
    EXPECT_EQ(ppm.exitCode, 0) << ppm.output;
}

// --- Clearing ---

ino_t Inode(const std::string& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(ExceptionsReportTest, YesClearsExactlyThePrintedEntries) {
    const std::string missed = CaptureLine(Meter(1, ""));
    const std::string message = CaptureLine(Meter(2, "1200", "03", "Gate locked"));
    const std::string high = CaptureLine(Meter(3, "1600"));
    const std::string inside = CaptureLine(Meter(4, "1200"));
    WriteFile(Capture(), missed + message + high + inside);
    const ino_t before = Inode(Capture());
    const std::string appended = CaptureLine(Meter(5, ""));
    messages_.whileAsking = [&] {
        // A sync appends while the question waits.
        std::FILE* file = std::fopen(Capture().c_str(), "ab");
        std::fputs(appended.c_str(), file);
        std::fclose(file);
    };
    Filter({1});  // messages kept out
    Preview("print", nullptr, "PRINT");
    script_.Answer(Messages::Answer::kYes);
    Run();
    EXPECT_EQ(script_.Texts(),
              std::vector<std::string>{"Clear these entries from the exception file?"});
    EXPECT_EQ(ReadFile(Capture()), message + inside + appended);
    EXPECT_NE(Inode(Capture()), before);
}

TEST_F(ExceptionsReportTest, ClearingIsRefusedWhileASyncJournalIsPending) {
    WriteFile(Capture(), MissedMeters(2));
    WriteFile(Capture() + ".pending", "journal of a sync that died");
    Filter();
    Preview("print", nullptr, "PRINT");
    script_.Answer(Messages::Answer::kYes);
    Run();
    ASSERT_EQ(script_.All().size(), 2U);
    EXPECT_EQ(script_.All()[1].text,
              "A HotSync is writing the exceptions file; no entries were cleared.");
    EXPECT_EQ(script_.All()[1].title, "Error");
    EXPECT_EQ(ReadFile(Capture()), MissedMeters(2));
}

TEST_F(ExceptionsReportTest, CancelInThePrintDialogReturnsToThePreviewSilently) {
    WriteFile(Capture(), MissedMeters(2));
    printDialog_.cancels = 1;
    Filter();
    Preview("print, then cancel", nullptr, "PRINT");
    Preview(
        "back in the preview", [this](frmReport& preview) { RecordTitle(preview); }, "CLOSE");
    Run();
    EXPECT_EQ(printDialog_.shown, 1);
    EXPECT_EQ(Titles, std::vector<std::string>{"Exceptions Report - Page 1 of 1"});
    EXPECT_TRUE(script_.All().empty());
    EXPECT_FALSE(std::filesystem::exists(dir_ / "report.pdf"));
    EXPECT_EQ(ReadFile(Capture()), MissedMeters(2));
}

TEST_F(ExceptionsReportTest, AFailureWhileThePreviewIsOpenClosesIt) {
    WriteFile(Capture(), MissedMeters(12));
    Filter();
    Preview(
        "first page", [this](frmReport&) { std::filesystem::remove(Capture()); }, "NEXT");
    Run();  // checks that no preview is left
    ASSERT_EQ(script_.All().size(), 1U);
    EXPECT_EQ(script_.All()[0].title, "Error");
    EXPECT_EQ(script_.All()[0].text, "Cannot open " + Capture() + ": No such file or directory");
}

}  // namespace
