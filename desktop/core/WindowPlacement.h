// The main window's placement as the per-user settings store keeps it: left,
// top, width and height in twips (15 to a screen pixel) and the selected tab,
// each as text under [Settings].
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace wexal::desktop {

inline constexpr int kTwipsPerPixel = 15;

struct TwipsRect {
    std::int64_t Left = 0;
    std::int64_t Top = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kMainLeft = "MainLeft";
inline constexpr std::string_view kMainTop = "MainTop";
inline constexpr std::string_view kMainWidth = "MainWidth";
inline constexpr std::string_view kMainHeight = "MainHeight";
inline constexpr std::string_view kSelectedTab = "SelectedTab";

inline constexpr TwipsRect kDefaultPlacement{1000, 1000, 7500, 6500};
inline constexpr int kDefaultTab = 1;

// A stored coordinate: a decimal number, blanks around it allowed, taken to
// the nearest twip; nothing for any other text (the caller then uses the
// default, so a damaged value never places the window out of reach).
std::optional<std::int64_t> ReadTwips(std::string_view text);

// The stored tab position when it is a whole number from 1 to `tabCount`, else
// the first tab.
int ReadSelectedTab(std::string_view text, int tabCount);

int TwipsToPixels(std::int64_t twips);
std::int64_t PixelsToTwips(int pixels);

}  // namespace wexal::desktop
