#include "tests/desktop/windows/WindowPictures.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <filesystem>

namespace wexal::testing {

std::string SavePicture(QWidget& widget, const std::string& name) {
    const std::filesystem::path folder = WEXAL_SCREENSHOT_DIR;
    std::filesystem::create_directories(folder);
    const std::string file = (folder / (name + ".png")).string();
    widget.ensurePolished();
    QApplication::processEvents();
    const QPixmap picture = widget.grab();
    EXPECT_FALSE(picture.isNull()) << name;
    EXPECT_TRUE(picture.save(QString::fromStdString(file), "PNG")) << file;
    return file;
}

}  // namespace wexal::testing
