// HKEY_CURRENT_USER: the current user's registry file, shared with the
// conduit. A file that cannot be read (damaged, no access) has no key that can
// be opened; a file whose mode gives no write permission, to anyone, is read
// only, for root too, so the desktop never replaces a file its owner locked.
#pragma once

#include "desktop/core/RegistryHive.h"
#include "platform/registry/Registry.h"

class UserHive : public RegistryHive {
  public:
    explicit UserHive(wexal::registry::Registry registry);

    bool CanOpen(std::string_view key, RegistryAccess access) override;
    bool Create(std::string_view key) override;
    std::vector<std::string> SubKeys(std::string_view key) override;
    std::vector<RegistryValue> Values(std::string_view key) override;
    bool Set(std::string_view key, const RegistryValue& value) override;
    bool Delete(std::string_view key, std::string_view name) override;

  private:
    bool Writable() const;

    wexal::registry::Registry registry_;
};
