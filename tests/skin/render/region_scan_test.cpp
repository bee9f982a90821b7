#include <gtest/gtest.h>

#include "skin/render/region_scan.h"
#include "tests/skin/render/pixel_grid.h"

namespace qh {
namespace {

using test::FromGrid;
using test::TGrid;

TEST(ScanRegion, ToleranceRangeFromTheKeyUpwardsCappedAt255) {
    TBitmap b(7, 1, TPixelFormat::pf32bit);
    const TColor colours[] = {kColourKey,
                              MakeColour(255, 1, 255), // within the green tolerance
                              MakeColour(255, 2, 255), // one past it
                              MakeColour(254, 0, 255), // below the key's red
                              kColourKey,
                              MakeColour(0, 0, 0),
                              MakeColour(255, 0, 254)};
    for (int x = 0; x < 7; ++x)
        b.SetPixel(x, 0, colours[x]);
    EXPECT_EQ(ScanRegion(b, 10, 20, 1, 1, 1, kColourKey),
              (std::vector<TRect>{{12, 20, 14, 21}, {15, 20, 17, 21}}));

    // A key near 255: the range stops at 255 and does not wrap round to 0.
    TBitmap wrap(3, 1, TPixelFormat::pf24bit);
    wrap.SetPixel(0, 0, MakeColour(255, 0, 255));
    wrap.SetPixel(1, 0, MakeColour(3, 0, 255));
    wrap.SetPixel(2, 0, MakeColour(250, 0, 255));
    EXPECT_EQ(ScanRegion(wrap, 0, 0, 0, 0, 10, MakeColour(250, 0, 255)),
              (std::vector<TRect>{{1, 0, 2, 1}}));

    // The same rules where whole blocks of pixels are looked at at once.
    TBitmap row(40, 2, TPixelFormat::pf32bit);
    row.SetPixel(20, 0, MakeColour(255, 1, 255));
    row.SetPixel(30, 0, MakeColour(255, 2, 255));
    row.SetPixel(10, 1, MakeColour(3, 0, 255));
    row.SetPixel(25, 1, MakeColour(255, 0, 255));
    EXPECT_EQ(ScanRegion(row, 0, 0, 1, 1, 1, kColourKey),
              (std::vector<TRect>{{0, 0, 20, 1}, {21, 0, 40, 1}, {0, 1, 25, 2}, {26, 1, 40, 2}}));
    EXPECT_EQ(ScanRegion(row, 0, 0, 0, 2, 10, MakeColour(250, 0, 255)),
              (std::vector<TRect>{
                  {0, 0, 20, 1}, {21, 0, 30, 1}, {31, 0, 40, 1}, {0, 1, 25, 2}, {26, 1, 40, 2}}));
}

TEST(ScanRegion, RowsOfRunsAndWhollyKeyedParts) {
    // Longer than a block of the fast path, with a key pixel inside one.
    TGrid grid = {std::string(50, 'a'), std::string(50, 'M'), std::string(50, 'a')};
    grid[0][37] = 'M';
    grid[2][0] = grid[2][49] = 'M';
    EXPECT_EQ(ScanRegion(FromGrid(grid), -1, 0, 1, 1, 1, kColourKey),
              (std::vector<TRect>{{-1, 0, 36, 1}, {37, 0, 49, 1}, {0, 2, 48, 3}}));
    EXPECT_TRUE(
        ScanRegion(FromGrid({"MMMM", "MMMM"}, TPixelFormat::pf24bit), 0, 0, 1, 1, 1, kColourKey)
            .empty());
    EXPECT_TRUE(ScanRegion(TBitmap(), 0, 0, 1, 1, 1, kColourKey).empty());
}

} // namespace
} // namespace qh
