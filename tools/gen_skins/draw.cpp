#include "tools/gen_skins/draw.h"

#include <algorithm>
#include <cmath>

namespace gen {

using qh::ColourB;
using qh::ColourG;
using qh::ColourR;
using qh::kColourKey;
using qh::MakeColour;

TColor Mix(TColor a, TColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    TColor c =
        MakeColour(m(ColourR(a), ColourR(b)), m(ColourG(a), ColourG(b)), m(ColourB(a), ColourB(b)));
    // Never produce the key by accident.
    return c == kColourKey ? MakeColour(254, 0, 254) : c;
}

TColor Lighter(TColor c, double t) {
    return Mix(c, MakeColour(255, 255, 255), t);
}
TColor Darker(TColor c, double t) {
    return Mix(c, MakeColour(0, 0, 0), t);
}

void Fill(TBitmap& b, TRect r, TColor c) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            b.SetPixel(x, y, c);
}

void Gradient(TBitmap& b, TRect r, TColor top, TColor bottom, bool sideways) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            const double t = sideways ? (r.w > 1 ? double(x - r.x) / (r.w - 1) : 0)
                                      : (r.h > 1 ? double(y - r.y) / (r.h - 1) : 0);
            b.SetPixel(x, y, Mix(top, bottom, t));
        }
}

void Blend(TBitmap& b, int x, int y, TColor c, double a, TColor backdrop) {
    if (a <= 0 || x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return;
    TColor under = b.GetPixel(x, y);
    if (under == kColourKey) {
        if (a < 0.25) return; // faint edges stay see-through
        under = backdrop;
    }
    b.SetPixel(x, y, Mix(under, c, a));
}

namespace {

// Coverage of a pixel by a shape given by its signed distance (negative
// inside), sampled 4 x 4.
template <typename Distance>
void Cover(TBitmap& b, int x0, int y0, int x1, int y1, Distance inside,
           const std::function<TColor(int, int)>& paint, TColor backdrop) {
    for (int y = std::max(0, y0); y < std::min(b.Height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(b.Width(), x1); ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
            if (hits) Blend(b, x, y, paint(x, y), hits / 16.0, backdrop);
        }
}

double RoundRectDistance(TRect r, double radius, double px, double py) {
    const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0;
    const double hx = r.w / 2.0 - radius, hy = r.h / 2.0 - radius;
    const double qx = std::max(std::abs(px - cx) - hx, 0.0);
    const double qy = std::max(std::abs(py - cy) - hy, 0.0);
    const double outside = std::hypot(qx, qy);
    const double inner = std::min(std::max(std::abs(px - cx) - hx, std::abs(py - cy) - hy), 0.0);
    return outside + inner - radius;
}

} // namespace

void RoundRect(TBitmap& b, TRect r, double radius, const std::function<TColor(int, int)>& paint,
               TColor backdrop) {
    Cover(
        b, r.x, r.y, r.x + r.w, r.y + r.h,
        [&](double px, double py) { return RoundRectDistance(r, radius, px, py) <= 0; }, paint,
        backdrop);
}

void RoundFrame(TBitmap& b, TRect r, double radius, TColor c, TColor backdrop) {
    Cover(
        b, r.x, r.y, r.x + r.w, r.y + r.h,
        [&](double px, double py) {
            const double d = RoundRectDistance(r, radius, px, py);
            return d <= 0 && d > -1;
        },
        [c](int, int) { return c; }, backdrop);
}

void Disc(TBitmap& b, double cx, double cy, double radius,
          const std::function<TColor(int, int)>& paint, TColor backdrop) {
    Cover(
        b, int(cx - radius) - 1, int(cy - radius) - 1, int(cx + radius) + 2, int(cy + radius) + 2,
        [&](double px, double py) { return std::hypot(px - cx, py - cy) <= radius; }, paint,
        backdrop);
}

void Ring(TBitmap& b, double cx, double cy, double radius, double width, TColor c,
          TColor backdrop) {
    Cover(
        b, int(cx - radius) - 1, int(cy - radius) - 1, int(cx + radius) + 2, int(cy + radius) + 2,
        [&](double px, double py) {
            const double d = std::hypot(px - cx, py - cy);
            return d <= radius && d > radius - width;
        },
        [c](int, int) { return c; }, backdrop);
}

void Line(TBitmap& b, double x0, double y0, double x1, double y1, double width, TColor c,
          TColor backdrop) {
    const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    Cover(
        b, int(std::min(x0, x1) - width) - 1, int(std::min(y0, y1) - width) - 1,
        int(std::max(x0, x1) + width) + 2, int(std::max(y0, y1) + width) + 2,
        [&](double px, double py) {
            double t = len2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width / 2;
        },
        [c](int, int) { return c; }, backdrop);
}

void Bevel(TBitmap& b, TRect r, TColor light, TColor dark) {
    Fill(b, {r.x, r.y, r.w, 1}, light);
    Fill(b, {r.x, r.y, 1, r.h}, light);
    Fill(b, {r.x, r.y + r.h - 1, r.w, 1}, dark);
    Fill(b, {r.x + r.w - 1, r.y, 1, r.h}, dark);
}

void Frame(TBitmap& b, TRect r, TColor c) {
    Bevel(b, r, c, c);
}

} // namespace gen
