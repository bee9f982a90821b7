#include "skin/engine/skin_paint.h"

#include <algorithm>
#include <vector>

#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"

namespace qh {

namespace {

// The raster operation that leaves the destination as it is.
constexpr DWORD kKeepDestination = 0x00AA0029;

bool Paintable(const TRect& target) {
    return Bounded(target) && !target.Empty();
}

void Show(HDC dc, const TRect& target, const TDibSection& picture, bool transparent) {
    if (transparent)
        DrawKeyed(dc, target, picture, kColourKey);
    else
        BitBlt(dc, target.Left, target.Top, picture.Width(), picture.Height(), picture.Dc(), 0, 0,
               SRCCOPY);
}

TRect Local(const TRect& target) {
    return {0, 0, target.Width(), target.Height()};
}

} // namespace

void DrawStateImage(HDC dc, const TRect& target, const TBitmap& strip, bool transparent, int frames,
                    int state) {
    if (!Paintable(target) || StateImageRect(strip, false, frames, state).Empty()) return;
    TDibSection picture(target.Width(), target.Height());
    StretchStateImage(picture.Bitmap(), Local(target), strip, frames, state);
    Show(dc, target, picture, transparent);
}

void DrawComposed(HDC dc, const TRect& target, const TBitmap& strip, bool vertical, bool tile,
                  bool transparent, int frames, int state, const TMargins& margins) {
    if (!Paintable(target) || StateImageRect(strip, vertical, frames, state).Empty()) return;
    TDibSection picture(target.Width(), target.Height());
    // Cells without a source (margins wider than the image) stay see-through.
    if (transparent) picture.Bitmap().Fill(kColourKey);
    ComposeInto(picture.Bitmap(), Local(target), strip, margins, vertical, tile, frames, state);
    Show(dc, target, picture, transparent);
}

void DrawHorizontal(HDC dc, const TRect& target, const TBitmap& strip, bool vertical,
                    bool transparent, int frames, int state, const TMargins& margins) {
    if (!Paintable(target) || StateImageRect(strip, vertical, frames, state).Empty()) return;
    TDibSection picture(target.Width(), target.Height());
    // Whatever no piece covers stays out of the keyed drawing.
    if (transparent) picture.Bitmap().Fill(kColourKey);
    ComposeHorizontal(picture.Bitmap(), Local(target), strip, vertical, frames, state, margins);
    Show(dc, target, picture, transparent);
}

void DrawBorderCells(HDC dc, const TRect& target, const TBitmap& strip, bool vertical, int frames,
                     int state, const TMargins& margins) {
    if (!Paintable(target)) return;
    const TRect image = StateImageRect(strip, vertical, frames, state);
    const std::vector<TCell> cells = NineCells(image, margins, target.Width(), target.Height());
    if (cells.empty()) return;
    TDibSection picture(target.Width(), target.Height());
    ComposeBorderCells(picture.Bitmap(), Local(target), strip, vertical, frames, state, margins);
    for (const TCell& cell : cells)
        if (cell.Kind != TCellKind::Middle)
            BitBlt(dc, target.Left + cell.Dest.Left, target.Top + cell.Dest.Top, cell.Dest.Width(),
                   cell.Dest.Height(), picture.Dc(), cell.Dest.Left, cell.Dest.Top, SRCCOPY);
}

void TileImage(HDC dc, const TRect& target, const TBitmap& source, const TRect& sourceRect) {
    if (!Paintable(target) ||
        Intersect(sourceRect, {0, 0, source.Width(), source.Height()}).Empty())
        return;
    TDibSection picture(target.Width(), target.Height());
    TilePixels(picture.Bitmap(), Local(target), source, sourceRect);
    Show(dc, target, picture, false);
}

void DrawKeyed(HDC dc, const TRect& target, const TBitmap& picture, TColor key) {
    if (!Paintable(target) || picture.Empty()) return;
    const TDibSection copy(picture);
    DrawKeyed(dc, target, copy, key);
}

void DrawKeyed(HDC dc, const TRect& target, const TDibSection& picture, TColor key) {
    if (!Paintable(target) || picture.Bitmap().Empty()) return;
    const int w = std::min(target.Width(), picture.Width());
    const int h = std::min(target.Height(), picture.Height());
    const std::vector<uint8_t> bits = KeyMask(picture.Bitmap(), key);
    const TBitmapHandle mask(CreateBitmap(picture.Width(), picture.Height(), 1, 1, bits.data()));
    if (!mask) throw EPaintResourceError("No mask bitmap could be made");
    // x86-64 Windows is always the NT platform, where MaskBlt keeps the
    // destination under the set mask bits in one call; the three-copy
    // inversion other platforms needed has no place here.
    MaskBlt(dc, target.Left, target.Top, w, h, picture.Dc(), 0, 0, mask.Get(), 0, 0,
            MAKEROP4(kKeepDestination, SRCCOPY));
}

} // namespace qh
