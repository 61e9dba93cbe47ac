// The system clipboard's text, as the grid's copy, cut and paste use it.
#pragma once

#include <string>
#include <string_view>

namespace wexal::desktop {

class Clipboard {
  public:
    virtual ~Clipboard() = default;

    // UTF-8; empty when the clipboard holds no text.
    virtual std::string GetText() const = 0;
    virtual void SetText(std::string_view text) = 0;
};

}  // namespace wexal::desktop
