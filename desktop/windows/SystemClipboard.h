// The desktop's clipboard.
#pragma once

#include "desktop/core/Clipboard.h"

namespace wexal::desktop {

class SystemClipboard final : public Clipboard {
  public:
    std::string GetText() const override;
    void SetText(std::string_view text) override;
};

}  // namespace wexal::desktop
