// Where the Installation panel's frames and controls stand at a given panel
// size: the frames "Conduit" and "Handheld Units" take the panel's width, the
// buttons keep to the right edge, the units grid takes the rest of the height.
#pragma once

class QWidget;

namespace wexal::desktop {

// Places the children of `panel` named fraInstall1 (holding cConduitStatus,
// btnInstallConduit, btnInstallUnit) and fraInstall2 (holding
// grdInstallUnits) for the panel's current size; a child that is missing is
// passed over. Call it from the panel's resize handling.
void LayOutInstallationPanel(QWidget& panel);

}  // namespace wexal::desktop
