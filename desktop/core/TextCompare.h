// Text comparison of keys and codes: ASCII letters match in either case,
// every other byte only itself.
#pragma once

#include <string_view>

namespace wexal::desktop {

inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace wexal::desktop
