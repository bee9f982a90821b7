#include "skin/render/control_pixels.h"

#include "tests/skin/render/pixel_grid.h"

#include <gtest/gtest.h>

using namespace qh;
using test::Colour;
using test::FromGrid;
using test::TGrid;
using test::ToGrid;

TEST(ControlPixels, OutlinesFillsAndCheckersStayInsideTheBitmap) {
    TBitmap pixels = FromGrid(TGrid(4, "zzzzz"));
    OutlineRect(pixels, {1, 1, 7, 9}, Colour('a'));
    FillArea(pixels, {-3, 0, 2, 1}, Colour('b'));
    EXPECT_EQ(ToGrid(pixels), (TGrid{"bbzzz", "zaaaa", "zazzz", "zazzz"}));

    TBitmap checker(3, 2, TPixelFormat::pf32bit);
    FillChecker(checker, Colour('e'), Colour('o'));
    EXPECT_EQ(ToGrid(checker), (TGrid{"eoe", "oeo"}));
}

TEST(ControlPixels, GripStripesRunDiagonallyFromTheCorner) {
    TBitmap grip = FromGrid(TGrid(13, std::string(13, '.')));
    DrawGripStripes(grip, Colour('s'));
    // Diagonals 1 and 2, 5 and 6, 9 and 10 from the corner pixel.
    const TGrid shown = ToGrid(grip);
    EXPECT_EQ(shown[12], "..ss..ss..ss.");
    EXPECT_EQ(shown[11], "...ss..ss..ss");
    EXPECT_EQ(shown[0], ".............");
}

TEST(ControlPixels, GlyphsLeaveTheirKeyOutAndGreyOnRequest) {
    // Two 2-pixel images; the key is the bottom-left pixel's colour.
    const TBitmap strip = FromGrid({"abcd", "kakd"});
    TBitmap pixels = FromGrid(TGrid(3, "zzzz"));
    CopyGlyph(pixels, 1, 1, strip, 1, 2, false);
    EXPECT_EQ(ToGrid(pixels), (TGrid{"zzzz", "zcdz", "zzdz"}));
    CopyGlyph(pixels, -1, 0, strip, 0, 2, true);
    auto grey = [](TColor c) {
        const int v = (ColourR(c) + ColourG(c) + ColourB(c)) / 3;
        return MakeColour(v, v, v);
    };
    EXPECT_EQ(pixels.GetPixel(0, 0), grey(Colour('b')));
    EXPECT_EQ(pixels.GetPixel(0, 1), grey(Colour('a')));
    EXPECT_EQ(pixels.GetPixel(1, 1), Colour('c'));
}
