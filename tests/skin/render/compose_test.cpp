#include <gtest/gtest.h>

#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"
#include "tests/skin/render/pixel_grid.h"

namespace qh {
namespace {

using test::FromGrid;
using test::TGrid;
using test::ToGrid;

// Each 2 x 2 cell its own colours; the edges and the middle have two
// columns or rows of different colours, so that stretching shows.
const TGrid kNine = {
    "AABbCC", //
    "AABbCC", //
    "DDefFF", //
    "ddghGG", //
    "IIJjKK", //
    "IIJjKK", //
};
const TMargins kTwo{2, 2, 2, 2};

TBitmap Filled(int w, int h) {
    return FromGrid(TGrid(h, std::string(w, 'z')));
}

TEST(NineCells, CopyOrderAndPlaces) {
    const auto cells = NineCells({0, 0, 6, 6}, kTwo, 10, 8);
    const std::vector<TCellKind> order = {
        TCellKind::TopLeft,     TCellKind::BottomLeft, TCellKind::TopRight,
        TCellKind::Left,        TCellKind::Top,        TCellKind::Middle,
        TCellKind::BottomRight, TCellKind::Right,      TCellKind::Bottom};
    ASSERT_EQ(cells.size(), order.size());
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i].Kind, order[i]) << i;
    EXPECT_EQ(cells[1].Dest, (TRect{0, 6, 2, 8}));
    EXPECT_EQ(cells[1].Source, (TRect{0, 4, 2, 6}));
    EXPECT_EQ(cells[5].Dest, (TRect{2, 2, 8, 6}));
    EXPECT_EQ(cells[6].Source, (TRect{4, 4, 6, 6}));
    // Zero margins leave only the middle; no cell without area is listed.
    const auto bare = NineCells({0, 0, 6, 6}, {}, 10, 8);
    ASSERT_EQ(bare.size(), 1u);
    EXPECT_EQ(bare[0].Kind, TCellKind::Middle);
}

