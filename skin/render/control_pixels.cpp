#include "skin/render/control_pixels.h"

#include <algorithm>

namespace qh {

namespace {

TRect Clipped(const TBitmap& pixels, const TRect& r) {
    return {std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, pixels.Width()),
            std::min(r.Bottom, pixels.Height())};
}

} // namespace

void OutlineRect(TBitmap& pixels, const TRect& r, TColor colour) {
    if (r.Empty()) return;
    FillArea(pixels, {r.Left, r.Top, r.Right, r.Top + 1}, colour);
    FillArea(pixels, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, colour);
    FillArea(pixels, {r.Left, r.Top, r.Left + 1, r.Bottom}, colour);
    FillArea(pixels, {r.Right - 1, r.Top, r.Right, r.Bottom}, colour);
}

void FillArea(TBitmap& pixels, const TRect& r, TColor colour) {
    const TRect in = Clipped(pixels, r);
    for (int y = in.Top; y < in.Bottom; ++y)
        for (int x = in.Left; x < in.Right; ++x)
            pixels.SetPixel(x, y, colour);
}

void DrawGripStripes(TBitmap& pixels, TColor colour) {
    const int w = pixels.Width(), h = pixels.Height();
    // Only the pixels within 12 diagonals of the corner can be striped.
    for (int y = std::max(h - 12, 0); y < h; ++y)
        for (int x = std::max(w - 12, 0); x < w; ++x) {
            const int k = (w - 1 - x) + (h - 1 - y);
            if (k >= 1 && k < 12 && k % 4 != 0 && k % 4 != 3) pixels.SetPixel(x, y, colour);
        }
}

void CopyGlyph(TBitmap& pixels, int x, int y, const TBitmap& strip, int index, int width,
               bool grey) {
    const TColor key = strip.GetPixel(0, strip.Height() - 1);
    for (int sy = 0; sy < strip.Height(); ++sy) {
        const int dy = y + sy;
        if (dy < 0 || dy >= pixels.Height()) continue;
        for (int sx = 0; sx < width; ++sx) {
            const int dx = x + sx;
            if (dx < 0 || dx >= pixels.Width()) continue;
            TColor c = strip.GetPixel(index * width + sx, sy);
            if (c == key) continue;
            if (grey) {
                const int v = (ColourR(c) + ColourG(c) + ColourB(c)) / 3;
                c = MakeColour(v, v, v);
            }
            pixels.SetPixel(dx, dy, c);
        }
    }
}

void FillChecker(TBitmap& pixels, TColor even, TColor odd) {
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            pixels.SetPixel(x, y, (x + y) % 2 ? odd : even);
}

} // namespace qh
