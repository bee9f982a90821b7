#include <gtest/gtest.h>

#include <climits>

#include "skin/render/scroll_metrics.h"

namespace qh {
namespace {

TEST(ScrollMetrics, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, 1, -2), -3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX); // the product needs 64 bits
    EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
    EXPECT_EQ(MulDiv(3, 4, 0), -1);
}

TEST(ScrollMetrics, BarsInsideTheBorder) {
    TScrollBarInput in{200, 100, 180, 80, 16, 0, kWsHScroll | kWsVScroll, 0};
    TScrollBarLayout l = ScrollBarLayout(in);
    EXPECT_EQ(l.Border, 2);
    EXPECT_EQ(l.Vertical, (TRect{182, 2, 198, 82}));
    EXPECT_EQ(l.Horizontal, (TRect{2, 82, 182, 98}));
    EXPECT_EQ(l.Corner, (TRect{182, 82, 198, 98}));
    in.ExStyle = 0x4000; // bars on the left
    l = ScrollBarLayout(in);
    EXPECT_EQ(l.Vertical, (TRect{2, 2, 18, 82}));
    EXPECT_EQ(l.Horizontal, (TRect{18, 82, 198, 98}));

    // Only a horizontal bar: the border comes from the height.
    l = ScrollBarLayout({200, 100, 190, 76, 16, 4, kWsHScroll, 0});
    EXPECT_EQ(l.Border, 2);
    EXPECT_EQ(l.Horizontal, (TRect{2, 82, 198, 98}));
    EXPECT_TRUE(l.Vertical.Empty() && l.Corner.Empty());
}

TEST(ScrollMetrics, Thumb) {
    TThumbMetrics m;
    // Bar 132 with 16-pixel arrows: a track of 100.
    ASSERT_TRUE(ThumbMetrics({0, 100, 20, 40, 0}, 132, 16, kNtMinThumb, 17, m));
    EXPECT_EQ(m.Arrow, 16);
    EXPECT_EQ(m.Track, 100);
    EXPECT_EQ(m.Thumb, 20);
    EXPECT_EQ(m.Offset, 40);
    ASSERT_TRUE(ThumbMetrics({0, 100, 100, 0, 0}, 132, 16, kNtMinThumb, 17, m));
    EXPECT_EQ(m.Thumb, 99); // a full page: one pixel short of the track
    EXPECT_EQ(m.Offset, 0);
    ASSERT_TRUE(ThumbMetrics({0, 1000, 1, 1000, 0}, 132, 20, Win9xMinThumb(20), 17, m));
    EXPECT_EQ(m.Thumb, 10);
    EXPECT_EQ(m.Offset, 92 - 10);
    ASSERT_TRUE(ThumbMetrics({0, 100, 0, 0, 0}, 132, 16, kNtMinThumb, 500, m));
    EXPECT_EQ(m.Thumb, 100); // the system's thumb, cut to the track
    EXPECT_FALSE(ThumbMetrics({5, 5, 0, 5, 0}, 132, 16, kNtMinThumb, 17, m));
    EXPECT_EQ(m.Thumb, 100);

    // Shorter than two arrows: each arrow half the bar, no track.
    ASSERT_TRUE(ThumbMetrics({0, 100, 20, 40, 0}, 20, 16, kNtMinThumb, 17, m));
    EXPECT_EQ(m.Arrow, 10);
    EXPECT_EQ(m.Thumb, 0);
}

TEST(ScrollMetrics, ZonesAlongABar) {
    const TThumbMetrics m{16, 100, 20, 40};
    const std::pair<int, TScrollZone> edges[] = {
        {-1, TScrollZone::None},      {0, TScrollZone::LineUp},     {15, TScrollZone::LineUp},
        {16, TScrollZone::PageUp},    {55, TScrollZone::PageUp},    {56, TScrollZone::Thumb},
        {75, TScrollZone::Thumb},     {76, TScrollZone::PageDown},  {115, TScrollZone::PageDown},
        {116, TScrollZone::LineDown}, {131, TScrollZone::LineDown}, {132, TScrollZone::None},
    };
    for (const auto& [p, zone] : edges)
        EXPECT_EQ(ScrollZoneAt(p, m), zone) << p;
}

TEST(ScrollMetrics, DraggingTheThumb) {
    const TScrollInfo paged{0, 100, 20, 40, 40};
    const TThumbMetrics m{16, 100, 20, 40};
    EXPECT_EQ(DragThumb(paged, m, 40, 10).Position, 50);
    const TThumbDrag past = DragThumb(paged, m, 40, 1000);
    EXPECT_EQ(past.Offset, 100);
    EXPECT_EQ(past.Position, 81); // the last position with a full page
    EXPECT_EQ(DragThumb(paged, m, 40, -1000).Position, 0);

    // Without a page the thumb stops at the track's end, at the maximum.
    const TScrollInfo unpaged{10, 110, 0, 10, 10};
    const TThumbMetrics n{16, 100, 17, 0};
    EXPECT_EQ(DragThumb(unpaged, n, 0, 41).Position, 10 + 49);
    EXPECT_EQ(DragThumb(unpaged, n, 0, 1000).Position, 110);
    // No track: never below the minimum.
    EXPECT_EQ(DragThumb(unpaged, TThumbMetrics{10, 0, 0, 0}, 0, 5).Position, 10);
}

} // namespace
} // namespace qh
