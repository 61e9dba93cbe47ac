// The main window's Interface tab: chooses the billing-system interface and
// edits the settings its type needs. Only the rows the type's flags ask for
// show; every box is read-only and changes through its "Change ..." button
// (the edit prompt), and each change goes into the configuration at once
// under the selected interface's code.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <memory>
#include <string>

#include "desktop/core/FileChooser.h"
#include "desktop/windows/MainWindowParts.h"

class QButtonGroup;

namespace wexal::desktop {

class InterfaceTab final : public MainWindowTab {
    Q_OBJECT

  public:
    static constexpr std::size_t kWorkbookRows = 5;

    InterfaceTab(MainWindowContext& context, std::shared_ptr<FileChooser> chooser);

    // Fills the interface list and selects the stored interface, which fills
    // and shows its rows.
    void FillAtLoad() override;

    QLabel* lInterface;
    QComboBox* cInterface;  // item data: the type's Id
    QLabel* lRouteFile;
    QLineEdit* cRouteFile;
    QPushButton* btnRouteFile;
    QLabel* lReadingsFile;
    QLineEdit* cReadingsFile;
    QPushButton* btnReadingsFile;
    QLabel* lReadingsRollFile;
    QLineEdit* cReadingsRollFile;
    QPushButton* btnReadingsRollFile;
    QPushButton* btnReadingsRollLog;
    QLabel* lServer;
    QLineEdit* cServer;
    QPushButton* btnServer;
    QLabel* lDSN;
    QLineEdit* cDSN;
    QPushButton* btnDSN;
    QLabel* lDatabase;
    QLineEdit* cDatabase;
    QPushButton* btnDatabase;
    QLabel* lUser;
    QLineEdit* cUser;
    QPushButton* btnUser;
    QLabel* lPassword;
    QLineEdit* cPassword;
    QPushButton* btnPassword;
    QLabel* lSpreadsheet;
    QLabel* lWorkBook;
    QLabel* lWorksheet;
    std::array<QRadioButton*, kWorkbookRows> optSpreadsheet{};
    std::array<QLineEdit*, kWorkbookRows> cWorkBook{};
    std::array<QLineEdit*, kWorkbookRows> cWorkSheet{};
    std::array<QPushButton*, kWorkbookRows> btnSpreadsheet{};
    QGroupBox* fraExcelDataMap;
    std::array<QPushButton*, 2> btnFieldMap{};  // property "Tag": "ROUTE", "READING"
    QPushButton* btnTest;
    QPushButton* btnInstall;

  private:
    void BuildRows();
    void BuildWorkbookBlock();
    void Connect();
    void FillInterfaceList();
    // The window's load: the entry of the stored SelectedInterface, or the
    // only one.
    void SelectStoredInterface();
    // Whenever the selected entry changes, by the user or by the load.
    void cInterface_Click();
    void SetInterfaceField(int field, const std::string& value);
    // The index of the set workbook row as text, "0" when none is set.
    std::string ActiveRowText() const;
    void PromptFor(std::int32_t kind, std::int16_t index);
    void btnFieldMap_Click(std::size_t index);

    MainWindowContext& context_;
    std::shared_ptr<FileChooser> chooser_;
    QButtonGroup* activeRow_;
};

}  // namespace wexal::desktop
