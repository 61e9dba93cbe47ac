#include "desktop/windows/DialogFileChooser.h"

#include <QApplication>
#include <QFileDialog>

namespace wexal::desktop {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* Owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

}  // namespace

QStringList NameFilters(std::string_view filter) {
    const QStringList parts = Utf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QStringLiteral("*.*")) {
                pattern = QStringLiteral("*");
            }
        }
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

std::optional<std::string> DialogFileChooser::OpenFile(const Request& request) {
    return Chosen(
        QFileDialog::getOpenFileName(Owner(), Utf8(request.Title), Utf8(request.InitialName),
                                     NameFilters(request.Filter).join(QStringLiteral(";;")),
                                     nullptr, QFileDialog::HideNameFilterDetails));
}

std::optional<std::string> DialogFileChooser::SaveFile(const Request& request) {
    // Picking an existing file is the usual way to name it; nothing is
    // written here, so there is nothing to confirm.
    return Chosen(QFileDialog::getSaveFileName(
        Owner(), Utf8(request.Title), Utf8(request.InitialName),
        NameFilters(request.Filter).join(QStringLiteral(";;")), nullptr,
        QFileDialog::HideNameFilterDetails | QFileDialog::DontConfirmOverwrite));
}

std::optional<std::string> DialogFileChooser::ChooseFolder(const Request& request) {
    return Chosen(
        QFileDialog::getExistingDirectory(Owner(), Utf8(request.Title), Utf8(request.InitialName)));
}

}  // namespace wexal::desktop
