// The program folder: where the running executable lies (its companion
// files, the conduit and the install libraries stand beside it).
#pragma once

#include "desktop/core/ProgramFolder.h"

namespace wexal::desktop {

class ExecutableFolder final : public ProgramFolder {
  public:
    std::filesystem::path Path() const override;
};

}  // namespace wexal::desktop
