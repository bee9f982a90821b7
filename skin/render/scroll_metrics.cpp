#include "skin/render/scroll_metrics.h"

#include <algorithm>
#include <climits>

#include "skin/render/frame_styles.h"

namespace qh {

namespace {

// Scroll ranges may span more than an int; the arithmetic saturates.
int Saturated(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

int Span(int from, int to) {
    return Saturated(static_cast<int64_t>(to) - from);
}

} // namespace

TScrollBarLayout ScrollBarLayout(const TScrollBarInput& in) {
    const bool horizontal = (in.Style & kWsHScroll) != 0;
    const bool vertical = (in.Style & kWsVScroll) != 0;
    const bool onLeft = (in.ExStyle & kWsExLeftScrollBar) != 0;
    const int b = in.BarSize;
    const int W = in.Width;
    const int H = in.Height;
    int twice = in.Width - in.ClientWidth;
    if (vertical)
        twice -= b;
    else if (horizontal)
        twice = in.Height - in.ClientHeight - b - in.ExtraTop;

    TScrollBarLayout l;
    l.Border = twice > 0 ? twice / 2 : 0;
    const int t = l.Border;
    if (vertical) {
        l.Vertical = onLeft ? TRect{t, t + in.ExtraTop, t + b, H - t}
                            : TRect{W - t - b, t + in.ExtraTop, W - t, H - t};
        if (horizontal) l.Vertical.Bottom -= b;
    }
    if (horizontal) {
        l.Horizontal = {t, H - t - b, W - t, H - t};
    }
    if (horizontal && vertical) {
        // Each bar stops at the other.
        if (onLeft)
            l.Horizontal.Left += b;
        else
            l.Horizontal.Right -= b;
        l.Corner = {l.Vertical.Left, l.Horizontal.Top, l.Vertical.Right, l.Horizontal.Bottom};
    }
    return l;
}

int ArrowLength(int barLength, int barSize) {
    return barLength < 2 * barSize ? barLength / 2 : barSize;
}

bool ThumbMetrics(const TScrollInfo& info, int barLength, int barSize, int minThumb,
                  int systemThumb, TThumbMetrics& m) {
    const int range = Span(info.Min, info.Max);
    if (range <= 0) return false;
    const int track = std::max(Saturated(static_cast<int64_t>(barLength) - 2 * barSize), 0);
    int thumb = info.Page > 0 ? std::max(MulDiv(info.Page, track, range), minThumb) : systemThumb;
    thumb = std::min(thumb, track);
    int offset = 0;
    if (info.Page == range) {
        --thumb;
    } else {
        offset = MulDiv(Span(info.Min, info.Pos), track - thumb, Span(info.Page, range));
        offset = std::min(offset, track - thumb);
    }
    // A position below the minimum would put the thumb before the track.
    m.Offset = std::max(offset, 0);
    m.Thumb = std::max(thumb, 0);
    m.Track = track;
    m.Arrow = ArrowLength(barLength, barSize);
    return true;
}

TScrollZone ScrollZoneAt(int p, const TThumbMetrics& m) {
    const int64_t a = m.Arrow;
    if (p < 0) return TScrollZone::None;
    if (p < a) return TScrollZone::LineUp;
    if (p < a + m.Offset) return TScrollZone::PageUp;
    if (p < a + m.Offset + m.Thumb) return TScrollZone::Thumb;
    if (p < a + m.Track) return TScrollZone::PageDown;
    if (p < 2 * a + m.Track) return TScrollZone::LineDown;
    return TScrollZone::None;
}

TThumbDrag DragThumb(const TScrollInfo& info, const TThumbMetrics& m, int startOffset,
                     int movement) {
    const int range = Span(info.Min, info.Max);
    int offset = std::max(Saturated(static_cast<int64_t>(startOffset) + movement), 0);
    int64_t position;
    if (info.Page > 0) {
        offset = std::min(offset, m.Track);
        position = static_cast<int64_t>(info.Min) + MulDiv(offset, range, m.Track);
        position = std::min<int64_t>(position, static_cast<int64_t>(info.Max) - info.Page + 1);
    } else {
        const int free = std::max(m.Track - m.Thumb, 0);
        offset = std::min(offset, free);
        position = static_cast<int64_t>(info.Min) + MulDiv(offset, range, free);
        position = std::min<int64_t>(position, info.Max);
    }
    // A track of no length divides by 0, which reads as -1.
    position = std::max<int64_t>(position, info.Min);
    return {offset, Saturated(position)};
}

} // namespace qh
