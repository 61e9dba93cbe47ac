// A hive that nobody may change, holding keys without values: the keys named
// by a list of paths and every key above them. The list is asked for anew at
// each call, so the hive follows what it mirrors. With no list the hive is
// empty but for itself.
#pragma once

#include <functional>

#include "desktop/core/RegistryHive.h"

class ReadOnlyHive : public RegistryHive {
  public:
    using KeyList = std::function<std::vector<std::string>()>;

    explicit ReadOnlyHive(KeyList keys = {});

    bool CanOpen(std::string_view key, RegistryAccess access) override;
    bool Create(std::string_view key) override;
    std::vector<std::string> SubKeys(std::string_view key) override;
    std::vector<RegistryValue> Values(std::string_view key) override;
    bool Set(std::string_view key, const RegistryValue& value) override;
    bool Delete(std::string_view key, std::string_view name) override;

  private:
    // Whether the key exists; its subkeys in list order, each once.
    bool Find(std::string_view key, std::vector<std::string>* subkeys);

    KeyList keys_;
};
