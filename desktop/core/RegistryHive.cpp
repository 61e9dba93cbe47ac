#include "desktop/core/RegistryHive.h"

#include "platform/registry/RegistryFormat.h"

std::optional<RegistryValue> RegistryHive::Query(std::string_view key, std::string_view name) {
    const std::string wanted = wexal::registry::detail::Fold(name);
    for (RegistryValue& value : Values(key)) {
        if (wexal::registry::detail::Fold(value.name) == wanted) {
            return std::move(value);
        }
    }
    return std::nullopt;
}
