// main() of the window tests: one QApplication, offscreen, in a font that is
// installed, so that pictures and printed pages show real letters.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <cstdio>
#include <cstdlib>

// Fontconfig keeps a cache it never frees; not ours to mend.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans"))) {
        std::fprintf(stderr, "The font DejaVu Sans is not installed (fonts-dejavu-core)\n");
        return 2;
    }
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
