// What the two Excel mapping dialogs share: the rows of data fields built in
// code under their two headings (a label, a list and a divider per row, one
// row pitch apart), the footer with "Save" and "Cancel" right below the last
// row, and the storing of the answers into the selected interface's record
// and WexalDT.cfg.
#pragma once

#include <QDialog>
#include <QStringList>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/core/ExcelMapForms.h"
#include "desktop/core/Messages.h"
#include "desktop/core/clsConfig.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace wexal::desktop {

inline constexpr std::string_view kUnableToSaveConfiguration = "Unable to save configuration";

// Twips (1/1440 inch) as screen pixels, 15 twips to the pixel.
constexpr int TwipsToPixels(int twips) {
    return (twips + 7) / 15;
}

class ExcelFieldMapDialog : public QDialog {
    Q_OBJECT

  public:
    // Works on the interface that the configuration's SelectedInterface names
    // at construction.
    ExcelFieldMapDialog(clsConfig& config, Messages& messages, QWidget* parent);

    static constexpr int kRowPitch = TwipsToPixels(330);
    static constexpr int kFooterGap = TwipsToPixels(220);
    static constexpr int kMargin = 12;
    static constexpr int kListLeft = 180;
    static constexpr int kWidth = 440;

  protected:
    // Builds the headings at `top`, then one row per entry of `rows` (its
    // label, and a list of `items` with nothing selected), then the footer,
    // and fixes the window's size.
    void BuildRows(int top, const QString& fieldHeading, const QString& columnHeading,
                   std::span<const MapRow> rows, const QStringList& items);
    QComboBox* RowList(std::size_t row) const { return lists_.at(row); }

    // A Save that stops: the focus goes to `focus`, then the message.
    void Refuse(QWidget* focus, std::string_view message);
    // Stores `update` into the record, writes WexalDT.cfg and closes; a file
    // that cannot be written is reported, and the answers stay in memory
    // for the save when the main window closes.
    void StoreAndClose(const InterfaceUpdate& update);

    const std::string& Code() const { return code_; }

  private:
    virtual void Save() = 0;

    clsConfig& config_;
    Messages& messages_;
    std::string code_;
    std::vector<QComboBox*> lists_;
};

}  // namespace wexal::desktop
