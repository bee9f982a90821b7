#include <gtest/gtest.h>

#include "skin/render/frame_region.h"
#include "tests/skin/render/pixel_grid.h"

namespace qh {
namespace {

using test::FromGrid;
using test::TGrid;
using test::ToGrid;

TDataSkinObject Part(const TGrid& grid, int trans, int frames = 1) {
    TDataSkinObject part("Border");
    part.Image = FromGrid(grid);
    part.Trans = trans;
    part.Frame = frames;
    part.Tile = 1; // stretched
    return part;
}

TEST(FramePart, StateCellAndStretchSetting) {
    const TDataSkinObject sides = Part({"ab"}, 1, 2);
    EXPECT_EQ(ToGrid(ComposeFramePart(sides, 1, 1, false, true)), (TGrid{"a"}));
    EXPECT_EQ(ToGrid(ComposeFramePart(sides, 1, 1, false, false)), (TGrid{"b"}));
    const TDataSkinObject one = Part({"a"}, 1, 1);
    EXPECT_EQ(ToGrid(ComposeFramePart(one, 1, 1, false, false)), (TGrid{"a"}));
    const TDataSkinObject stacked = Part({"a", "b"}, 1, 2);
    EXPECT_EQ(ToGrid(ComposeFramePart(stacked, 1, 1, true, false)), (TGrid{"b"}));

    // Tile 1 stretches the middle, anything else tiles it.
    TDataSkinObject top = Part({"xab"}, 1, 1);
    top.LeftWidth = 1;
    EXPECT_EQ(ToGrid(ComposeFramePart(top, 5, 1, true, true)), (TGrid{"xaabb"}));
    top.Tile = 0;
    EXPECT_EQ(ToGrid(ComposeFramePart(top, 5, 1, true, true)), (TGrid{"xabab"}));
    top.Tile = 2;
    EXPECT_EQ(ToGrid(ComposeFramePart(top, 5, 1, true, true)), (TGrid{"xabab"}));
}

class FrameRegionTest : public ::testing::Test {
protected:
    // A 6 x 5 window: left border 2 wide, top 2 high, right and bottom 1.
    TDataSkinObject FLeft = Part({"Ma"}, 1);
    TDataSkinObject FTop = Part({"M", "M"}, 1);
    TDataSkinObject FRight = Part({"a"}, 0);
    TDataSkinObject FBottom = Part({"M"}, 1);
    TFrameBorders Borders() { return {&FLeft, &FTop, &FRight, &FBottom}; }
    const TFrameWidths FFrame{2, 2, 1, 1};
};

TEST_F(FrameRegionTest, VisiblePixelsOfTransparentBordersRectanglesOfTheOthers) {
    const TFrameRegion region = FrameRegion(Borders(), FFrame, 6, 5, false, TBitmap());
    EXPECT_FALSE(region.WholeWindow);
    // Inner; the left border's opaque column row by row; the opaque right
    // border whole; the bottom border too thin to scan, whole although
    // magenta; the fully magenta top border nothing at all.
    EXPECT_EQ(region.Rects,
              (std::vector<TRect>{{2, 2, 5, 4},
                                  {1, 0, 2, 1},
                                  {1, 1, 2, 2},
                                  {1, 2, 2, 3},
                                  {1, 3, 2, 4},
                                  {1, 4, 2, 5},
                                  {5, 0, 6, 5},
                                  {2, 4, 5, 5}}));
}

TEST_F(FrameRegionTest, TheTopStripComesFromTheCaptionWhileItFits) {
    const TBitmap caption = FromGrid({"aaMMaa", "aaaaaa"});
    TFrameRegion region = FrameRegion(Borders(), FFrame, 6, 5, false, caption);
    ASSERT_EQ(region.Rects.size(), 10u);
    EXPECT_EQ(region.Rects[8], (TRect{4, 0, 5, 1}));
    EXPECT_EQ(region.Rects[9], (TRect{2, 1, 5, 2}));
    // A caption of another width is stale: the magenta top border is used.
    region = FrameRegion(Borders(), FFrame, 6, 5, false, FromGrid({"aaaaaaa", "aaaaaaa"}));
    EXPECT_EQ(region.Rects.size(), 8u);
}

TEST_F(FrameRegionTest, WholeWindowBorderlessAndThinWindows) {
    FLeft.Trans = FTop.Trans = 0;
    TFrameRegion region = FrameRegion(Borders(), FFrame, 6, 5, false, TBitmap());
    EXPECT_TRUE(region.WholeWindow);
    EXPECT_EQ(region.Rects, (std::vector<TRect>{{0, 0, 6, 5}}));
    FLeft.Trans = FTop.Trans = 1;

    region = FrameRegion(Borders(), TFrameWidths{}, 6, 5, true, TBitmap());
    EXPECT_FALSE(region.WholeWindow);
    EXPECT_EQ(region.Rects, (std::vector<TRect>{{0, 0, 6, 5}}));

    // One row high: the sides are not scanned; no top or bottom border.
    region = FrameRegion(Borders(), {2, 0, 1, 0}, 6, 1, false, TBitmap());
    EXPECT_EQ(region.Rects, (std::vector<TRect>{{2, 0, 5, 1}, {0, 0, 2, 1}, {5, 0, 6, 1}}));
}

TEST(FrameRegion, RebuiltOnlyWhenNeeded) {
    EXPECT_FALSE(RegionRebuildNeeded({0, 5}, {6, 5}, true, true));
    EXPECT_FALSE(RegionRebuildNeeded({6, 5}, {6, 5}, false, false));
    EXPECT_TRUE(RegionRebuildNeeded({6, 5}, {6, 5}, true, false));
    EXPECT_TRUE(RegionRebuildNeeded({6, 5}, {6, 5}, false, true));
    EXPECT_TRUE(RegionRebuildNeeded({7, 5}, {6, 5}, false, false));
}

} // namespace
} // namespace qh
