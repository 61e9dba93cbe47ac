// Places a control by its design position and size in twips, as the Interface
// and Operation tabs and the edit prompt keep their design layout.
#pragma once

#include <QWidget>
#include <cstdint>

#include "desktop/core/WindowPlacement.h"

namespace wexal::desktop {

inline void PlaceInTwips(QWidget* widget, std::int64_t left, std::int64_t top, std::int64_t width,
                         std::int64_t height) {
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(height));
}

}  // namespace wexal::desktop
