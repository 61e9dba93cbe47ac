// The arithmetic of the report preview's scroll bars. Bar values are
// hundredths of an inch from the page's top (or left) edge; the page shows at
// minus the value.
#pragma once

#include <cstdint>

namespace wexal::desktop {

inline constexpr double kPageWidthInches = 8.5;
inline constexpr double kPageHeightInches = 11.0;

struct ScrollRange {
    bool Shown = true;
    std::int32_t Maximum = 0;
    std::int32_t LargeChange = 0;
    std::int32_t SmallChange = 0;
};

// The bar along a page side of `pageInches` seen through `viewInches` of the
// viewport: its maximum is the part of the page that does not fit, its large
// change the viewport and its small change a tenth of that, each to the
// nearest whole hundredth (halves to even). A page that fits with room to
// spare hides the bar.
ScrollRange ScrollRangeFor(double pageInches, double viewInches);

enum class ScrollModifiers { kNone, kShift, kCtrl, kOther };

// How far one key press moves: the small change, with Shift the large one,
// with Ctrl the whole range, with any other combination nothing.
std::int32_t KeyStep(const ScrollRange& range, ScrollModifiers modifiers);

// The value after moving by `delta` (negative towards the minimum), held
// within 0 and the maximum.
std::int32_t MovedValue(std::int32_t value, double delta, std::int32_t maximum);

// The value after the pointer moved `pointerDelta` hundredths of an inch over
// the page (the page follows the pointer, so the value moves the other way),
// to the nearest whole number and held within 0 and the maximum.
std::int32_t DraggedValue(std::int32_t value, double pointerDelta, std::int32_t maximum);

// Where the page's edge stands in the viewport, in inches.
double PageOffsetInches(std::int32_t value);

}  // namespace wexal::desktop
