#include "skin/render/picture_scaling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/mul_div.h"
#include "skin/render/pixel_copy.h"

namespace qh {

namespace {

// One source pixel's share in a scaled pixel, along one axis.
struct TTap {
    int Index;
    double Weight;
};

// For each of the scaled pixels along an axis: its taps, Taps[First[i]]
// up to Taps[First[i + 1]], and the source pixel under its centre.
struct TAxis {
    std::vector<int> First;
    std::vector<TTap> Taps;
    std::vector<int> Nearest;
};

int NearestIndex(int64_t i, int64_t scaled, int64_t source) {
    return static_cast<int>((2 * i + 1) * source / (2 * scaled));
}

// Scaled pixel i covers source positions i * m / n up to (i + 1) * m / n;
// counted in n-ths of a source pixel the overlaps are whole numbers.
TAxis AreaAxis(int m, int n) {
    TAxis axis;
    for (int i = 0; i < n; ++i) {
        axis.First.push_back(static_cast<int>(axis.Taps.size()));
        const int64_t start = static_cast<int64_t>(i) * m, end = start + m;
        for (int64_t s = start / n; s * n < end; ++s) {
            const int64_t overlap = std::min(end, (s + 1) * n) - std::max(start, s * n);
            if (overlap > 0) axis.Taps.push_back({static_cast<int>(s), static_cast<double>(overlap)});
        }
        axis.Nearest.push_back(NearestIndex(i, n, m));
    }
    axis.First.push_back(static_cast<int>(axis.Taps.size()));
    return axis;
}

TAxis BilinearAxis(int m, int n) {
    TAxis axis;
    for (int i = 0; i < n; ++i) {
        axis.First.push_back(static_cast<int>(axis.Taps.size()));
        const double centre = (i + 0.5) * m / n - 0.5;
        const double low = std::floor(centre);
        const double fraction = centre - low;
        const int a = std::clamp(static_cast<int>(low), 0, m - 1);
        const int b = std::clamp(static_cast<int>(low) + 1, 0, m - 1);
        if (a == b) {
            axis.Taps.push_back({a, 1.0});
        } else {
            axis.Taps.push_back({a, 1.0 - fraction});
            axis.Taps.push_back({b, fraction});
        }
        axis.Nearest.push_back(NearestIndex(i, n, m));
    }
    axis.First.push_back(static_cast<int>(axis.Taps.size()));
    return axis;
}

bool IsKey(const uint8_t* bgr, TColor key) {
    return bgr[2] == ColourR(key) && bgr[1] == ColourG(key) && bgr[0] == ColourB(key);
}

// `from` of source onto `to` of dest, both inside their bitmaps, reading
// nothing outside `from`. Key pixels go by the nearest source pixel; the
// others average only the samples that are not the key.
void FilterBlock(TBitmap& dest, const TRect& to, const TBitmap& source, const TRect& from,
                 const TAxis& ax, const TAxis& ay, TColor key) {
    const int toBytes = dest.BytesPerPixel(), fromBytes = source.BytesPerPixel();
    for (int y = 0; y < to.Height(); ++y) {
        uint8_t* out = dest.ScanLine(to.Top + y) + static_cast<size_t>(to.Left) * toBytes;
        const uint8_t* nearRow = source.ScanLine(from.Top + ay.Nearest[y]);
        for (int x = 0; x < to.Width(); ++x, out += toBytes) {
            const uint8_t* nearest =
                nearRow + static_cast<size_t>(from.Left + ax.Nearest[x]) * fromBytes;
            if (toBytes == 4) out[3] = 0;
            if (IsKey(nearest, key)) {
                std::memcpy(out, nearest, 3);
                continue;
            }
            double sum[3] = {0, 0, 0}, weights = 0;
            for (int j = ay.First[y]; j < ay.First[y + 1]; ++j) {
                const uint8_t* row = source.ScanLine(from.Top + ay.Taps[j].Index);
                for (int i = ax.First[x]; i < ax.First[x + 1]; ++i) {
                    const uint8_t* p =
                        row + static_cast<size_t>(from.Left + ax.Taps[i].Index) * fromBytes;
                    if (IsKey(p, key)) continue;
                    const double w = ay.Taps[j].Weight * ax.Taps[i].Weight;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += w * p[c];
                    weights += w;
                }
            }
            if (weights <= 0) {
                std::memcpy(out, nearest, 3);
                continue;
            }
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(std::lround(sum[c] / weights));
            // An average of colours next to the key may land on it.
            if (IsKey(out, key)) std::memcpy(out, nearest, 3);
        }
    }
}

void ScaleBlock(TBitmap& dest, const TRect& to, const TBitmap& source, const TRect& from,
                TPictureFilter filter, TColor key) {
    if (to.Empty() || from.Empty()) return;
    if (filter == TPictureFilter::Nearest) {
        StretchPixels(dest, to, source, from);
        return;
    }
    const bool area = filter == TPictureFilter::AreaAverage;
    const TAxis ax = area ? AreaAxis(from.Width(), to.Width())
                          : BilinearAxis(from.Width(), to.Width());
    const TAxis ay = area ? AreaAxis(from.Height(), to.Height())
                          : BilinearAxis(from.Height(), to.Height());
    FilterBlock(dest, to, source, from, ax, ay, key);
}

TBitmap NewPicture(int64_t width, int64_t height) {
    if (width < 0 || height < 0 || width > TBitmap::kMaxSide || height > TBitmap::kMaxSide ||
        width * height > TBitmap::kMaxPixels)
        throw EInvalidGraphic("Scaled picture is too large");
    return TBitmap(static_cast<int>(width), static_cast<int>(height), TPixelFormat::pf32bit);
}

// Where the cells of one axis of a state image of `size` pixels begin and
// end, before and after scaling. Margins that do not fit are cut to the
// image; an empty middle stays empty.
struct TCuts {
    std::array<int, 4> From;
    std::array<int, 4> To;
};

TCuts CutsOf(int size, int scaled, int lead, int trail, int dpi) {
    const int a = std::clamp(lead, 0, size);
    const int b = std::clamp(size - trail, a, size);
    const int da = ScaleForDpi(a, dpi);
    const int db = a == b ? da : std::clamp(scaled - ScaleForDpi(size - b, dpi), da, scaled);
    return {{0, a, b, size}, {0, da, db, scaled}};
}

} // namespace

TPictureFilter FilterForDpi(int dpi) {
    return dpi <= 0 || dpi % kDefaultDpi == 0 ? TPictureFilter::Nearest
                                              : TPictureFilter::AreaAverage;
}

TBitmap ScalePicture(const TBitmap& source, int width, int height, TPictureFilter filter,
                     TColor key) {
    TBitmap result = NewPicture(width, height);
    ScaleBlock(result, {0, 0, width, height}, source, {0, 0, source.Width(), source.Height()},
               filter, key);
    return result;
}

TScaledPicture ScaleSkinPicture(const TBitmap& strip, bool vertical, int frames,
                                const TMargins& margins, int dpi, TPictureFilter filter,
                                TColor key) {
    if (dpi <= 0 || dpi == kDefaultDpi) return {strip, margins};
    TScaledPicture result;
    result.Margins = {ScaleForDpi(margins.Left, dpi), ScaleForDpi(margins.Top, dpi),
                      ScaleForDpi(margins.Right, dpi), ScaleForDpi(margins.Bottom, dpi)};
    frames = std::max(frames, 1);
    const int along = vertical ? strip.Height() : strip.Width();
    const int size = along / frames;
    if (strip.Empty() || size == 0) return result;
    const int width = vertical ? strip.Width() : size;
    const int height = vertical ? size : strip.Height();
    const int scaledWidth = ScaleForDpi(width, dpi), scaledHeight = ScaleForDpi(height, dpi);
    result.Picture = vertical ? NewPicture(scaledWidth, static_cast<int64_t>(scaledHeight) * frames)
                              : NewPicture(static_cast<int64_t>(scaledWidth) * frames, scaledHeight);
    if (result.Picture.Empty()) return result;
    const TCuts xs = CutsOf(width, scaledWidth, margins.Left, margins.Right, dpi);
    const TCuts ys = CutsOf(height, scaledHeight, margins.Top, margins.Bottom, dpi);
    for (int f = 0; f < frames; ++f) {
        const int fromX = vertical ? 0 : f * width, fromY = vertical ? f * height : 0;
        const int toX = vertical ? 0 : f * scaledWidth, toY = vertical ? f * scaledHeight : 0;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                ScaleBlock(result.Picture,
                           {toX + xs.To[col], toY + ys.To[row], toX + xs.To[col + 1],
                            toY + ys.To[row + 1]},
                           strip,
                           {fromX + xs.From[col], fromY + ys.From[row], fromX + xs.From[col + 1],
                            fromY + ys.From[row + 1]},
                           filter, key);
    }
    return result;
}

} // namespace qh
