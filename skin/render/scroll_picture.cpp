#include "skin/render/scroll_picture.h"

#include <algorithm>

#include "skin/render/compose.h"
#include "skin/render/part_compose.h"
#include "skin/render/pixel_copy.h"

namespace qh {

namespace {

bool Usable(const TDataSkinObject* part) {
    return part && !part->Image.Empty();
}

// A piece along the bar: from `start`, `size` long, the whole thickness.
TRect Piece(bool vertical, int start, int size, int thickness) {
    return vertical ? TRect{0, start, thickness, start + size}
                    : TRect{start, 0, start + size, thickness};
}

// A nine-cell composition of one state image into `at`, the key colour
// left out when keyed.
void DrawNine(TBitmap& dest, const TRect& at, const TDataSkinObject& part, int frames, int state,
              bool tile, bool keyed) {
    if (at.Empty()) return;
    if (!keyed) {
        ComposeInto(dest, at, part.Image, MarginsOf(part), false, tile, frames, state);
        return;
    }
    TBitmap piece(at.Width(), at.Height(), TPixelFormat::pf32bit);
    piece.Fill(kColourKey);
    ComposeInto(piece, {0, 0, at.Width(), at.Height()}, part.Image, MarginsOf(part), false, tile,
                frames, state);
    CopyKeyed(dest, at.Left, at.Top, piece, kColourKey);
}

void DrawArrow(TBitmap& dest, const TRect& at, const TDataSkinObject& arrows, int state) {
    if (at.Empty()) return;
    TBitmap piece(at.Width(), at.Height(), TPixelFormat::pf32bit);
    piece.Fill(kColourKey);
    StretchStateImage(piece, {0, 0, at.Width(), at.Height()}, arrows.Image, kScrollArrowFrames,
                      state);
    CopyKeyed(dest, at.Left, at.Top, piece, kColourKey);
}

} // namespace

TScrollPress ArrowPress(bool vertical, bool end) {
    if (vertical) return end ? TScrollPress::DownArrow : TScrollPress::UpArrow;
    return end ? TScrollPress::RightArrow : TScrollPress::LeftArrow;
}

TScrollPress ThumbPress(bool vertical) {
    return vertical ? TScrollPress::VertThumb : TScrollPress::HorzThumb;
}

TBitmap ComposeScrollBar(const TScrollBarParts& parts, bool vertical, int length,
                         const TThumbMetrics& m, TScrollPress pressed, int thickness) {
    if (!Usable(parts.Arrows) || length <= 0 || thickness <= 0) return {};
    TBitmap bar(vertical ? thickness : length, vertical ? length : thickness,
                TPixelFormat::pf32bit);
    bar.Fill(parts.Fill);

    const int arrow = std::clamp(m.Arrow, 0, length / 2);
    const int track = std::max(length - 2 * arrow, 0);
    if (Usable(parts.Track))
        DrawNine(bar, Piece(vertical, arrow, track, thickness), *parts.Track, kScrollTrackFrames, 1,
                 parts.TileTrack, parts.Track->Trans == 1);

    const int start = vertical ? kArrowUp : kArrowLeft;
    const int end = vertical ? kArrowDown : kArrowRight;
    DrawArrow(bar, Piece(vertical, 0, arrow, thickness), *parts.Arrows,
              start + (pressed == ArrowPress(vertical, false) ? 1 : 0));
    DrawArrow(bar, Piece(vertical, length - arrow, arrow, thickness), *parts.Arrows,
              end + (pressed == ArrowPress(vertical, true) ? 1 : 0));

    // A thumb dragged to the end of the track still stops at the arrow.
    const int thumb = std::min(m.Thumb, track);
    if (Usable(parts.Thumb) && thumb > 0) {
        const int offset = std::clamp(m.Offset, 0, track - thumb);
        DrawNine(bar, Piece(vertical, arrow + offset, thumb, thickness), *parts.Thumb,
                 parts.Thumb->Frame, pressed == ThumbPress(vertical) ? 2 : 1, false,
                 parts.KeyedThumb);
    }
    return bar;
}

} // namespace qh
