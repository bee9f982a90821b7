// Row-wise pixel copies between bitmaps of 24 or 32 bits a pixel: the
// nearest-neighbour stretch, tiling, and the colour-keyed copy. Every
// routine clips to both bitmaps and writes nothing outside `to`; between
// 32-bit bitmaps the fourth byte goes along, from 24 bits it becomes 0.
#pragma once

#include <cstdint>
#include <vector>

#include "images/bitmap.h"
#include "core/geometry.h"

namespace qh {

// `from` stretched onto `to`: each target pixel takes the source pixel under
// its centre. Only the part of `to` inside `clip` is written; the mapping is
// that of the whole rectangles. A `from` reaching outside the source is cut
// to it first.
void StretchPixels(TBitmap& dest, const TRect& to, const TBitmap& source, const TRect& from);
void StretchPixels(TBitmap& dest, const TRect& to, const TBitmap& source, const TRect& from,
                   const TRect& clip);

// `from` repeated over `to` from its top-left corner, left to right and top
// to bottom, the last copies cut off by `to`.
void TilePixels(TBitmap& dest, const TRect& to, const TBitmap& source, const TRect& from);

// The whole source put at (x, y), leaving out the pixels of the key colour.
void CopyKeyed(TBitmap& dest, int x, int y, const TBitmap& source, TColor key);

// A monochrome picture of where the key colour is: one bit a pixel, the
// leftmost pixel in the highest bit, a set bit for the key, each row padded
// to 16 bits (the layout of a monochrome device-dependent bitmap).
std::vector<uint8_t> KeyMask(const TBitmap& source, TColor key);
inline int KeyMaskStride(int width) {
    return (width + 15) / 16 * 2;
}

} // namespace qh