TEST(ComposeImage, StretchedAndTiledMiddles) {
    const TBitmap strip = FromGrid(kNine, TPixelFormat::pf24bit);
    EXPECT_EQ(ToGrid(ComposeImage({3, 4, 13, 12}, strip, kTwo, false, false, 1, 1)),
              (TGrid{"AABBBbbbCC", "AABBBbbbCC", "DDeeefffFF", "DDeeefffFF", "ddggghhhGG",
                     "ddggghhhGG", "IIJJJjjjKK", "IIJJJjjjKK"}));
    const TBitmap tiled = ComposeImage({0, 0, 10, 8}, strip, kTwo, false, true, 1, 1);
    EXPECT_EQ(tiled.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(ToGrid(tiled), (TGrid{"AABBBbbbCC", "AABBBbbbCC", "DDefefefFF", "DDghghghFF",
                                    "ddefefefGG", "ddghghghGG", "IIJJJjjjKK", "IIJJJjjjKK"}));
}

TEST(ComposeImage, MarginsThatDoNotFitAreDroppedPerAxis) {
    const TBitmap strip = FromGrid(kNine);
    // Both axes too small: the whole image stretched, centre sampling.
    EXPECT_EQ(ToGrid(ComposeImage({0, 0, 3, 3}, strip, kTwo, false, false, 1, 1)),
              (TGrid{"AbC", "dhG", "IjK"}));
    // Only the height: left and right columns stay.
    EXPECT_EQ(ToGrid(ComposeImage({0, 0, 10, 3}, strip, kTwo, false, false, 1, 1)),
              (TGrid{"AABBBbbbCC", "ddggghhhGG", "IIJJJjjjKK"}));
}

TEST(ComposeImage, TargetsOutsideOrInvertedAndBorderCells) {
    const TBitmap strip = FromGrid(kNine);
    EXPECT_TRUE(ComposeImage({5, 5, 2, 8}, strip, kTwo, false, false, 1, 1).Empty());
    TBitmap dest = Filled(6, 4);
    ComposeInto(dest, {5, 0, 2, 4}, strip, kTwo, false, false, 1, 1);
    ComposeInto(dest, {0, 4, 6, 1}, strip, kTwo, false, false, 1, 1);
    EXPECT_EQ(ToGrid(dest), ToGrid(Filled(6, 4)));
    // Cut off by the bitmap, the rest mapped as for the whole target.
    ComposeInto(dest, {-2, -2, 8, 6}, strip, kTwo, false, false, 1, 1);
    EXPECT_EQ(ToGrid(dest), (TGrid{"eeefff", "eeefff", "ggghhh", "ggghhh"}));

    TBitmap border = Filled(10, 8);
    ComposeBorderCells(border, {0, 0, 10, 8}, strip, false, 1, 1, kTwo);
    EXPECT_EQ(ToGrid(border), (TGrid{"AABBBbbbCC", "AABBBbbbCC", "DDzzzzzzFF", "DDzzzzzzFF",
                                     "ddzzzzzzGG", "ddzzzzzzGG", "IIJJJjjjKK", "IIJJJjjjKK"}));
}

TEST(StateImages, FrameCountsStatesAndStripDirections) {
    const TBitmap strip = FromGrid({"PQRS", "pqrs"});
    EXPECT_EQ(StateImageRect(strip, false, 2, 2), (TRect{2, 0, 4, 2}));
    EXPECT_EQ(StateImageRect(strip, false, 2, 9), (TRect{2, 0, 4, 2}));  // the last one
    EXPECT_EQ(StateImageRect(strip, false, 2, -1), (TRect{0, 0, 2, 2})); // the first one
    EXPECT_EQ(StateImageRect(strip, false, 0, 1), (TRect{0, 0, 4, 2}));  // whole image
    EXPECT_EQ(StateImageRect(strip, false, -3, 2), (TRect{0, 0, 4, 2}));
    EXPECT_TRUE(StateImageRect(strip, false, 5, 1).Empty()); // more frames than columns
    EXPECT_TRUE(StateImageRect(TBitmap(), false, 1, 1).Empty());

    TBitmap dest = Filled(4, 2);
    StretchStateImage(dest, {0, 0, 4, 2}, strip, 2, 2);
    EXPECT_EQ(ToGrid(dest), (TGrid{"RRSS", "rrss"}));
    StretchStateImage(dest, {0, 0, 4, 2}, strip, 0, 1);
    EXPECT_EQ(ToGrid(dest), (TGrid{"PQRS", "pqrs"}));
    TBitmap untouched = Filled(4, 2);
    StretchStateImage(untouched, {0, 0, 4, 2}, strip, 5, 1);
    ComposeInto(untouched, {0, 0, 4, 2}, strip, {}, false, false, 5, 1);
    StretchStateImage(untouched, {4, 0, 0, 2}, strip, 1, 1);
    EXPECT_EQ(ToGrid(untouched), ToGrid(Filled(4, 2)));

    // Stacked from the top: state 2 is the lower half.
    const TBitmap stacked = FromGrid({"PQ", "pq", "RS", "rs"});
    EXPECT_EQ(ToGrid(ComposeImage({0, 0, 2, 2}, stacked, {}, true, false, 2, 2)),
              (TGrid{"RS", "rs"}));
}

TEST(ComposeHorizontal, CapsAndRepeatedMiddle) {
    const TBitmap strip = FromGrid({"LLmnRR", "LLopRR"});
    TBitmap dest = Filled(9, 4);
    ComposeHorizontal(dest, {0, 0, 9, 4}, strip, false, 1, 1, {2, 5, 2, 5});
    EXPECT_EQ(ToGrid(dest), (TGrid{"LLmnmnmRR", "LLmnmnmRR", "LLopopoRR", "LLopopoRR"}));
    // Two state images stacked; state 2, at an offset.
    const TBitmap stacked = FromGrid({"abcd", "LmnR"});
    TBitmap row = Filled(7, 1);
    ComposeHorizontal(row, {1, 0, 7, 1}, stacked, true, 2, 2, {1, 0, 1, 0});
    EXPECT_EQ(ToGrid(row), (TGrid{"zLmnmnR"}));
    // No middle piece: the caps only, nothing between them, and no end.
    TBitmap caps = Filled(6, 1);
    ComposeHorizontal(caps, {0, 0, 6, 1}, FromGrid({"LR"}), false, 1, 1, {1, 0, 1, 0});
    EXPECT_EQ(ToGrid(caps), (TGrid{"LzzzzR"}));
}

TEST(PixelCopy, TileKeyedCopyAndMask) {
    const TBitmap strip = FromGrid(kNine, TPixelFormat::pf24bit);
    TBitmap dest = Filled(7, 4);
    TilePixels(dest, {1, 1, 6, 4}, strip, {2, 2, 4, 4});
    EXPECT_EQ(ToGrid(dest), (TGrid{"zzzzzzz", "zefefez", "zghghgz", "zefefez"}));

    TBitmap keyed = Filled(4, 2);
    CopyKeyed(keyed, 1, 1, FromGrid({"MaMb", "cccc"}, TPixelFormat::pf24bit), kColourKey);
    EXPECT_EQ(ToGrid(keyed), (TGrid{"zzzz", "zzaz"}));

    TGrid row = {std::string(17, 'a')};
    row[0][0] = row[0][9] = row[0][16] = 'M';
    const std::vector<uint8_t> mask = KeyMask(FromGrid(row), kColourKey);
    EXPECT_EQ(mask, (std::vector<uint8_t>{0x80, 0x40, 0x80, 0x00}));
}

} // namespace
} // namespace qh
