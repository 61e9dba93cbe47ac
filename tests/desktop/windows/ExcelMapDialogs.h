// Driving the two Excel mapping dialogs in tests: their controls by name and
// a configuration of the Excel interface in a scratch folder.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <stdexcept>
#include <string>

#include "desktop/core/clsConfig.h"
#include "tests/desktop/core/ConfigFolder.h"

namespace wexal::testing {

// The child of that name; a missing one fails the test.
template <typename Control>
Control& Child(const QWidget& window, const std::string& name) {
    auto* control = window.findChild<Control*>(QString::fromStdString(name));
    if (control == nullptr) {
        throw std::runtime_error("no control " + name);
    }
    return *control;
}

inline void Pick(const QWidget& window, const std::string& list, const QString& item) {
    QComboBox& box = Child<QComboBox>(window, list);
    const int index = box.findText(item);
    if (index < 0) {
        throw std::runtime_error(list + " offers no " + item.toStdString());
    }
    box.setCurrentIndex(index);
}

inline void Type(const QWidget& window, const std::string& box, const QString& text) {
    Child<QLineEdit>(window, box).setText(text);
}

inline void Click(const QWidget& window, const std::string& button) {
    Child<QPushButton>(window, button).click();
}

// The Excel interface selected, with a workbook chosen on the Interface tab,
// and WexalDT.cfg in a scratch folder named by the registry.
class ExcelConfigHome {
  public:
    ExcelConfigHome() {
        Config.SelectedInterface = "EXCEL";
        desktop::InterfaceUpdate chosen;
        chosen.Workbook = desktop::WorkbookSlots{"/office/routes.xlsx"};
        chosen.Worksheet = desktop::WorkbookSlots{"Route"};
        chosen.SelectedSpreadsheet = 0;
        Config.UpdateInterface(std::string_view("EXCEL"), chosen);
    }

    std::filesystem::path File() const { return folder_ / "WexalDT.cfg"; }
    desktop::InterfaceRec Excel() const {
        desktop::InterfaceRec record;
        Config.GetInterface(std::string_view("EXCEL"), record);
        return record;
    }

    desktop::clsConfig Config;

  private:
    ConfigFolder home_;
    std::filesystem::path folder_ = home_.UseFolder();
};

}  // namespace wexal::testing
