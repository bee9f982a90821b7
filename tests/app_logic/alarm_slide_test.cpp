#include "app/alarm_slide.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

// A 306 x 225 popup on a 1024 x 768 screen whose taskbar takes 30 pixels.
constexpr int32_t kScreenHeight = 768;
constexpr int32_t kWorkAreaBottom = 738;
constexpr int32_t kHeight = 225;

} // namespace

TEST(AlarmSlide, RisesInEightPixelStepsOntoTheWorkAreaBottom) {
    int32_t top = kScreenHeight + 2;
    std::vector<int32_t> tops;
    for (bool done = false; !done && tops.size() < 1000;) {
        qh::TAlarmSlideStep step = qh::SlideUpStep(top, kHeight, kWorkAreaBottom);
        top = step.Top;
        done = step.Done;
        tops.push_back(top);
    }
    // 770 down to 506 in steps of 8, then back onto the line at 513.
    ASSERT_EQ(tops.size(), 34u);
    EXPECT_EQ(tops[0], 762);
    EXPECT_EQ(tops[32], 506);
    EXPECT_EQ(tops[33], 513);
    // Exactly on the line is not yet above it: one more step, then back.
    EXPECT_FALSE(qh::SlideUpStep(513, kHeight, kWorkAreaBottom).Done);
    EXPECT_EQ(qh::SlideUpStep(513, kHeight, kWorkAreaBottom).Top, 505);
}

TEST(AlarmSlide, SinksUntilTheTopReachesScreenPlusHeightPlusTwenty) {
    const int32_t limit = kScreenHeight + kHeight + 20; // 1013
    int32_t top = 513;
    int ticks = 0;
    for (;;) {
        qh::TAlarmSlideStep step = qh::SlideDownStep(top, kHeight, kScreenHeight);
        ++ticks;
        if (step.Done) {
            EXPECT_EQ(step.Top, top); // the last tick only closes
            break;
        }
        EXPECT_EQ(step.Top, top + 8);
        top = step.Top;
        ASSERT_LT(ticks, 1000);
    }
    EXPECT_EQ(top, 1017); // 513 + 63 * 8: the first top at or past 1013
    EXPECT_GE(top, limit);
    EXPECT_LT(top - 8, limit);
    EXPECT_EQ(ticks, 64);
}

TEST(AlarmSlide, ExtremePositionsNeitherWrapNorOverflow) {
    const int32_t min = std::numeric_limits<int32_t>::min();
    const int32_t max = std::numeric_limits<int32_t>::max();
    qh::TAlarmSlideStep up = qh::SlideUpStep(min, kHeight, kWorkAreaBottom);
    EXPECT_TRUE(up.Done);
    EXPECT_EQ(up.Top, kWorkAreaBottom - kHeight);
    // A target beyond the range stops at its edge rather than wrapping.
    EXPECT_EQ(qh::SlideUpStep(min, max, min).Top, min);
    EXPECT_TRUE(qh::SlideDownStep(max, kHeight, kScreenHeight).Done);
    EXPECT_EQ(qh::SlideDownStep(max - 1, max, max).Top, max);
}

TEST(AlarmSlide, RestsNoFurtherRightThanTheWorkArea) {
    EXPECT_EQ(qh::RestingLeft(718, 306, 1024), 718); // taskbar at the bottom: unchanged
    EXPECT_EQ(qh::RestingLeft(718, 306, 964), 658);  // 60 pixels of taskbar on the right
    EXPECT_EQ(qh::RestingLeft(100, 306, 964), 100);  // already inside stays
}

TEST(AlarmSlide, StepsAndMarginScaleWithTheDpi) {
    // At 150 % a step is 12 pixels and the fall ends 30 below the popup.
    EXPECT_EQ(qh::SlideUpStep(800, kHeight, kWorkAreaBottom, 144).Top, 788);
    EXPECT_EQ(qh::SlideDownStep(900, kHeight, kScreenHeight, 144).Top, 912);
    const int32_t limit = kScreenHeight + kHeight + 30;
    EXPECT_FALSE(qh::SlideDownStep(limit - 1, kHeight, kScreenHeight, 144).Done);
    EXPECT_TRUE(qh::SlideDownStep(limit, kHeight, kScreenHeight, 144).Done);
}
