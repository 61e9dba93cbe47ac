// Where the program itself is installed: the handheld application, the
// conduit library and the install libraries are looked for beside it.
#pragma once

#include <filesystem>

namespace wexal::desktop {

class ProgramFolder {
  public:
    virtual ~ProgramFolder() = default;

    virtual std::filesystem::path Path() const = 0;
};

}  // namespace wexal::desktop
