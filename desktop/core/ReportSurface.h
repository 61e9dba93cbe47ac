// What the exceptions report draws on: the preview's page or the printer.
// Positions are in inches from the top left corner of the page.
#pragma once

#include <string>
#include <string_view>

namespace wexal::desktop {

struct ReportFont {
    std::string Name;
    float Size = 0;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool operator==(const ReportFont&) const = default;
};

class ReportSurface {
  public:
    virtual ~ReportSurface() = default;

    // Blank page, current position at the top left corner.
    virtual void Clear() = 0;

    virtual float CurrentX() const = 0;
    virtual float CurrentY() const = 0;
    virtual void SetCurrentX(float x) = 0;
    virtual void SetCurrentY(float y) = 0;

    virtual ReportFont Font() const = 0;
    virtual void SetFont(const ReportFont& font) = 0;

    // Width of the UTF-8 text in the current font.
    virtual float TextWidth(std::string_view text) const = 0;
    // Draws the text with its top left corner at the current position, then
    // moves the current position down by one line of the current font.
    virtual void Print(std::string_view text) = 0;
};

}  // namespace wexal::desktop
