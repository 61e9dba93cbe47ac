// The billing-system link that takes over a whole sync: the sync driver sets
// its parameters by name and runs it once.
#pragma once

#include <cstdint>
#include <string>

class WexalIfc {
  public:
    WexalIfc() = default;
    WexalIfc(const WexalIfc&) = delete;
    WexalIfc& operator=(const WexalIfc&) = delete;

    // 0 when the link knows the parameter `name`, -1 otherwise.
    virtual std::int32_t SetParameter(const char* name, const std::string& value) = 0;
    // The whole exchange of the sync.
    virtual std::int32_t Run() = 0;
    virtual ~WexalIfc() = default;
};
