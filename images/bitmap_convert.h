// The in-place pixel conversions the skin parts and the drawing code use.
// All of them leave the bitmap at 24 bits a pixel.
#pragma once

#include "images/bitmap.h"

namespace qh {

// Every pixel becomes (blue + green + red) / 3 in all three channels.
void GreyBitmap(TBitmap& bitmap);
// Left-right mirror.
void MirrorBitmap(TBitmap& bitmap);
// Upside down.
void FlipBitmap(TBitmap& bitmap);
// 90 degrees counter-clockwise: new (x, y) = old (width - 1 - y, x).
void RotateBitmapLeft(TBitmap& bitmap);
// 90 degrees clockwise: new (x, y) = old (y, height - 1 - x).
void RotateBitmapRight(TBitmap& bitmap);

} // namespace qh
