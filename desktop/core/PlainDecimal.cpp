#include "desktop/core/PlainDecimal.h"

#include <charconv>

namespace wexal::desktop {

std::string PlainDecimal(double value) {
    if (value == 0) {
        return "0";
    }
    // Fixed notation without a precision is the shortest that reads back as
    // the same double; the largest double has 309 digits.
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

}  // namespace wexal::desktop
