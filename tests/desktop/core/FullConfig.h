// A configuration with every option set and several interfaces, the content
// of data/full.cfg.
#pragma once

#include "desktop/core/clsConfig.h"

namespace wexal::testing {

void FillFull(desktop::clsConfig& config);

}  // namespace wexal::testing
