#include "desktop/windows/ExecutableFolder.h"

#include <QCoreApplication>

namespace wexal::desktop {

std::filesystem::path ExecutableFolder::Path() const {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace wexal::desktop
