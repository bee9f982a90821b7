// Anti-aliased drawing primitives over TBitmap for the skin generator.
// Shapes drawn on the colour key blend their edges with a given backdrop
// colour rather than with magenta, so no pink fringe shows once the key is
// made see-through.
#pragma once

#include <functional>

#include "images/bitmap.h"

namespace gen {

using qh::TBitmap;
using qh::TColor;

struct TRect {
    int x, y, w, h;
};

TColor Mix(TColor a, TColor b, double t); // t = 0 gives a
TColor Lighter(TColor c, double t);
TColor Darker(TColor c, double t);

void Fill(TBitmap& b, TRect r, TColor c);
// Vertical gradient from top to bottom (horizontal when sideways).
void Gradient(TBitmap& b, TRect r, TColor top, TColor bottom, bool sideways = false);
// Blends c over the pixel with coverage a (0..1); a pixel holding the key
// is treated as holding backdrop.
void Blend(TBitmap& b, int x, int y, TColor c, double a, TColor backdrop);

// Fills the rounded rectangle r (radius) with the colour paint(x, y),
// anti-aliased.
void RoundRect(TBitmap& b, TRect r, double radius, const std::function<TColor(int, int)>& paint,
               TColor backdrop);
// An outline of width 1 along the rounded rectangle.
void RoundFrame(TBitmap& b, TRect r, double radius, TColor c, TColor backdrop);
void Disc(TBitmap& b, double cx, double cy, double radius,
          const std::function<TColor(int, int)>& paint, TColor backdrop);
void Ring(TBitmap& b, double cx, double cy, double radius, double width, TColor c, TColor backdrop);
// A thick anti-aliased line segment.
void Line(TBitmap& b, double x0, double y0, double x1, double y1, double width, TColor c,
          TColor backdrop);
// A 1-pixel frame: light on the top and left, dark on the bottom and right.
void Bevel(TBitmap& b, TRect r, TColor light, TColor dark);
void Frame(TBitmap& b, TRect r, TColor c);

} // namespace gen
