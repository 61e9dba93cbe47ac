#include "desktop/windows/ApplicationPrinter.h"

#include <QCoreApplication>
#include <QPrinter>

namespace wexal::desktop {

namespace {

QPrinter* printer = nullptr;

// Runs while the application is still whole, before its own teardown.
void ReleasePrinter() {
    delete printer;
    printer = nullptr;
}

}  // namespace

QPrinter& ApplicationPrinter() {
    if (printer == nullptr) {
        printer = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine(ReleasePrinter);
    }
    return *printer;
}

}  // namespace wexal::desktop
