#include "desktop/core/WindowPlacement.h"

#include <charconv>
#include <cmath>
#include <string>

namespace wexal::desktop {

namespace {

// Far beyond any screen; keeps the pixel arithmetic inside int.
constexpr double kMaxTwips = 10'000'000;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> ReadDecimal(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::int64_t> ReadTwips(std::string_view text) {
    const std::optional<double> value = ReadDecimal(text);
    if (!value || std::fabs(*value) > kMaxTwips) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(std::nearbyint(*value));
}

int ReadSelectedTab(std::string_view text, int tabCount) {
    const std::optional<double> value = ReadDecimal(text);
    if (!value || *value != std::floor(*value) || *value < 1 || *value > tabCount) {
        return kDefaultTab;
    }
    return static_cast<int>(*value);
}

int TwipsToPixels(std::int64_t twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

std::int64_t PixelsToTwips(int pixels) {
    return static_cast<std::int64_t>(pixels) * kTwipsPerPixel;
}

}  // namespace wexal::desktop
