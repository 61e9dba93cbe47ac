// The conduit object: lives on the stack of OpenConduit for one sync and
// carries every transfer routine as a member.
#pragma once

#include <cstdint>
#include <string>

class WexalConfig;

class WexalConduit {
  public:
    WexalConduit() = default;
    virtual ~WexalConduit() = default;
    WexalConduit(const WexalConduit&) = delete;
    WexalConduit& operator=(const WexalConduit&) = delete;

    // Runs one whole sync: 1 when it ran to its end, 0 when it stopped early.
    std::int32_t Synchronize();

    // Reader settings and the handheld clock; always 1.
    std::int32_t WriteReaderDB(const WexalConfig& config);
    // Rebuilds the handheld's response codes; always 1.
    std::int32_t WriteResponseCodes(const WexalConfig& config);

    // Enters or refreshes one route of the route list; always 0.
    std::int32_t UpdateRoute(std::string route, std::int32_t count, std::string status);
    // Removes finished routes from the route list; always 0.
    std::int32_t PurgeRoutes();

    // The SQL interface of number 12 has no exchange of its own; always 0.
    std::int32_t SqlInterface(std::string name, std::string userName, std::string password);
};
