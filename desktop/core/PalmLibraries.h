// The sync manager's installation libraries in the program's folder
// (platform/palmdesktop/PalmDesktopApi.h), reached entry by entry: each entry
// is bound at its first use and stays bound, and a library is loaded once for
// all its entries.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "desktop/core/ProgramFolder.h"

namespace wexal::desktop {

inline constexpr const char* kUserDataLibrary = "libuserdata.so";
inline constexpr const char* kInstallAideLibrary = "libinstaide.so";
inline constexpr const char* kConduitInstallLibrary = "libcondinst.so";

// A library or entry that cannot be loaded. The text names the library, the
// entry and the loader's reason.
class PalmLibraryError : public std::runtime_error {
  public:
    PalmLibraryError(const std::string& library, const std::string& entry,
                     const std::string& reason);
};

class PalmLibraries {
  public:
    virtual ~PalmLibraries() = default;

    // The entry `entry` of the library file `library` (one of the names
    // above). Throws PalmLibraryError.
    virtual void* Entry(const std::string& library, const std::string& entry) = 0;

    // The entry as a function of type Fn.
    template <typename Fn>
    Fn Bind(const std::string& library, const std::string& entry) {
        return reinterpret_cast<Fn>(Entry(library, entry));
    }
};

// The libraries of the program's folder, loaded by absolute path.
class ProgramFolderLibraries final : public PalmLibraries {
  public:
    explicit ProgramFolderLibraries(const ProgramFolder& folder) : folder_(folder) {}
    ~ProgramFolderLibraries() override;
    ProgramFolderLibraries(const ProgramFolderLibraries&) = delete;
    ProgramFolderLibraries& operator=(const ProgramFolderLibraries&) = delete;

    void* Entry(const std::string& library, const std::string& entry) override;

  private:
    const ProgramFolder& folder_;
    std::map<std::string, void*> libraries_;                        // by file name
    std::map<std::pair<std::string, std::string>, void*> entries_;  // by library and entry
};

}  // namespace wexal::desktop
