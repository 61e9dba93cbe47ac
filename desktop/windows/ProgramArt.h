// The program's pictures, drawn rather than shipped: the splash background
// and the About box's logo.
#pragma once

#include <QPixmap>
#include <QSize>

namespace wexal::desktop {

QPixmap SplashPicture(QSize size);
QPixmap ProgramLogo(int side);

}  // namespace wexal::desktop
