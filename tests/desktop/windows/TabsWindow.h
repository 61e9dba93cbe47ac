// The main window with the real Interface and Operation tabs for a test: a
// scratch program home, file dialogs answered by script, the other windows'
// actions recorded, and a way to work a modal edit prompt.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/windows/InterfaceTab.h"
#include "desktop/windows/OperationTab.h"
#include "desktop/windows/StandardParts.h"
#include "desktop/windows/frmMain.h"
#include "desktop/windows/frmPrompt.h"
#include "tests/desktop/windows/ProgramHome.h"
#include "tests/desktop/windows/ScriptedFileChooser.h"

namespace wexal::testing {

// Works the edit prompt that the next modal loop opens: `act` gets it and
// must close it (OK or Cancel), else the test ends it with Cancel.
inline void WhenPromptOpens(std::function<void(desktop::frmPrompt&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* prompt = qobject_cast<desktop::frmPrompt*>(QApplication::activeModalWidget());
        if (prompt == nullptr) {
            ADD_FAILURE() << "no edit prompt is open";
            return;
        }
        act(*prompt);
        if (prompt->isVisible()) {
            ADD_FAILURE() << "the edit prompt was left open";
            prompt->reject();
        }
    });
}

// Opens the prompt behind `button` and works it with `act`.
inline void Prompt(QAbstractButton* button, std::function<void(desktop::frmPrompt&)> act) {
    WhenPromptOpens(std::move(act));
    button->click();
}

// Types `value` into the prompt and confirms it.
inline void PromptWith(QAbstractButton* button, const QString& value) {
    Prompt(button, [value](desktop::frmPrompt& prompt) {
        prompt.Text1->setText(value);
        prompt.btnOK->click();
    });
}

class TabsWindow {
  public:
    // What the tabs asked of the other windows, in order.
    std::vector<std::string> actions;
    std::shared_ptr<ScriptedFileChooser> chooser = std::make_shared<ScriptedFileChooser>();

    desktop::MainWindowParts Parts() {
        desktop::MainWindowParts parts = desktop::StandardParts();
        parts.Interface = [this](desktop::MainWindowContext& context) {
            return std::make_unique<desktop::InterfaceTab>(context, chooser);
        };
        parts.Operation = [this](desktop::MainWindowContext& context) {
            return std::make_unique<desktop::OperationTab>(context, chooser);
        };
        const auto record = [this](std::string name) {
            return [this, name](QWidget* owner) {
                actions.push_back(
                    name + (owner != nullptr ? " over " + owner->objectName().toStdString() : ""));
            };
        };
        parts.actions.ReportExceptions = record("report");
        parts.actions.MapRouteFields = record("route map");
        parts.actions.MapReadingFields = record("reading map");
        parts.actions.EditResponseCodes = record("response codes");
        parts.actions.RollReadings = [this](QWidget*, const std::string& readings,
                                            const std::string& folder) {
            actions.push_back("roll " + readings + " into " + folder);
        };
        return parts;
    }

    // A window as start-up makes it: loaded, then shown.
    desktop::frmMain& Open(ProgramHome& home) {
        home.AddFiles({"libWexalCN.so"});  // or the Installation tab warns at load
        window_ = std::make_unique<desktop::frmMain>(home.Services(), Parts());
        window_->Load();
        window_->show();
        return *window_;
    }

    desktop::frmMain& Window() { return *window_; }
    desktop::InterfaceTab& Interface() {
        return static_cast<desktop::InterfaceTab&>(window_->Tab(1));
    }
    desktop::OperationTab& Operation() {
        return static_cast<desktop::OperationTab&>(window_->Tab(2));
    }
    void ShowTab(int position) { window_->TabStrip1->Tabs().setCurrentIndex(position - 1); }
    // Closes the window, which writes WexalDT.cfg.
    void Close() { window_->close(); }

  private:
    std::unique_ptr<desktop::frmMain> window_;
};

// A workbook with these worksheets, made by an independent writer (openpyxl).
inline void MakeWorkbook(const std::filesystem::path& file,
                         const std::vector<std::string>& sheets) {
    std::string names;
    for (const std::string& sheet : sheets) {
        names += "'" + sheet + "',";
    }
    const std::string script =
        "import openpyxl,sys\n"
        "b=openpyxl.Workbook()\n"
        "b.active.title=[" +
        names +
        "][0]\n"
        "for n in [" +
        names +
        "][1:]: b.create_sheet(n)\n"
        "b.create_chartsheet('Chart')\n"
        "b.save(sys.argv[1])\n";
    const std::filesystem::path scriptFile = file.string() + ".py";
    WriteFile(scriptFile, script);
    const std::string command =
        "/usr/bin/python3 '" + scriptFile.string() + "' '" + file.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace wexal::testing
