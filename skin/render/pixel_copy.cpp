#include "skin/render/pixel_copy.h"

#include <algorithm>
#include <cstring>

namespace qh {

namespace {

TRect Bounds(const TBitmap& b) {
    return {0, 0, b.Width(), b.Height()};
}

// Pixel n of the target row takes the source pixel at byte offset
// offsets[n] of the source row.
void CopyByTable(uint8_t* to, int toBytes, const uint8_t* from, int fromBytes,
                 const std::vector<int>& offsets) {
    const size_t n = offsets.size();
    if (toBytes == 4 && fromBytes == 4) {
        for (size_t i = 0; i < n; ++i)
            std::memcpy(to + 4 * i, from + offsets[i], 4);
    } else if (toBytes == 4) {
        for (size_t i = 0; i < n; ++i) {
            std::memcpy(to + 4 * i, from + offsets[i], 3);
            to[4 * i + 3] = 0;
        }
    } else {
        for (size_t i = 0; i < n; ++i)
            std::memcpy(to + 3 * i, from + offsets[i], 3);
    }
}

// A run of pixels in their order.
void CopyRun(uint8_t* to, int toBytes, const uint8_t* from, int fromBytes, int count) {
    if (toBytes == fromBytes) {
        std::memcpy(to, from, static_cast<size_t>(count) * toBytes);
        return;
    }
    for (int i = 0; i < count; ++i) {
        std::memcpy(to + i * toBytes, from + i * fromBytes, 3);
        if (toBytes == 4) to[i * 4 + 3] = 0;
    }
}

// Nearest source index for target index i of n, over m source pixels.
int Nearest(int64_t i, int64_t n, int64_t m) {
    return static_cast<int>((2 * i + 1) * m / (2 * n));
}

} // namespace

void StretchPixels(TBitmap& dest, const TRect& to, const TBitmap& source, const TRect& from) {
    StretchPixels(dest, to, source, from, Bounds(dest));
}

void StretchPixels(TBitmap& dest, const TRect& to, const TBitmap& source, const TRect& from,
                   const TRect& clip) {
    if (!Bounded(to) || !Bounded(from) || !Bounded(clip) || to.Empty()) return;
    const TRect src = Intersect(from, Bounds(source));
    const TRect visible = Intersect(Intersect(to, clip), Bounds(dest));
    if (src.Empty() || visible.Empty()) return;
    const int toBytes = dest.BytesPerPixel(), fromBytes = source.BytesPerPixel();
    const int count = visible.Width();
    const bool sameWidth = src.Width() == to.Width();
    std::vector<int> offsets;
    if (!sameWidth || toBytes != fromBytes) {
        offsets.resize(count);
        for (int i = 0; i < count; ++i)
            offsets[i] = (src.Left + Nearest(visible.Left - to.Left + i, to.Width(), src.Width())) *
                         fromBytes;
    }
    const size_t rowBytes = static_cast<size_t>(count) * toBytes;
    const uint8_t* previous = nullptr;
    int previousSource = -1;
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const int sy = src.Top + Nearest(y - to.Top, to.Height(), src.Height());
        uint8_t* row = dest.ScanLine(y) + static_cast<size_t>(visible.Left) * toBytes;
        const uint8_t* from = source.ScanLine(sy);
        if (sy == previousSource)
            std::memcpy(row, previous, rowBytes);
        else if (offsets.empty())
            std::memcpy(row,
                        from + static_cast<size_t>(src.Left + visible.Left - to.Left) * fromBytes,
                        rowBytes);
        else
            CopyByTable(row, toBytes, from, fromBytes, offsets);
        previous = row;
        previousSource = sy;
    }
}

void TilePixels(TBitmap& dest, const TRect& to, const TBitmap& source, const TRect& from) {
    if (!Bounded(to) || !Bounded(from) || to.Empty()) return;
    const TRect src = Intersect(from, Bounds(source));
    const TRect visible = Intersect(to, Bounds(dest));
    if (src.Empty() || visible.Empty()) return;
    const int toBytes = dest.BytesPerPixel(), fromBytes = source.BytesPerPixel();
    const int sw = src.Width(), sh = src.Height();
    const int count = visible.Width();
    const size_t rowBytes = static_cast<size_t>(count) * toBytes;
    const int phase = (visible.Left - to.Left) % sw;
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        uint8_t* row = dest.ScanLine(y) + static_cast<size_t>(visible.Left) * toBytes;
        if (y - sh >= visible.Top) { // the same as one copy higher up
            std::memcpy(row, dest.ScanLine(y - sh) + static_cast<size_t>(visible.Left) * toBytes,
                        rowBytes);
            continue;
        }
        const uint8_t* line = source.ScanLine(src.Top + (y - to.Top) % sh) +
                              static_cast<size_t>(src.Left) * fromBytes;
        int done = 0, at = phase;
        while (done < count) {
            const int n = std::min(sw - at, count - done);
            CopyRun(row + static_cast<size_t>(done) * toBytes, toBytes,
                    line + static_cast<size_t>(at) * fromBytes, fromBytes, n);
            done += n;
            at = 0;
        }
    }
}

void CopyKeyed(TBitmap& dest, int x, int y, const TBitmap& source, TColor key) {
    if (x < -kMaxCoordinate || x > kMaxCoordinate || y < -kMaxCoordinate || y > kMaxCoordinate)
        return;
    const TRect visible =
        Intersect(RectOfSize(x, y, source.Width(), source.Height()), Bounds(dest));
    if (visible.Empty()) return;
    const uint8_t kb = static_cast<uint8_t>(ColourB(key)), kg = static_cast<uint8_t>(ColourG(key)),
                  kr = static_cast<uint8_t>(ColourR(key));
    const int toBytes = dest.BytesPerPixel(), fromBytes = source.BytesPerPixel();
    for (int ty = visible.Top; ty < visible.Bottom; ++ty) {
        const uint8_t* from =
            source.ScanLine(ty - y) + static_cast<size_t>(visible.Left - x) * fromBytes;
        uint8_t* to = dest.ScanLine(ty) + static_cast<size_t>(visible.Left) * toBytes;
        for (int i = 0; i < visible.Width(); ++i, from += fromBytes, to += toBytes) {
            if (from[0] == kb && from[1] == kg && from[2] == kr) continue;
            std::memcpy(to, from, 3);
            if (toBytes == 4) to[3] = fromBytes == 4 ? from[3] : 0;
        }
    }
}

std::vector<uint8_t> KeyMask(const TBitmap& source, TColor key) {
    const int stride = KeyMaskStride(source.Width());
    std::vector<uint8_t> mask(static_cast<size_t>(stride) * source.Height(), 0);
    const uint8_t kb = static_cast<uint8_t>(ColourB(key)), kg = static_cast<uint8_t>(ColourG(key)),
                  kr = static_cast<uint8_t>(ColourR(key));
    const int bytes = source.BytesPerPixel();
    for (int y = 0; y < source.Height(); ++y) {
        const uint8_t* p = source.ScanLine(y);
        uint8_t* bits = mask.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < source.Width(); ++x, p += bytes)
            if (p[0] == kb && p[1] == kg && p[2] == kr) bits[x >> 3] |= 0x80 >> (x & 7);
    }
    return mask;
}

} // namespace qh
