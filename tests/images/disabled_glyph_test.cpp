// The etched shape of a picture on a disabled button.
#include "images/disabled_glyph.h"

#include "tests/images/glyph_strip.h"

#include <gtest/gtest.h>

using namespace qh;
using namespace qh::test;

TEST(DisabledGlyph, DarkPixelsBecomeAnEtchedShapeAndLightOnesDropOut) {
    const TColor hi = MakeColour(255, 255, 255), lo = MakeColour(128, 128, 128);
    TDisabledGlyph d = MakeDisabledGlyph(GlyphStrip(1), 0, 0, 12, 10, kColourKey, hi, lo);
    ASSERT_EQ(d.Picture.Width(), 13);
    ASSERT_EQ(d.Picture.Height(), 11);
    EXPECT_EQ(d.Key, kColourKey);
    // Inside the square: the shadow colour; its lower right rim: highlight.
    EXPECT_EQ(d.Picture.GetPixel(5, 5), lo);
    EXPECT_EQ(d.Picture.GetPixel(9, 8), hi);
    EXPECT_EQ(d.Picture.GetPixel(9, 5), hi);
    // Outside the square, and its white corner dot: background.
    EXPECT_EQ(d.Picture.GetPixel(1, 1), d.Key);
    EXPECT_EQ(d.Picture.GetPixel(3, 2), d.Key);
    EXPECT_EQ(d.Picture.GetPixel(12, 10), d.Key);
    // Nothing of the picture's own colours is left.
    for (int y = 0; y < d.Picture.Height(); ++y)
        for (int x = 0; x < d.Picture.Width(); ++x)
            EXPECT_NE(d.Picture.GetPixel(x, y), kDark) << x << "," << y;
}

TEST(DisabledGlyph, KeyAvoidsTheShapeColoursAndCellsAreClippedToTheStrip) {
    TDisabledGlyph d =
        MakeDisabledGlyph(GlyphStrip(1), 0, 0, 12, 10, kColourKey, kColourKey, MakeColour(0, 0, 0));
    EXPECT_NE(d.Key, kColourKey);
    EXPECT_EQ(d.Picture.GetPixel(5, 5), MakeColour(0, 0, 0));
    // A cell asked for past the strip's end reads nothing outside it.
    TDisabledGlyph past = MakeDisabledGlyph(GlyphStrip(1), 6, 0, 12, 10, kColourKey, 1, 2);
    EXPECT_EQ(past.Picture.Width(), 7);
    TDisabledGlyph none = MakeDisabledGlyph(GlyphStrip(1), 40, 0, 12, 10, kColourKey, 1, 2);
    EXPECT_TRUE(none.Picture.Empty());
    EXPECT_TRUE(MakeDisabledGlyph(TBitmap(), 0, 0, 5, 5, kColourKey, 1, 2).Picture.Empty());
}
