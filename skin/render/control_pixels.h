// Small pictures the skin controls draw pixel by pixel into their
// off-screen bitmaps: outlines, the size grip, button glyphs and the
// half-tone behind a checked menu item's picture. Everything outside the
// bitmap is left out.
#pragma once

#include "images/bitmap.h"
#include "core/geometry.h"

namespace qh {

// The one-pixel edge of r.
void OutlineRect(TBitmap& pixels, const TRect& r, TColor colour);

// A rectangle of one colour.
void FillArea(TBitmap& pixels, const TRect& r, TColor colour);

// The size grip's three diagonal stripes, two pixels wide, in the
// bottom-right corner; the rest keeps what the bitmap holds.
void DrawGripStripes(TBitmap& pixels, TColor colour);

// Image `index` (each `width` wide) of a glyph strip with its top-left
// corner at (x, y), left out where it has the colour of the strip's
// bottom-left pixel, grey (the average of red, green and blue) when asked.
void CopyGlyph(TBitmap& pixels, int x, int y, const TBitmap& strip, int index, int width,
               bool grey);

// Alternating pixels of two colours, `even` at the top-left corner.
void FillChecker(TBitmap& pixels, TColor even, TColor odd);

} // namespace qh
