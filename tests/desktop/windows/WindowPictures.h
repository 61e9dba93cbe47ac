// Pictures of windows for review: build/screenshots/<name>.png.
#pragma once

#include <string>

class QWidget;

namespace wexal::testing {

// Lays the widget out, renders it as it would show and saves the picture;
// returns the file written (the test fails when it cannot be written).
std::string SavePicture(QWidget& widget, const std::string& name);

}  // namespace wexal::testing
