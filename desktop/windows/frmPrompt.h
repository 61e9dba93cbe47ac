// The one-value editor behind the "Change ..." buttons of the Interface and
// Operation tabs. It shows the value of one box of the main window, lets the
// user edit it by hand, choose a file or folder, pick an ODBC data source or,
// for a workbook, one of its worksheets, and on OK writes the value back into
// the box, whose change handler stores it. It never touches the configuration
// itself.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdint>
#include <string>

#include "desktop/core/FileChooser.h"
#include "desktop/core/Messages.h"

namespace wexal::desktop {

class frmPrompt final : public QDialog {
    Q_OBJECT

  public:
    // Prompt kinds: what the main window asks for.
    static constexpr std::int32_t kRouteFile = 3;
    static constexpr std::int32_t kReadingsFile = 4;
    static constexpr std::int32_t kRollFolder = 5;
    static constexpr std::int32_t kWorkbook = 7;
    static constexpr std::int32_t kServer = 8;
    static constexpr std::int32_t kUser = 9;
    static constexpr std::int32_t kPassword = 10;
    static constexpr std::int32_t kDatabase = 11;
    static constexpr std::int32_t kDataSource = 12;
    static constexpr std::int32_t kExceptionsFile = 13;

    // The main window's boxes of one prompt.
    struct Boxes {
        QLineEdit* Value = nullptr;      // the box the kind shows and writes (cDSN for 12)
        QLineEdit* Worksheet = nullptr;  // kind 7: cWorkSheet of the row
    };

    frmPrompt(FileChooser& chooser, Messages& messages, QWidget* parent = nullptr);

    // Shows the prompt of `PromptType` modally; `Index` is the workbook row of
    // kind 7. OK writes the boxes; Cancel, Esc and the close box write
    // nothing. A kind the main window never asks for shows "New Value:" with
    // an empty value and writes nothing.
    void Display(std::int32_t PromptType, std::int16_t Index, const Boxes& boxes);

    QLabel* Label1;
    QLineEdit* Text1;
    QComboBox* Combo1;  // data sources, kind 12
    QLabel* Label2;
    QComboBox* Combo2;  // worksheets, kind 7
    QPushButton* btnBrowse;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // What "Browse ..." offers for a kind.
    enum class BrowseMode { kNone, kOpen, kSave, kFolder };

  private:
    void FillDsnList(const QString& selected);
    void btnBrowse_Click();
    // Kind 7: the worksheets of the workbook that Text1 names.
    void Text1_Change();
    // OK: refuses a value that the conduit would read cut, else confirms.
    void btnOK_Click();
    // The value as OK writes it into the main window's box.
    QString Value() const;

    FileChooser& chooser_;
    Messages& messages_;
    std::int32_t mPromptType = 0;
    std::int16_t index_ = 0;
    BrowseMode browseMode_ = BrowseMode::kNone;
    std::string key_;  // the configuration key of the value, for its limit
    bool mConfirmed = false;
};

}  // namespace wexal::desktop
