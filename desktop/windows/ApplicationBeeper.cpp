#include "desktop/windows/ApplicationBeeper.h"

#include <QApplication>

namespace wexal::desktop {

void ApplicationBeeper::Beep() {
    QApplication::beep();
}

}  // namespace wexal::desktop
