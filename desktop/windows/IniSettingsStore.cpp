#include "desktop/windows/IniSettingsStore.h"

#include <QString>

#include "platform/registry/Registry.h"

namespace wexal::desktop {
namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// QSettings caches its default locations per process, so the file is always
// named explicitly.
QString KeyOf(std::string_view section, std::string_view key) {
    return Utf8(section) + QLatin1Char('/') + Utf8(key);
}

// Whether a FIFO, device or socket stands at the path. QSettings reads
// whatever the path names, and a FIFO would hold the program's start until
// some writer came.
bool NotRegularFile(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
           !std::filesystem::is_directory(status);
}

}  // namespace

std::filesystem::path IniSettingsStore::DefaultFile() {
    return wexal::registry::Registry::UserFolder() / "WexalDT.ini";
}

IniSettingsStore::IniSettingsStore() : IniSettingsStore(DefaultFile()) {}

IniSettingsStore::IniSettingsStore(const std::filesystem::path& file) {
    if (!NotRegularFile(file)) {
        settings_ = std::make_unique<QSettings>(QString::fromStdString(file.string()),
                                                QSettings::IniFormat);
    }
}

std::string IniSettingsStore::GetSetting(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const {
    const QVariant value = settings_ ? settings_->value(KeyOf(section, key)) : QVariant();
    if (!value.isValid()) {
        return std::string(defaultValue);
    }
    return value.toString().toStdString();
}

void IniSettingsStore::SaveSetting(std::string_view section, std::string_view key,
                                   std::string_view value) {
    if (!settings_) {
        return;
    }
    settings_->setValue(KeyOf(section, key), Utf8(value));
    // Written at once: the program may be ended by a signal at any moment.
    settings_->sync();
}

}  // namespace wexal::desktop
