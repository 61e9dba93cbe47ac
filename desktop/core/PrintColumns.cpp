#include "desktop/core/PrintColumns.h"

#include <algorithm>
#include <cctype>

#include "desktop/core/NumericText.h"

namespace wexal::desktop {

namespace {

enum class Alignment { Left, Right, Center };

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// Compared as texts, so "8", "12" and "100" are sizes but "9A" is not.
bool IsSizeToken(std::string_view upper) {
    return upper >= "1" && upper <= "99";
}

}  // namespace

float PrintColumns(ReportSurface& surface, float X, float Y, std::string_view Style,
                   const std::vector<std::string>& Lines) {
    const ReportFont saved = surface.Font();
    ReportFont font = saved;
    bool fontChanged = false;
    Alignment alignment = Alignment::Left;

    std::size_t start = 0;
    while (!Style.empty() && start <= Style.size()) {
        const std::size_t bar = std::min(Style.find('|', start), Style.size());
        const std::string_view token = Style.substr(start, bar - start);
        start = bar + 1;
        if (token.empty()) {
            continue;  // "BOLD|" ends in no font name
        }
        const std::string upper = UpperCase(token);
        if (upper == "BOLD") {
            font.Bold = true;
            fontChanged = true;
        } else if (upper == "ITALIC") {
            font.Italic = true;
            fontChanged = true;
        } else if (IsSizeToken(upper)) {
            font.Size = static_cast<float>(NumericValue(upper));
            fontChanged = true;
        } else if (upper == "RIGHT") {
            alignment = Alignment::Right;
        } else if (upper == "CENTER") {
            alignment = Alignment::Center;
        } else if (upper == "BOX" || upper == "LINE" || upper == "CIRCLE" || upper == "PICTURE") {
            // Drawn by nothing.
        } else {
            font.Name = std::string(token);
            fontChanged = true;
        }
    }
    if (fontChanged) {
        surface.SetFont(font);
    }

    const float savedX = surface.CurrentX();
    const float savedY = surface.CurrentY();
    surface.SetCurrentY(Y);
    float lastY = 0;
    for (const std::string& line : Lines) {
        float x = X;
        if (alignment == Alignment::Center) {
            x -= surface.TextWidth(line) / 2;
        } else if (alignment == Alignment::Right) {
            x -= surface.TextWidth(line);
        }
        surface.SetCurrentX(x);
        surface.Print(line);
        surface.SetCurrentX(savedX);
        lastY = surface.CurrentY();
    }
    surface.SetCurrentY(savedY);
    if (fontChanged) {
        surface.SetFont(saved);
    }
    return lastY;
}

}  // namespace wexal::desktop
