#include "desktop/core/PreviewScrolling.h"

#include <cfenv>
#include <cmath>

namespace wexal::desktop {

namespace {

std::int32_t RoundHalfEven(double value) {
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return static_cast<std::int32_t>(rounded);
}

}  // namespace

ScrollRange ScrollRangeFor(double pageInches, double viewInches) {
    ScrollRange range;
    range.Maximum = RoundHalfEven((pageInches - viewInches) * 100);
    range.LargeChange = RoundHalfEven(viewInches * 100);
    range.SmallChange = RoundHalfEven(range.LargeChange * 0.1);
    if (range.Maximum < 0) {
        range.Shown = false;
        range.Maximum = 0;
    }
    return range;
}

std::int32_t KeyStep(const ScrollRange& range, ScrollModifiers modifiers) {
    switch (modifiers) {
        case ScrollModifiers::kNone:
            return range.SmallChange;
        case ScrollModifiers::kShift:
            return range.LargeChange;
        case ScrollModifiers::kCtrl:
            return range.Maximum;
        case ScrollModifiers::kOther:
            break;
    }
    return 0;
}

std::int32_t MovedValue(std::int32_t value, double delta, std::int32_t maximum) {
    const double moved = value + delta;
    if (moved < 0) {
        return 0;
    }
    if (moved > maximum) {
        return maximum;
    }
    return RoundHalfEven(moved);
}

std::int32_t DraggedValue(std::int32_t value, double pointerDelta, std::int32_t maximum) {
    return MovedValue(value, -pointerDelta, maximum);
}

double PageOffsetInches(std::int32_t value) {
    return -(value * 0.01);
}

}  // namespace wexal::desktop
