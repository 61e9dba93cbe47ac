// The options dialog: four sample tabs and nothing to set yet. Its OK and
// Apply buttons only say so.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTabBar>
#include <array>

#include "desktop/core/Messages.h"

namespace wexal::desktop {

class frmOptions final : public QDialog {
    Q_OBJECT

  public:
    explicit frmOptions(Messages& messages, QWidget* parent = nullptr);
    ~frmOptions() override;

    // Ctrl+Tab and Ctrl+Shift+Tab move between the tabs, wrapping, before the
    // focused control sees them.
    bool eventFilter(QObject* watched, QEvent* event) override;

    QTabBar* tbsOptions;
    std::array<QWidget*, 4> picOptions{};   // objectName "picOptions0" ...
    std::array<QGroupBox*, 4> fraSample{};  // fraSample1 ... fraSample4
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdApply;

  private:
    // Brings the panel of the selected tab to its place and parks the others.
    void tbsOptions_Click(int index);

    Messages& messages_;
};

}  // namespace wexal::desktop
