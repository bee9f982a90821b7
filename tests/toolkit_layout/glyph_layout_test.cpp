// Where a button's glyph and caption go, worked out by hand for a 60 x 20
// face, a 16 x 16 glyph and a 30 x 12 caption.
#include "toolkit/layout/glyph_layout.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

testing::AssertionResult At(const TGlyphPlacement& p, int gx, int gy, int tx, int ty) {
    if (p.GlyphX == gx && p.GlyphY == gy && p.TextX == tx && p.TextY == ty)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "glyph (" << p.GlyphX << ", " << p.GlyphY << ") text ("
                                       << p.TextX << ", " << p.TextY << ")";
}

TEST(GlyphLayout, MarginAndSpacingPlaceThePairAlongTheLayout) {
    // Centred pair: (60 - 16 - 4 - 30) / 2 = 5 from the left.
    EXPECT_TRUE(At(PlaceGlyphAndCaption(60, 20, 16, 16, 30, 12, blGlyphLeft, -1, 4), 5, 2, 25, 4));
    // Both free: the room shared three ways, (60 - 46) / 3 = 4.
    EXPECT_TRUE(At(PlaceGlyphAndCaption(60, 20, 16, 16, 30, 12, blGlyphLeft, -1, -1), 4, 2, 24, 4));
    // From the right edge, the caption centred in what is left: (60-2-16-30)/2 = 6.
    EXPECT_TRUE(At(PlaceGlyphAndCaption(60, 20, 16, 16, 30, 12, blGlyphRight, 2, -1), 42, 2, 6, 4));
    // Stacked on a 40 x 40 face: glyph over caption, both centred across.
    EXPECT_TRUE(At(PlaceGlyphAndCaption(40, 40, 16, 16, 30, 12, blGlyphTop, 3, 2), 12, 3, 5, 21));
    EXPECT_TRUE(
        At(PlaceGlyphAndCaption(40, 40, 16, 16, 30, 12, blGlyphBottom, 3, 2), 12, 21, 5, 7));
    // A glyph alone takes no spacing: centred on (40 - 16) / 2 = 12.
    EXPECT_TRUE(At(PlaceGlyphAndCaption(40, 40, 16, 16, 0, 0, blGlyphTop, -1, 4), 12, 12, 20, 28));
}

} // namespace
} // namespace qh
