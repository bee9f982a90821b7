#include "images/bitmap_convert.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qh {

// The conversions work on three bytes a pixel. A 32-bit bitmap is brought
// to 24 bits first rather than having its rows misread.

void GreyBitmap(TBitmap& bitmap) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
            const uint8_t grey = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = grey;
        }
    }
}

void MirrorBitmap(TBitmap& bitmap) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const int w = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int l = 0, r = w - 1; l < r; ++l, --r)
            std::swap_ranges(row + 3 * l, row + 3 * l + 3, row + 3 * r);
    }
}

void FlipBitmap(TBitmap& bitmap) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    TBitmap flipped(bitmap.Width(), bitmap.Height());
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(flipped.ScanLine(y), bitmap.ScanLine(bitmap.Height() - 1 - y),
                    3 * static_cast<size_t>(bitmap.Width()));
    bitmap = std::move(flipped);
}

namespace {

template <typename SourcePoint> void Rotate(TBitmap& bitmap, SourcePoint source) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const TBitmap old = bitmap;
    TBitmap turned(old.Height(), old.Width());
    for (int y = 0; y < turned.Height(); ++y)
        for (int x = 0; x < turned.Width(); ++x) {
            const auto [ox, oy] = source(old, x, y);
            std::memcpy(turned.ScanLine(y) + 3 * x, old.ScanLine(oy) + 3 * ox, 3);
        }
    bitmap = std::move(turned);
}

} // namespace

void RotateBitmapLeft(TBitmap& bitmap) {
    Rotate(bitmap, [](const TBitmap& old, int x, int y) {
        return std::pair<int, int>(old.Width() - 1 - y, x);
    });
}

void RotateBitmapRight(TBitmap& bitmap) {
    Rotate(bitmap, [](const TBitmap& old, int x, int y) {
        return std::pair<int, int>(y, old.Height() - 1 - x);
    });
}

} // namespace qh
