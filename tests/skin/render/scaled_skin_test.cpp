#include <gtest/gtest.h>

#include "skin/render/frame_metrics.h"
#include "skin/render/scaled_skin.h"
#include "tests/skin/render/pixel_grid.h"

namespace qh {
namespace {

using test::FromGrid;
using test::ToGrid;

// A left border of two 2-pixel state images, keyed at its outer column,
// and a caption button placed from the right.
void FillSkin(TSkinParts& skin) {
    skin.SkinEmpty = false;
    skin.BorderLeft->Image = FromGrid({"MaMb", "Mamb", "MaMb"});
    skin.BorderLeft->Frame = 2;
    skin.BorderTop->Image = FromGrid({"cccc", "dddd"});
    skin.BorderTop->Frame = 2;
    skin.Title->FontHeight = -12;
    skin.Title->LeftWidth = 5;
    auto close = std::make_unique<TDataSkinSysButton>("Close");
    close->Image = FromGrid({"xxyy", "xxyy"});
    close->Frame = 2;
    close->XCoord = -21;
    close->YCoord = 5;
    skin.SysButtons.push_back(std::move(close));
}

TEST(ScaledSkin, FiguresAndPicturesScaledKeyExact) {
    TSkinParts skin;
    FillSkin(skin);
    const auto scaled = ScaledSkinParts(skin, 192);
    const TFrameWidths widths = FrameWidthsOf(scaled->BorderLeft.get(), scaled->BorderTop.get(),
                                              nullptr, nullptr, false);
    EXPECT_EQ(widths.Left, 4);
    EXPECT_EQ(widths.Top, 2);
    // Whole factor: each pixel doubled, the key where it was and nowhere else.
    EXPECT_EQ(ToGrid(scaled->BorderLeft->Image),
              (test::TGrid{"MMaaMMbb", "MMaaMMbb", "MMaammbb", "MMaammbb", "MMaaMMbb",
                           "MMaaMMbb"}));
    EXPECT_EQ(scaled->Title->FontHeight, -24);
    EXPECT_EQ(scaled->Title->LeftWidth, 10);
    ASSERT_EQ(scaled->SysButtons.size(), 1u);
    EXPECT_EQ(scaled->SysButtons[0]->XCoord, -42);
    EXPECT_EQ(scaled->SysButtons[0]->Image.Width(), 8);

    // 150 %: 2-pixel images become 3 (MulDiv), stacked states stay apart.
    const auto at144 = ScaledSkinParts(skin, 144);
    EXPECT_EQ(FrameWidthsOf(at144->BorderLeft.get(), at144->BorderTop.get(), nullptr, nullptr,
                            false)
                  .Left,
              3);
    EXPECT_EQ(ToGrid(at144->BorderTop->Image),
              (test::TGrid{"cccccc", "cccccc", "dddddd", "dddddd"}));
    EXPECT_EQ(at144->SysButtons[0]->XCoord, -32); // -31.5 rounds away from zero
}

TEST(ScaledSkin, At96ACopyEqualToTheOriginal) {
    TSkinParts skin;
    FillSkin(skin);
    const auto same = ScaledSkinParts(skin, 96);
    EXPECT_TRUE(same->BorderLeft->Image == skin.BorderLeft->Image);
    EXPECT_TRUE(same->SysButtons[0]->Image == skin.SysButtons[0]->Image);
    EXPECT_EQ(same->SysButtons[0]->XCoord, -21);
    EXPECT_EQ(same->Title->FontHeight, -12);
}

} // namespace
} // namespace qh
