// A conduit shared library loaded into the sync manager, with its six
// entry points resolved by name.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/syncmgr/ConduitApi.h"

namespace wexal::hotsync {

class ConduitLibrary {
  public:
    // Loads the library and checks every entry point; on failure returns
    // nothing and says why in `error`.
    static std::unique_ptr<ConduitLibrary> Load(const std::filesystem::path& file,
                                                std::string& error);
    ~ConduitLibrary();
    ConduitLibrary(const ConduitLibrary&) = delete;
    ConduitLibrary& operator=(const ConduitLibrary&) = delete;

    const std::filesystem::path& File() const { return file_; }
    // The name the conduit gives itself, or the file name when it gives none.
    std::string Name() const;

    OpenConduitFn openConduit = nullptr;
    GetConduitNameFn getConduitName = nullptr;
    GetConduitVersionFn getConduitVersion = nullptr;
    GetConduitInfoFn getConduitInfo = nullptr;
    ConfigureConduitFn configureConduit = nullptr;
    CfgConduitFn cfgConduit = nullptr;

  private:
    ConduitLibrary(std::filesystem::path file, void* handle);
    std::filesystem::path file_;
    void* handle_;
};

}  // namespace wexal::hotsync
