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

}  // namespace

std::filesystem::path IniSettingsStore::DefaultFile() {
    return wexal::registry::Registry::UserFolder() / "WexalDT.ini";
}

IniSettingsStore::IniSettingsStore() : IniSettingsStore(DefaultFile()) {}

IniSettingsStore::IniSettingsStore(const std::filesystem::path& file)
    : settings_(QString::fromStdString(file.string()), QSettings::IniFormat) {}

std::string IniSettingsStore::GetSetting(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const {
    const QVariant value = settings_.value(KeyOf(section, key));
    if (!value.isValid()) {
        return std::string(defaultValue);
    }
    return value.toString().toStdString();
}

void IniSettingsStore::SaveSetting(std::string_view section, std::string_view key,
                                   std::string_view value) {
    settings_.setValue(KeyOf(section, key), Utf8(value));
    // Written at once: the program may be ended by a signal at any moment.
    settings_.sync();
}

}  // namespace wexal::desktop
