#include "desktop/windows/frmInstallApp.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/core/HandheldUnits.h"

namespace wexal::desktop {

frmInstallApp::frmInstallApp(const std::vector<bool>& units, QWidget* owner)
    : QDialog(owner),
      List1_(new QListWidget(this)),
      btnInstall_(new QPushButton(QStringLiteral("&Install to selected Units"), this)),
      btnCancel_(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setObjectName(QStringLiteral("frmInstallApp"));
    setWindowTitle(QStringLiteral("Install Wexal to Handheld"));
    List1_->setObjectName(QStringLiteral("List1"));
    List1_->setSelectionMode(QAbstractItemView::MultiSelection);
    List1_->setToolTip(QStringLiteral("Highlight Units to be reprogrammed."));
    btnInstall_->setObjectName(QStringLiteral("btnInstall"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));

    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto unit = static_cast<std::int32_t>(i + 1);
        auto* entry = new QListWidgetItem(QString::fromStdString(UnitUserName(unit)), List1_);
        entry->setData(Qt::UserRole, unit);
        entry->setSelected(units[i]);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnInstall_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1_);
    layout->addLayout(buttons);
    resize(300, 320);

    connect(btnInstall_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmInstallApp::Display(std::vector<bool>& units, QWidget* owner) {
    frmInstallApp dialog(units, owner);
    if (dialog.exec() != QDialog::Accepted) {
        dialog.List1_->clearSelection();
    }
    for (int row = 0; row < dialog.List1_->count(); ++row) {
        const QListWidgetItem* entry = dialog.List1_->item(row);
        const int unit = entry->data(Qt::UserRole).toInt();
        units[static_cast<std::size_t>(unit - 1)] = entry->isSelected();
    }
}

}  // namespace wexal::desktop
