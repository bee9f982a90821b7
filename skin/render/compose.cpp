#include "skin/render/compose.h"

#include <algorithm>

#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"

namespace qh {

namespace {

TRect Offset(const TRect& r, int dx, int dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

void ComposeCells(TBitmap& dest, const TRect& target, const TBitmap& strip, const TRect& image,
                  const TMargins& margins, bool tile, bool middle) {
    for (const TCell& cell : NineCells(image, margins, target.Width(), target.Height())) {
        const TRect to = Offset(cell.Dest, target.Left, target.Top);
        if (cell.Kind != TCellKind::Middle)
            StretchPixels(dest, to, strip, cell.Source);
        else if (!middle)
            continue;
        else if (tile)
            TilePixels(dest, to, strip, cell.Source);
        else
            StretchPixels(dest, to, strip, cell.Source);
    }
}

bool Paintable(const TRect& target) {
    return Bounded(target) && !target.Empty();
}

} // namespace

std::vector<TCell> NineCells(const TRect& image, const TMargins& margins, int width, int height) {
    std::vector<TCell> cells;
    if (image.Empty() || width <= 0 || height <= 0) return cells;
    int l = std::max(margins.Left, 0), r = std::max(margins.Right, 0);
    int t = std::max(margins.Top, 0), b = std::max(margins.Bottom, 0);
    if (static_cast<int64_t>(l) + r > width) l = r = 0;
    if (static_cast<int64_t>(t) + b > height) t = b = 0;
    const int w = image.Width(), h = image.Height();
    const int sx = image.Left, sy = image.Top;
    const int midW = width - l - r, midH = height - t - b;
    auto add = [&](TCellKind kind, TRect to, TRect from) {
        from = Intersect(from, image);
        if (!to.Empty() && !from.Empty()) cells.push_back({kind, to, from});
    };
    // A margin wider than the image leaves its source cell cut to the image,
    // and the cells between the margins without a source.
    add(TCellKind::TopLeft, {0, 0, l, t}, {sx, sy, sx + l, sy + t});
    add(TCellKind::BottomLeft, {0, height - b, l, height}, {sx, sy + h - b, sx + l, sy + h});
    add(TCellKind::TopRight, {width - r, 0, width, t}, {sx + w - r, sy, sx + w, sy + t});
    add(TCellKind::Left, {0, t, l, t + midH}, {sx, sy + t, sx + l, sy + h - b});
    add(TCellKind::Top, {l, 0, l + midW, t}, {sx + l, sy, sx + w - r, sy + t});
    add(TCellKind::Middle, {l, t, l + midW, t + midH}, {sx + l, sy + t, sx + w - r, sy + h - b});
    add(TCellKind::BottomRight, {width - r, height - b, width, height},
        {sx + w - r, sy + h - b, sx + w, sy + h});
    add(TCellKind::Right, {width - r, t, width, t + midH},
        {sx + w - r, sy + t, sx + w, sy + h - b});
    add(TCellKind::Bottom, {l, height - b, l + midW, height},
        {sx + l, sy + h - b, sx + w - r, sy + h});
    return cells;
}

TBitmap ComposeImage(const TRect& target, const TBitmap& strip, const TMargins& margins,
                     bool vertical, bool tile, int frames, int state) {
    if (!Paintable(target)) return TBitmap();
    TBitmap result(target.Width(), target.Height(), TPixelFormat::pf32bit);
    ComposeInto(result, {0, 0, target.Width(), target.Height()}, strip, margins, vertical, tile,
                frames, state);
    return result;
}

void ComposeInto(TBitmap& dest, const TRect& target, const TBitmap& strip, const TMargins& margins,
                 bool vertical, bool tile, int frames, int state) {
    if (!Paintable(target)) return;
    ComposeCells(dest, target, strip, StateImageRect(strip, vertical, frames, state), margins, tile,
                 true);
}

void ComposeBorderCells(TBitmap& dest, const TRect& target, const TBitmap& strip, bool vertical,
                        int frames, int state, const TMargins& margins) {
    if (!Paintable(target)) return;
    ComposeCells(dest, target, strip, StateImageRect(strip, vertical, frames, state), margins,
                 false, false);
}

void StretchStateImage(TBitmap& dest, const TRect& target, const TBitmap& strip, int frames,
                       int state) {
    if (!Paintable(target)) return;
    StretchPixels(dest, target, strip, StateImageRect(strip, false, frames, state));
}

void ComposeHorizontal(TBitmap& dest, const TRect& target, const TBitmap& strip, bool vertical,
                       int frames, int state, const TMargins& margins) {
    if (!Paintable(target)) return;
    const TRect image = StateImageRect(strip, vertical, frames, state);
    if (image.Empty()) return;
    const int l = std::clamp(margins.Left, 0, kMaxCoordinate);
    const int r = std::clamp(margins.Right, 0, kMaxCoordinate);
    const int x0 = target.Left, y0 = target.Top, x1 = target.Right, y1 = target.Bottom;
    const int piece = image.Width() - l - r;
    auto source = [&](int left, int right) {
        return Intersect({left, image.Top, right, image.Bottom}, image);
    };
    if (l > 0) StretchPixels(dest, {x0, y0, x0 + l, y1}, strip, source(image.Left, image.Left + l));
    if (piece > 0) {
        const int end = x1 - r; // copies start left of the right cap
        const TRect clip{x0 + l, y0, std::max(end, x0 + l), y1};
        const TRect from = source(image.Left + l, image.Left + l + piece);
        // Copies wholly left of the bitmap are skipped, not drawn.
        int x = x0 + l;
        if (x < 0) x += (-x) / piece * piece;
        const int last = std::min(end, dest.Width());
        for (; x < last; x += piece)
            StretchPixels(dest, {x, y0, x + piece, y1}, strip, from, clip);
    }
    if (r > 0)
        StretchPixels(dest, {x1 - r, y0, x1, y1}, strip, source(image.Right - r, image.Right));
}

} // namespace qh
