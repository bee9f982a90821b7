// The DPI scale against figures worked out by hand, and under Windows
// against the system's own MulDiv.
#include "toolkit/layout/dpi_scale.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qh {
namespace {

TEST(DpiScale, RoundsHalvesAwayFromZeroAtTheCommonScales) {
    struct TCase {
        int Value, Dpi, Scaled;
    };
    const TCase cases[] = {
        {1, 120, 1},   {2, 120, 3},   {-2, 120, -3},   {6, 144, 9},     {1, 144, 2},
        {-1, 144, -2}, {3, 168, 5},   {10, 168, 18},   {-10, 168, -18}, {-7, 192, -14},
        {603, 144, 905}, {910, 120, 1138}, {0, 192, 0}, {27, 96, 27},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ScaleForDpi(c.Value, c.Dpi), c.Scaled) << c.Value << " at " << c.Dpi;
    // No DPI known: unscaled. Beyond int: the nearest int, never the -1
    // the system's call answers.
    EXPECT_EQ(ScaleForDpi(40, 0), 40);
    EXPECT_EQ(ScaleForDpi(2000000000, 192), 2147483647);
    EXPECT_EQ(ScaleForDpi(-2000000000, 192), -2147483647 - 1);
}

TEST(DpiScale, ScaledFiguresComeBackAndShapesScaleByTheirEdges) {
    for (int dpi = 96; dpi <= 480; dpi += 12)
        for (int v = -300; v <= 300; ++v)
            ASSERT_EQ(UnscaleForDpi(ScaleForDpi(v, dpi), dpi), v) << v << " at " << dpi;
    // Two 5-pixel cells side by side stay side by side at 150 %: the
    // first is 8 wide (0..8), the second 7 (8..15).
    const TRect first = ScaleForDpi(TRect{0, 0, 5, 5}, 144);
    const TRect second = ScaleForDpi(TRect{5, 0, 10, 5}, 144);
    EXPECT_EQ(first, (TRect{0, 0, 8, 8}));
    EXPECT_EQ(second, (TRect{8, 0, 15, 8}));
    EXPECT_EQ(ScaleForDpi(TSize{910, 603}, 192), (TSize{1820, 1206}));
    EXPECT_EQ(UnscaleForDpi(TPoint{-15, 9}, 144), (TPoint{-10, 6}));
    EXPECT_EQ(UnscaleForDpi(TSize{1365, 905}, 144), (TSize{910, 603}));
    EXPECT_EQ(UnscaleForDpi(first, 144), (TRect{0, 0, 5, 5}));
    const TMargins m = ScaleForDpi(TMargins{4, 22, 4, 3}, 120);
    EXPECT_EQ(m.Left, 5);
    EXPECT_EQ(m.Top, 28);
    EXPECT_EQ(m.Bottom, 4);
}

#ifdef _WIN32
TEST(DpiScale, AgreesWithTheSystemsMulDiv) {
    for (int dpi : {72, 96, 120, 144, 168, 192, 240, 288})
        for (int v = -1000; v <= 1000; ++v)
            ASSERT_EQ(ScaleForDpi(v, dpi), ::MulDiv(v, dpi, 96)) << v << " at " << dpi;
}
#endif

} // namespace
} // namespace qh
