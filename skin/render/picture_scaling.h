// Skin pictures, drawn for 96 DPI, scaled for a window's DPI once per skin
// and DPI. The colour key stays exact: a scaled pixel is the key exactly
// where its nearest source pixel is, and no other pixel takes anything of
// the key. Each state image of a strip, and each of its nine cells, is
// scaled on its own, so nothing of one bleeds into the next.
#pragma once

#include "images/bitmap.h"
#include "core/geometry.h"

namespace qh {

enum class TPictureFilter {
    // Each pixel the source pixel under its centre: sharp, blocky between
    // whole factors.
    Nearest,
    // Each pixel the average of the source area it covers: sharp edges one
    // pixel soft where a source pixel falls across two.
    AreaAverage,
    // Each pixel interpolated between its four nearest source pixels.
    Bilinear,
};

// Nearest neighbour at whole factors of 96 DPI (and at 96), the area
// average between them.
TPictureFilter FilterForDpi(int dpi);

// The whole picture scaled to width x height, as a new 32-bit bitmap.
// Raises EInvalidGraphic for a result larger than a bitmap may be.
TBitmap ScalePicture(const TBitmap& source, int width, int height, TPictureFilter filter,
                     TColor key = kColourKey);

struct TScaledPicture {
    TBitmap Picture;
    // The nine-cell margins that go with Picture.
    TMargins Margins;
};

// A strip of `frames` state images (side by side, or stacked when
// vertical; see StateImageRect) with nine-cell margins, scaled for dpi:
// each state image becomes ScaleForDpi of its size, its cells split where
// the scaled margins say. Pixels past the last whole state image, which no
// state image shows, are left out. At 96 DPI (or a DPI of 0 or less) the
// picture and margins come back as they are. Raises EInvalidGraphic for a
// result larger than a bitmap may be.
TScaledPicture ScaleSkinPicture(const TBitmap& strip, bool vertical, int frames,
                                const TMargins& margins, int dpi, TPictureFilter filter,
                                TColor key = kColourKey);
inline TScaledPicture ScaleSkinPicture(const TBitmap& strip, bool vertical, int frames,
                                       const TMargins& margins, int dpi) {
    return ScaleSkinPicture(strip, vertical, frames, margins, dpi, FilterForDpi(dpi));
}

} // namespace qh
