// Nothing may leave a library's C entry as an exception.
#pragma once

namespace wexal::palmdesktop {

// `body`'s result, or `failure` when it throws.
template <typename Result, typename Body>
Result Guarded(Result failure, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

}  // namespace wexal::palmdesktop
