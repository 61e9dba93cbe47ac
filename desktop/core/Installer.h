// What the Installation tab asks of the HotSync installation: the HotSync
// users, registering the conduit, queuing the handheld application for a
// unit and taking it back. clsInstaller is the real one; the tab's tests fake
// it. Each operation reports its own outcome to the user (clsInstaller.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wexal::desktop {

class Installer {
  public:
    virtual ~Installer() = default;

    virtual std::int16_t UserCount() = 0;
    virtual std::vector<std::string> UserNames() = 0;
    virtual std::int16_t Conduit(const std::string& creatorId, const std::string& conduitFile,
                                 const std::string& conduitName,
                                 const std::string& information) = 0;
    virtual std::int16_t PRC(const std::string& user, const std::string& prcFile) = 0;
    virtual std::int16_t RemovePRC(const std::string& user, const std::string& prcFile) = 0;
};

}  // namespace wexal::desktop
