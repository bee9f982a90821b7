#include "skin/render/region_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qh {

namespace {

// A channel is in the key's range when (value - key) modulo 256 is at most
// the range's span: values below the key wrap round to above 255 - key.
struct TKeyRange {
    uint8_t Blue, Green, Red;
    uint8_t BlueSpan, GreenSpan, RedSpan;
    // When every span is 2^n - 1 and the key's channels have none of the
    // span's bits (as magenta with tolerance 0 or 1), a channel is in range
    // exactly when it differs from the key only in those bits.
    uint32_t Packed = 0;
    uint32_t OutOfRange = 0;
    bool Aligned = false;

    void Prepare() {
        Packed = Blue | Green << 8 | Red << 16;
        const uint32_t spans = BlueSpan | GreenSpan << 8 | RedSpan << 16;
        auto low = [](uint8_t span) { return (span & (span + 1)) == 0; };
        Aligned = low(BlueSpan) && low(GreenSpan) && low(RedSpan) && (Packed & spans) == 0;
        OutOfRange = ~spans & 0x00FFFFFFu;
    }

    bool Transparent(const uint8_t* p) const {
        return static_cast<uint8_t>(p[0] - Blue) <= BlueSpan &&
               static_cast<uint8_t>(p[1] - Green) <= GreenSpan &&
               static_cast<uint8_t>(p[2] - Red) <= RedSpan;
    }
    // Branch-free, so that the fixed-length block loop below vectorises.
    unsigned Flag(const uint8_t* p) const {
        return (static_cast<uint8_t>(p[0] - Blue) <= BlueSpan) &
               (static_cast<uint8_t>(p[1] - Green) <= GreenSpan) &
               (static_cast<uint8_t>(p[2] - Red) <= RedSpan);
    }
};

uint8_t Span(int key, int tolerance) {
    return static_cast<uint8_t>(std::min(255 - key, std::max(tolerance, 0)));
}

constexpr int kBlock = 32;

// Whether a block of 32-bit pixels holds a transparent one: whole words in
// fixed number, no branch, so that compilers turn it into vector code.
bool AnyTransparent(const uint8_t* p, const TKeyRange& key) {
    auto word = [p](int i) {
        uint32_t v;
        std::memcpy(&v, p + 4 * i, 4);
        return v;
    };
    unsigned any = 0;
    if (key.Aligned) {
        for (int i = 0; i < kBlock; ++i)
            any |= ((word(i) ^ key.Packed) & key.OutOfRange) == 0;
        return any != 0;
    }
    for (int i = 0; i < kBlock; ++i) {
        const uint32_t v = word(i);
        any |= (((v - key.Blue) & 255u) <= key.BlueSpan) &
               ((((v >> 8) - key.Green) & 255u) <= key.GreenSpan) &
               ((((v >> 16) - key.Red) & 255u) <= key.RedSpan);
    }
    return any != 0;
}

bool AnyTransparent24(const uint8_t* p, const TKeyRange& key) {
    unsigned any = 0;
    for (int i = 0; i < kBlock; ++i)
        any |= key.Flag(p + i * 3);
    return any != 0;
}

// The first transparent pixel at or after x, or width.
template <int Bytes>
int NextTransparent(const uint8_t* row, int x, int width, const TKeyRange& key) {
    while (x + kBlock <= width) {
        const uint8_t* p = row + x * Bytes;
        if (Bytes == 4 ? AnyTransparent(p, key) : AnyTransparent24(p, key)) break;
        x += kBlock;
    }
    while (x < width && !key.Transparent(row + x * Bytes))
        ++x;
    return x;
}

template <int Bytes>
void ScanRows(const TBitmap& bitmap, int dx, int dy, const TKeyRange& key,
              std::vector<TRect>& out) {
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        int x = 0;
        while (x < width) {
            while (x < width && key.Transparent(row + x * Bytes))
                ++x;
            if (x == width) break;
            const int start = x;
            x = NextTransparent<Bytes>(row, x, width, key);
            out.push_back({start + dx, y + dy, x + dx, y + dy + 1});
        }
    }
}

} // namespace

std::vector<TRect> ScanRegion(const TBitmap& bitmap, int x, int y, int blueTolerance,
                              int greenTolerance, int redTolerance, TColor key) {
    x = std::clamp(x, -kMaxCoordinate, kMaxCoordinate);
    y = std::clamp(y, -kMaxCoordinate, kMaxCoordinate);
    TKeyRange range{static_cast<uint8_t>(ColourB(key)), static_cast<uint8_t>(ColourG(key)),
                    static_cast<uint8_t>(ColourR(key)), Span(ColourB(key), blueTolerance),
                    Span(ColourG(key), greenTolerance), Span(ColourR(key), redTolerance)};
    range.Prepare();
    std::vector<TRect> runs;
    // The 24-bit layout is read as it is: converting it to 32 bits first
    // would find the same runs.
    if (bitmap.PixelFormat() == TPixelFormat::pf32bit)
        ScanRows<4>(bitmap, x, y, range, runs);
    else
        ScanRows<3>(bitmap, x, y, range, runs);
    return runs;
}

} // namespace qh
