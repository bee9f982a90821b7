// Points, sizes, rectangles and margins of the painting routines, in pixels;
// a rectangle holds its left and top edges but not its right and bottom ones.
#pragma once

namespace qh {

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    // Zero or negative in either direction: nothing to paint.
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TSize&) const = default;
};

// Coordinates this far from 0 are refused by the painting routines, so that
// no width, height or sum of them can overflow.
inline constexpr int kMaxCoordinate = 1 << 29;
inline bool Bounded(const TRect& r) {
    auto ok = [](int v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
    return ok(r.Left) && ok(r.Top) && ok(r.Right) && ok(r.Bottom);
}

inline TRect RectOfSize(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

inline TRect Intersect(const TRect& a, const TRect& b) {
    TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
            a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (r.Empty()) return {};
    return r;
}

// The fixed, unscaled edges of a state image.
struct TMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

} // namespace qh
