#include "desktop/windows/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace wexal::desktop {

std::string SystemClipboard::GetText() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

void SystemClipboard::SetText(std::string_view text) {
    QGuiApplication::clipboard()->setText(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace wexal::desktop
