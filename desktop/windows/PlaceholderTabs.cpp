#include "desktop/windows/PlaceholderTabs.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/windows/InstallationPanelLayout.h"

namespace wexal::desktop {

namespace {

class PlaceholderTab final : public MainWindowTab {
  public:
    explicit PlaceholderTab(const QString& tabName) {
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(tr("The %1 settings come here.").arg(tabName), this);
        label->setAlignment(Qt::AlignCenter);
        label->setEnabled(false);
        layout->addWidget(label);
    }
};

class InstallationPlaceholderTab final : public MainWindowTab {
  public:
    InstallationPlaceholderTab() {
        auto* conduit = new QGroupBox(QStringLiteral("Conduit"), this);
        conduit->setObjectName(QStringLiteral("fraInstall1"));
        auto* status = new QPlainTextEdit(conduit);
        status->setObjectName(QStringLiteral("cConduitStatus"));
        status->setReadOnly(true);
        auto* installConduit = new QPushButton(QStringLiteral("&Install Conduit"), conduit);
        installConduit->setObjectName(QStringLiteral("btnInstallConduit"));
        auto* installUnit = new QPushButton(QStringLiteral("&Install Unit(s)"), conduit);
        installUnit->setObjectName(QStringLiteral("btnInstallUnit"));
        installConduit->setEnabled(false);
        installUnit->setEnabled(false);

        auto* units = new QGroupBox(QStringLiteral("Handheld Units"), this);
        units->setObjectName(QStringLiteral("fraInstall2"));
        auto* grid = new QFrame(units);
        grid->setObjectName(QStringLiteral("grdInstallUnits"));
        grid->setFrameShape(QFrame::StyledPanel);
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        MainWindowTab::resizeEvent(event);
        LayOutInstallationPanel(*this);
    }
};

}  // namespace

std::unique_ptr<MainWindowTab> MakePlaceholderTab(const QString& tabName) {
    return std::make_unique<PlaceholderTab>(tabName);
}

std::unique_ptr<MainWindowTab> MakeInstallationPlaceholderTab() {
    return std::make_unique<InstallationPlaceholderTab>();
}

}  // namespace wexal::desktop
