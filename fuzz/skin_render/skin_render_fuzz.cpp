// Skin images of any size composed with any margins, frame counts, states
// and targets, and scanned into regions: bounded work, no read or write
// outside a bitmap, and regions that cover exactly the visible pixels.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/exception.h"
#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/region_scan.h"

namespace {

class TInput {
public:
    TInput(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
    uint8_t Byte() { return FAt < FSize ? FData[FAt++] : 0; }
    // Mostly small values around the edges, now and then an extreme one.
    int Value(int low, int high) {
        const uint8_t pick = Byte();
        if (pick == 255) return INT_MAX;
        if (pick == 254) return INT_MIN;
        return low + (Byte() | (pick << 8)) % (high - low + 1);
    }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FAt = 0;
};

qh::TBitmap Picture(TInput& in, int maxSide) {
    const bool wide = in.Byte() & 1;
    qh::TBitmap b(in.Byte() % (maxSide + 1), in.Byte() % (maxSide + 1),
                  wide ? qh::TPixelFormat::pf32bit : qh::TPixelFormat::pf24bit);
    // Few colours, magenta among them, so that keys and runs show up.
    const qh::TColor colours[] = {qh::kColourKey, qh::MakeColour(255, 1, 255),
                                  qh::MakeColour(10, 20, 30), qh::MakeColour(254, 0, 255)};
    const uint8_t seed = in.Byte();
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, colours[(x * 7 + y * 3 + seed) % 4 ^ (seed >> 6)]);
    return b;
}

int Add(int a, int b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : static_cast<int>(sum);
}

qh::TRect Target(TInput& in) {
    const int left = in.Value(-40, 40), top = in.Value(-40, 40);
    return {left, top, Add(left, in.Value(-10, 90)), Add(top, in.Value(-10, 90))};
}

void Check(bool ok) {
    if (!ok) std::abort();
}

// The runs must be one pixel high, in order, and cover just the pixels
// that are not transparent.
void CheckRegion(const qh::TBitmap& b, int dx, int dy, int tolerance) {
    dx = dx < -qh::kMaxCoordinate  ? -qh::kMaxCoordinate
         : dx > qh::kMaxCoordinate ? qh::kMaxCoordinate
                                   : dx;
    dy = dy < -qh::kMaxCoordinate  ? -qh::kMaxCoordinate
         : dy > qh::kMaxCoordinate ? qh::kMaxCoordinate
                                   : dy;
    const auto runs = qh::ScanRegion(b, dx, dy, tolerance, tolerance, tolerance, qh::kColourKey);
    int64_t covered = 0, visible = 0;
    const int span = tolerance < 0 ? 0 : tolerance > 255 ? 255 : tolerance;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const qh::TColor c = b.GetPixel(x, y);
            const bool keyed =
                qh::ColourR(c) == 255 && qh::ColourB(c) == 255 && qh::ColourG(c) <= span;
            visible += !keyed;
        }
    for (size_t i = 0; i < runs.size(); ++i) {
        const qh::TRect& r = runs[i];
        Check(r.Height() == 1 && r.Width() > 0);
        Check(r.Left >= dx && r.Right <= dx + b.Width() && r.Top >= dy && r.Top < dy + b.Height());
        if (i > 0) Check(r.Top > runs[i - 1].Top || r.Left > runs[i - 1].Right);
        covered += r.Width();
    }
    Check(covered == visible);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TInput in(data, size);
    try {
        const qh::TBitmap strip = Picture(in, 40);
        qh::TBitmap dest = Picture(in, 64);
        const qh::TMargins margins{in.Value(-3, 30), in.Value(-3, 30), in.Value(-3, 30),
                                   in.Value(-3, 30)};
        const bool vertical = in.Byte() & 1, tile = in.Byte() & 1;
        const int frames = in.Value(-2, 50), state = in.Value(-2, 8);
        const qh::TRect target = Target(in);

        const qh::TBitmap composed =
            qh::ComposeImage(target, strip, margins, vertical, tile, frames, state);
        if (!composed.Empty()) {
            Check(composed.Width() == target.Width() && composed.Height() == target.Height());
            CheckRegion(composed, target.Left, target.Top, 1);
        }
        qh::ComposeInto(dest, target, strip, margins, vertical, tile, frames, state);
        qh::ComposeBorderCells(dest, target, strip, vertical, frames, state, margins);
        qh::ComposeHorizontal(dest, target, strip, vertical, frames, state, margins);
        qh::StretchStateImage(dest, target, strip, frames, state);
        qh::TilePixels(dest, target, strip, Target(in));
        qh::StretchPixels(dest, target, strip, Target(in), Target(in));
        qh::CopyKeyed(dest, in.Value(-70, 70), in.Value(-70, 70), strip, qh::kColourKey);
        Check(qh::KeyMask(dest, qh::kColourKey).size() ==
              static_cast<size_t>(qh::KeyMaskStride(dest.Width())) * dest.Height());
        CheckRegion(dest, in.Value(-100, 100), in.Value(-100, 100), in.Value(-2, 300));
    } catch (const qh::Exception&) {
        // A target larger than a bitmap may be.
    }
    return 0;
}
