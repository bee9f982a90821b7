// The engine's GDI pieces: DIB sections shared by GDI and the compositor,
// keyed and bordered painting, and regions made from scanned bitmaps.
#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/bitmap_region.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/shared_resources.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/region_scan.h"
#include "tests/skin/render/pixel_grid.h"

namespace qh {
namespace {

using test::FromGrid;
using test::TGrid;
using test::ToGrid;

TEST(DibSection, GdiAndTheCompositorShareThePixels) {
    TDibSection dib(48, 20);
    EXPECT_FALSE(dib.Bitmap().OwnsPixels());
    dib.Bitmap().Fill(MakeColour(255, 255, 255));
    SetBkMode(dib.Dc(), TRANSPARENT);
    SetTextColor(dib.Dc(), RGB(0, 0, 0));
    TextOutW(dib.Dc(), 2, 2, L"Hg", 2);
    dib.Sync();
    int inked = 0;
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x)
            inked += dib.Bitmap().GetPixel(x, y) != MakeColour(255, 255, 255);
    EXPECT_GT(inked, 10);

    dib.Bitmap().SetPixel(40, 15, MakeColour(1, 2, 3));
    EXPECT_EQ(GetPixel(dib.Dc(), 40, 15), RGB(1, 2, 3));

    TDibSection& scratch = ScratchBitmap(10, 5);
    EXPECT_EQ(&ScratchBitmap(10, 5), &scratch);
    EXPECT_EQ(GetStretchBltMode(scratch.Dc()), COLORONCOLOR);
}

TEST(SkinPaint, KeyedDrawingKeepsTheDestinationUnderTheKey) {
    TDibSection dest(TBitmap(FromGrid({"zzzzz"})));
    DrawKeyed(dest.Dc(), {0, 0, 5, 1}, FromGrid({"MaMbc"}), kColourKey);
    dest.Sync();
    EXPECT_EQ(ToGrid(dest.Bitmap()), (TGrid{"zazbc"}));
    // Cut to the target; the picture starts at its corner.
    TDibSection other(TBitmap(FromGrid({"zzzzz"})));
    DrawKeyed(other.Dc(), {1, 0, 3, 1}, FromGrid({"aMbcd"}), kColourKey);
    DrawKeyed(other.Dc(), {4, 0, 2, 1}, FromGrid({"e"}), kColourKey); // inverted
    other.Sync();
    EXPECT_EQ(ToGrid(other.Bitmap()), (TGrid{"zazzz"}));
}

TEST(SkinPaint, BorderCellsLeaveTheMiddleAndCompositionsShowWhole) {
    const TBitmap strip = FromGrid({"AABbCC", "AABbCC", "DDefFF", "ddghGG", "IIJjKK", "IIJjKK"});
    const TMargins two{2, 2, 2, 2};
    TDibSection dest(TBitmap(FromGrid(TGrid(9, std::string(11, 'z')))));
    DrawBorderCells(dest.Dc(), {1, 1, 11, 9}, strip, false, 1, 1, two);
    dest.Sync();
    EXPECT_EQ(ToGrid(dest.Bitmap()),
              (TGrid{"zzzzzzzzzzz", "zAABBBbbbCC", "zAABBBbbbCC", "zDDzzzzzzFF", "zDDzzzzzzFF",
                     "zddzzzzzzGG", "zddzzzzzzGG", "zIIJJJjjjKK", "zIIJJJjjjKK"}));

    // A keyed composition: the magenta of the image lets the 'z' through.
    const TBitmap holed = FromGrid({"aMb", "Mcd"});
    TDibSection keyed(TBitmap(FromGrid({"zzz", "zzz"})));
    DrawComposed(keyed.Dc(), {0, 0, 3, 2}, holed, false, false, true, 1, 1, {});
    DrawHorizontal(keyed.Dc(), {0, 0, 3, 1}, holed, false, true, 1, 1, {1, 0, 1, 0});
    keyed.Sync();
    // The caps and the piece are sampled from the lower row at height 1.
    EXPECT_EQ(ToGrid(keyed.Bitmap()), (TGrid{"acd", "zcd"}));
}

std::vector<TRect> RegionRects(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> data(size);
    GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    std::vector<TRect> out;
    for (DWORD i = 0; i < header->nCount; ++i)
        out.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    return out;
}

TEST(BitmapToRegion, RectanglesOfTheVisiblePixelsInBatches) {
    const TRegionHandle small =
        BitmapToRegion(FromGrid({"MaaM", "aaaa", "MMMM"}), 5, 7, 1, 1, 1, kColourKey);
    EXPECT_EQ(RegionRects(small.Get()), (std::vector<TRect>{{6, 7, 8, 8}, {5, 8, 9, 9}}));
    const TRegionHandle none = BitmapToRegion(FromGrid({"MM"}), 0, 0, 1, 1, 1, kColourKey);
    EXPECT_TRUE(RegionRects(none.Get()).empty());

    // Single pixels in a checkerboard: 3200 rectangles, no two mergeable.
    TBitmap board(64, 100, TPixelFormat::pf32bit);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 64; ++x)
            board.SetPixel(x, y, (x + y) % 2 ? MakeColour(0, 0, 0) : kColourKey);
    const std::vector<TRect> runs = ScanRegion(board, 3, 4, 1, 1, 1, kColourKey);
    ASSERT_EQ(runs.size(), 3200u);
    const TRegionHandle big = BitmapToRegion(board, 3, 4, 1, 1, 1, kColourKey);
    EXPECT_EQ(RegionRects(big.Get()), runs);
}

} // namespace
} // namespace qh
