// The preview's scroll bar arithmetic: ranges, key steps and dragging.
#include <gtest/gtest.h>

#include "desktop/core/PreviewScrolling.h"

namespace {

using namespace wexal::desktop;

TEST(PreviewScrollingTest, RangesFollowTheViewport) {
    const ScrollRange four = ScrollRangeFor(kPageHeightInches, 4.0);
    EXPECT_TRUE(four.Shown);
    EXPECT_EQ(four.Maximum, 700);
    EXPECT_EQ(four.LargeChange, 400);
    EXPECT_EQ(four.SmallChange, 40);

    const ScrollRange exact = ScrollRangeFor(kPageHeightInches, 11.0);
    EXPECT_TRUE(exact.Shown);
    EXPECT_EQ(exact.Maximum, 0);

    const ScrollRange taller = ScrollRangeFor(kPageHeightInches, 12.0);
    EXPECT_FALSE(taller.Shown);
    EXPECT_EQ(taller.Maximum, 0);

    // Halves go to the even neighbour: 3.125 inches is 312.5 hundredths.
    const ScrollRange half = ScrollRangeFor(kPageWidthInches, 3.125);
    EXPECT_EQ(half.Maximum, 538);  // 537.5
    EXPECT_EQ(half.LargeChange, 312);
    EXPECT_EQ(half.SmallChange, 31);  // 31.2
}

TEST(PreviewScrollingTest, KeysStepAndStopAtTheEnds) {
    const ScrollRange range = ScrollRangeFor(kPageHeightInches, 4.0);
    EXPECT_EQ(KeyStep(range, ScrollModifiers::kNone), 40);
    EXPECT_EQ(KeyStep(range, ScrollModifiers::kShift), 400);
    EXPECT_EQ(KeyStep(range, ScrollModifiers::kCtrl), 700);
    EXPECT_EQ(KeyStep(range, ScrollModifiers::kOther), 0);

    struct Case {
        std::int32_t value;
        double delta;
        std::int32_t moved;
    };
    const std::vector<Case> cases = {
        {300, -40, 260}, {300, 400, 700}, {20, -40, 0}, {700, 40, 700}, {0, -700, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MovedValue(c.value, c.delta, 700), c.moved) << c.value << " " << c.delta;
    }
}

TEST(PreviewScrollingTest, DraggingMovesThePageWithThePointer) {
    // One inch to the right: the page follows, the bar falls by 100.
    EXPECT_EQ(DraggedValue(300, 100, 700), 200);
    EXPECT_EQ(DraggedValue(300, -100, 700), 400);
    EXPECT_EQ(DraggedValue(50, 100, 700), 0);
    EXPECT_EQ(DraggedValue(650, -100, 700), 700);
    EXPECT_EQ(DraggedValue(300, 0.5, 700), 300);   // 299.5 to even
    EXPECT_EQ(DraggedValue(300, -1.5, 700), 302);  // 301.5 to even
    EXPECT_DOUBLE_EQ(PageOffsetInches(250), -2.5);
}

}  // namespace
