#include <gtest/gtest.h>

#include "core/mul_div.h"
#include "skin/render/picture_scaling.h"
#include "skin/render/state_image.h"
#include "tests/skin/render/pixel_grid.h"

namespace qh {
namespace {

using test::FromGrid;
using test::TGrid;

const int kFractionalDpis[] = {120, 144, 168};

// Key in a checkerboard of single pixels and 2 x 2 blocks beside a ramp of
// colours whose red and blue stay at most 100 and green at least 100: any
// share of the key (255, 0, 255) in a pixel pushes it out of that range.
TBitmap KeyNextToColours() {
    TBitmap b(23, 11, TPixelFormat::pf24bit);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const bool key = x < 12 ? (x / 2 + y / 2) % 2 == 0 : (x + y) % 2 == 0;
            b.SetPixel(x, y, key ? kColourKey : MakeColour(x * 4, 100 + y * 15, 100 - x * 4));
        }
    return b;
}

TEST(PictureScaling, KeyStaysExactAtEveryScale) {
    const TBitmap source = KeyNextToColours();
    for (int dpi : {120, 144, 168, 192})
        for (TPictureFilter filter :
             {TPictureFilter::AreaAverage, TPictureFilter::Bilinear, FilterForDpi(dpi)}) {
            const TScaledPicture scaled = ScaleSkinPicture(source, false, 1, {}, dpi, filter);
            const TBitmap& p = scaled.Picture;
            ASSERT_EQ(p.Width(), ScaleForDpi(23, dpi));
            ASSERT_EQ(p.Height(), ScaleForDpi(11, dpi));
            for (int y = 0; y < p.Height(); ++y)
                for (int x = 0; x < p.Width(); ++x) {
                    const TColor under = source.GetPixel((2 * x + 1) * 23 / (2 * p.Width()),
                                                         (2 * y + 1) * 11 / (2 * p.Height()));
                    const TColor c = p.GetPixel(x, y);
                    ASSERT_EQ(c == kColourKey, under == kColourKey)
                        << dpi << " dpi, filter " << static_cast<int>(filter) << " at " << x
                        << ", " << y;
                    if (c != kColourKey) {
                        ASSERT_TRUE(ColourR(c) <= 100 && ColourB(c) <= 100 && ColourG(c) >= 100)
                            << "key bled into " << x << ", " << y << " at " << dpi << " dpi";
                    }
                }
        }
}

// Every pixel of rect in p is colour.
bool Solid(const TBitmap& p, const TRect& rect, TColor colour) {
    for (int y = rect.Top; y < rect.Bottom; ++y)
        for (int x = rect.Left; x < rect.Right; ++x)
            if (p.GetPixel(x, y) != colour) return false;
    return true;
}

TEST(PictureScaling, StateImagesAndTheirCellsStaySeparate) {
    // Three 5 x 4 state images, each with one-pixel margins around a 3 x 2
    // middle; every cell of every state image has a colour of its own.
    const TMargins margins{1, 1, 1, 1};
    const int cols[] = {0, 1, 4, 5}, rows[] = {0, 1, 3, 4};
    TGrid grid(4, std::string(15, ' '));
    char letter = 'a';
    for (int f = 0; f < 3; ++f)
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c, ++letter)
                for (int y = rows[r]; y < rows[r + 1]; ++y)
                    for (int x = cols[c]; x < cols[c + 1]; ++x)
                        grid[y][f * 5 + x] = letter;
    const TBitmap strip = FromGrid(grid);
    for (bool vertical : {false, true}) {
        // The same strip stacked: state images one under another.
        TBitmap source = strip;
        if (vertical) {
            source.SetSize(5, 12);
            for (int f = 0; f < 3; ++f)
                source.CopyRect(0, f * 4, strip, f * 5, 0, 5, 4);
        }
        for (int dpi : kFractionalDpis) {
            const TScaledPicture scaled = ScaleSkinPicture(source, vertical, 3, margins, dpi);
            const TMargins& m = scaled.Margins;
            EXPECT_EQ(m.Left, ScaleForDpi(1, dpi));
            const int w = ScaleForDpi(5, dpi), h = ScaleForDpi(4, dpi);
            const int scaledCols[] = {0, m.Left, w - m.Right, w};
            const int scaledRows[] = {0, m.Top, h - m.Bottom, h};
            letter = 'a';
            for (int f = 0; f < 3; ++f) {
                const TRect image = StateImageRect(scaled.Picture, vertical, 3, f + 1);
                ASSERT_EQ(image.Width(), w);
                ASSERT_EQ(image.Height(), h);
                for (int r = 0; r < 3; ++r)
                    for (int c = 0; c < 3; ++c, ++letter)
                        EXPECT_TRUE(Solid(scaled.Picture,
                                          {image.Left + scaledCols[c], image.Top + scaledRows[r],
                                           image.Left + scaledCols[c + 1],
                                           image.Top + scaledRows[r + 1]},
                                          test::Colour(letter)))
                            << "cell " << letter << " at " << dpi << " dpi"
                            << (vertical ? ", stacked" : "");
            }
        }
    }
}

TEST(PictureScaling, NinetySixUnchangedWholeFactorsDuplicatePixels) {
    const TBitmap source = KeyNextToColours();
    const TScaledPicture same = ScaleSkinPicture(source, false, 2, {3, 1, 2, 0}, 96);
    EXPECT_EQ(same.Picture, source);
    EXPECT_EQ(same.Picture.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(same.Margins.Left, 3);
    EXPECT_EQ(FilterForDpi(144), TPictureFilter::AreaAverage);
    ASSERT_EQ(FilterForDpi(192), TPictureFilter::Nearest);
    const TBitmap doubled = ScaleSkinPicture(source, false, 1, {}, 192).Picture;
    for (int y = 0; y < doubled.Height(); ++y)
        for (int x = 0; x < doubled.Width(); ++x)
            ASSERT_EQ(doubled.GetPixel(x, y), source.GetPixel(x / 2, y / 2)) << x << ", " << y;
}

TEST(PictureScaling, HostileSizesAreRefusedBeforeAnyPixelIsMade) {
    const TBitmap wide(TBitmap::kMaxSide, 1);
    EXPECT_THROW(ScaleSkinPicture(wide, false, 1, {}, 192), EInvalidGraphic);
    EXPECT_THROW(ScalePicture(wide, 1 << 20, 1 << 20, TPictureFilter::AreaAverage),
                 EInvalidGraphic);
    // More state images than pixels: nothing to show, nothing made.
    EXPECT_TRUE(ScaleSkinPicture(wide, false, 1 << 30, {}, 144).Picture.Empty());
}

} // namespace
} // namespace qh
