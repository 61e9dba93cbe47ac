#include "desktop/windows/PlaceholderTabs.h"

#include <QLabel>
#include <QVBoxLayout>

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

}  // namespace

std::unique_ptr<MainWindowTab> MakePlaceholderTab(const QString& tabName) {
    return std::make_unique<PlaceholderTab>(tabName);
}

}  // namespace wexal::desktop
