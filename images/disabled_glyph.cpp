#include "images/disabled_glyph.h"

#include <algorithm>

namespace qh {

bool IsDisabledShapePixel(TColor pixel, TColor transparent) {
    if ((pixel & 0xFFFFFF) == (transparent & 0xFFFFFF)) return false;
    int luminance = (ColourR(pixel) * 299 + ColourG(pixel) * 587 + ColourB(pixel) * 114) / 1000;
    return luminance < 192; // lighter than three quarters white: background
}

TDisabledGlyph MakeDisabledGlyph(const TBitmap& strip, int sx, int sy, int w, int h,
                                 TColor transparent, TColor highlight, TColor shadow) {
    TDisabledGlyph result;
    // The cell is clipped to the strip: a bad NumGlyphs or a short strip
    // must not read outside it.
    int x0 = std::clamp(sx, 0, strip.Width()), y0 = std::clamp(sy, 0, strip.Height());
    w = std::clamp(w, 0, strip.Width() - x0);
    h = std::clamp(h, 0, strip.Height() - y0);
    if (w == 0 || h == 0) return result;
    highlight &= 0xFFFFFF;
    shadow &= 0xFFFFFF;
    // A key that neither colour of the shape can be mistaken for.
    for (TColor key : {kColourKey, MakeColour(0, 255, 255), MakeColour(255, 255, 0)})
        if (key != highlight && key != shadow) {
            result.Key = key;
            break;
        }
    result.Picture = TBitmap(w + 1, h + 1);
    result.Picture.Fill(result.Key);
    for (int pass = 0; pass < 2; ++pass) {
        int offset = pass == 0 ? 1 : 0;
        TColor colour = pass == 0 ? highlight : shadow;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (IsDisabledShapePixel(strip.GetPixel(x0 + x, y0 + y), transparent))
                    result.Picture.SetPixel(x + offset, y + offset, colour);
    }
    return result;
}

} // namespace qh
