// The skin's painting routines on a device context. Pictures are composed
// in software (skin/render) into a DIB section of the target's size and put
// on the device context in one blit, opaque or with the key colour left
// out; nothing is stretched by GDI on the way. An inverted or empty target,
// or a strip whose state image is empty, draws nothing.
#pragma once

#include <windows.h>

#include "images/bitmap.h"
#include "skin/engine/dib_section.h"
#include "core/geometry.h"
#include "toolkit/canvas.h"

namespace qh {

// A skin colour as GDI and the pixel buffers take it: a plain colour, or a
// system colour read now.
inline COLORREF SkinColour(int32_t colour) {
    return ColorToRGB(static_cast<TColor>(colour));
}

// State image `state` of a side-by-side strip of `frames` stretched over the
// target, magenta left out when transparent.
void DrawStateImage(HDC dc, const TRect& target, const TBitmap& strip, bool transparent, int frames,
                    int state);

// The nine-cell composition (ComposeImage) drawn opaque or colour-keyed.
void DrawComposed(HDC dc, const TRect& target, const TBitmap& strip, bool vertical, bool tile,
                  bool transparent, int frames, int state, const TMargins& margins);

// Left cap, repeated middle, right cap (only the left and right margins).
void DrawHorizontal(HDC dc, const TRect& target, const TBitmap& strip, bool vertical,
                    bool transparent, int frames, int state, const TMargins& margins);
inline void DrawHorizontal(TCanvas& canvas, const TRect& target, const TBitmap& strip,
                           bool vertical, bool transparent, int frames, int state,
                           const TMargins& margins) {
    DrawHorizontal(canvas.Handle(), target, strip, vertical, transparent, frames, state, margins);
}

// The eight corner and edge cells of the nine-cell composition, opaque; the
// middle of the target keeps what the device context holds.
void DrawBorderCells(HDC dc, const TRect& target, const TBitmap& strip, bool vertical, int frames,
                     int state, const TMargins& margins);

// The source rectangle repeated over the target from its top-left corner,
// the last copies cut off by the target.
void TileImage(HDC dc, const TRect& target, const TBitmap& source, const TRect& sourceRect);
inline void TileImage(TCanvas& canvas, const TRect& target, const TBitmap& source,
                      const TRect& sourceRect) {
    TileImage(canvas.Handle(), target, source, sourceRect);
}

// The picture at the target's top-left corner, cut to the target, with the
// pixels of the key colour leaving the device context as it was.
void DrawKeyed(HDC dc, const TRect& target, const TBitmap& picture, TColor key);
void DrawKeyed(HDC dc, const TRect& target, const TDibSection& picture, TColor key);

} // namespace qh
