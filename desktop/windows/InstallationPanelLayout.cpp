#include "desktop/windows/InstallationPanelLayout.h"

#include <QWidget>
#include <cstdint>

#include "desktop/core/WindowPlacement.h"

namespace wexal::desktop {

namespace {

// Design positions in twips: left, top, width, height.
struct Design {
    const char* name;
    std::int64_t left, top, width, height;
};
constexpr Design kFrame1{"fraInstall1", 240, 0, 5895, 1455};
constexpr Design kStatus{"cConduitStatus", 120, 240, 4335, 1125};
constexpr Design kInstallConduit{"btnInstallConduit", 4560, 240, 1215, 375};
constexpr Design kInstallUnit{"btnInstallUnit", 4560, 720, 1215, 375};
constexpr Design kFrame2{"fraInstall2", 240, 1440, 5895, 1935};
constexpr Design kUnitsGrid{"grdInstallUnits", 120, 240, 5415, 1215};

void Place(QWidget& panel, const Design& design, std::int64_t left, std::int64_t width,
           std::int64_t height) {
    if (auto* widget = panel.findChild<QWidget*>(QString::fromLatin1(design.name))) {
        widget->setGeometry(TwipsToPixels(left), TwipsToPixels(design.top), TwipsToPixels(width),
                            TwipsToPixels(height));
    }
}

}  // namespace

void LayOutInstallationPanel(QWidget& panel) {
    const std::int64_t W = PixelsToTwips(panel.contentsRect().width());
    const std::int64_t H = PixelsToTwips(panel.contentsRect().height());

    const std::int64_t frame1Width = W - 2 * kFrame1.left;
    Place(panel, kFrame1, kFrame1.left, frame1Width, kFrame1.height);
    const std::int64_t buttonLeft = frame1Width - kInstallConduit.width - kFrame1.left;
    Place(panel, kInstallConduit, buttonLeft, kInstallConduit.width, kInstallConduit.height);
    Place(panel, kInstallUnit, buttonLeft, kInstallUnit.width, kInstallUnit.height);
    Place(panel, kStatus, kStatus.left, frame1Width - kInstallConduit.width - 3 * kFrame1.left,
          kStatus.height);

    const std::int64_t frame2Width = W - 2 * kFrame2.left;
    const std::int64_t frame2Height = H - kFrame2.top;
    Place(panel, kFrame2, kFrame2.left, frame2Width, frame2Height);
    Place(panel, kUnitsGrid, kUnitsGrid.left, frame2Width - 2 * kUnitsGrid.left,
          frame2Height - kUnitsGrid.top * 3 / 2);
}

}  // namespace wexal::desktop
