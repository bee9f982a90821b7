// A small glyph strip drawn by hand, for the suites of disabled pictures.
#pragma once

#include "images/bitmap.h"

namespace qh::test {

inline const TColor kDark = MakeColour(20, 60, 140);
inline const TColor kSecond = MakeColour(200, 0, 0);

// A w x h glyph cell: key colour round a dark square, a white dot in the
// square's corner; count cells side by side, the second one red.
inline TBitmap GlyphStrip(int count, int w = 12, int h = 10) {
    TBitmap strip(w * count, h);
    strip.Fill(kColourKey);
    for (int cell = 0; cell < count; ++cell)
        for (int y = 2; y < 8; ++y)
            for (int x = 3; x < 9; ++x)
                strip.SetPixel(cell * w + x, y, cell == 1 ? kSecond : kDark);
    strip.SetPixel(3, 2, MakeColour(255, 255, 255));
    return strip;
}

} // namespace qh::test
