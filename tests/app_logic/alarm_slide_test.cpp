#include "app/alarm_slide.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 306 x 225 popup on a 1024 x 768 screen whose taskbar takes 30 pixels.
constexpr int32_t kScreenHeight = 768;
constexpr int32_t kWorkAreaBottom = 738;
constexpr int32_t kHeight = 225;

} // namespace

TEST(AlarmSlide, RisesInEightPixelStepsOntoTheWorkAreaBottom) {
    qh::AlarmSlide slide;
    int32_t top = kScreenHeight + 2;
    std::vector<int32_t> tops;
    while (slide.SlideUpRunning() && tops.size() < 1000) {
        top = slide.SlideUpTick(top, kHeight, kWorkAreaBottom);
        tops.push_back(top);
    }
    ASSERT_FALSE(slide.SlideUpRunning());
    EXPECT_EQ(top, 513);
    // 770 down to 506 in steps of 8, then back onto the line.
    ASSERT_EQ(tops.size(), 34u);
    EXPECT_EQ(tops[0], 762);
    EXPECT_EQ(tops[32], 506);
    EXPECT_EQ(tops[33], 513);
    // Resting: further ticks of a stopped timer move nothing.
    EXPECT_EQ(slide.SlideUpTick(513, kHeight, kWorkAreaBottom), 513);
}

TEST(AlarmSlide, FirstCloseStartsTheSlideDownAndOnlyTheEndAllowsIt) {
    qh::AlarmSlide slide;
    int32_t top = 513;
    EXPECT_FALSE(slide.CloseQuery());
    EXPECT_TRUE(slide.SlideDownRunning());
    EXPECT_FALSE(slide.CloseQuery()); // further clicks change nothing
    EXPECT_FALSE(slide.CloseQuery());

    const int32_t limit = kScreenHeight + kHeight + 20; // 1013
    int ticks = 0;
    for (;;) {
        qh::AlarmSlide::DownStep step = slide.SlideDownTick(top, kHeight, kScreenHeight);
        ++ticks;
        if (step.CloseNow) {
            EXPECT_EQ(step.Top, top);
            break;
        }
        EXPECT_EQ(step.Top, top + 8);
        top = step.Top;
        ASSERT_LT(ticks, 1000);
    }
    EXPECT_GE(top, limit);
    EXPECT_LT(top - 8, limit);
    EXPECT_TRUE(slide.MayClose());
    EXPECT_TRUE(slide.CloseQuery());
    EXPECT_FALSE(slide.SlideDownRunning());
}

TEST(AlarmSlide, CloseDuringTheRiseEndsHidden) {
    qh::AlarmSlide slide;
    int32_t top = kScreenHeight + 2;
    for (int i = 0; i < 5; ++i)
        top = slide.SlideUpTick(top, kHeight, kWorkAreaBottom);
    EXPECT_FALSE(slide.CloseQuery());
    EXPECT_FALSE(slide.SlideUpRunning());
    // A late tick of the slide-up timer and a new show do not pull it back up.
    EXPECT_EQ(slide.SlideUpTick(top, kHeight, kWorkAreaBottom), top);
    slide.Shown();
    EXPECT_FALSE(slide.SlideUpRunning());
    int ticks = 0;
    while (!slide.SlideDownTick(top, kHeight, kScreenHeight).CloseNow) {
        top += 8;
        ASSERT_LT(++ticks, 1000);
    }
    EXPECT_TRUE(slide.CloseQuery());
}

TEST(AlarmSlide, ShowingAgainRestartsTheRise) {
    qh::AlarmSlide slide;
    slide.SlideUpTick(100, kHeight, kWorkAreaBottom); // above the line: stops
    EXPECT_FALSE(slide.SlideUpRunning());
    slide.Shown();
    EXPECT_TRUE(slide.SlideUpRunning());
}
