#include "images/bitmap.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace qh {

TBitmap::TBitmap(int width, int height, TPixelFormat format) : FFormat(format) {
    SetSize(width, height);
}

TBitmap::TBitmap(const TExternalPixels& pixels) : FFormat(TPixelFormat::pf32bit) {
    if (pixels.Width < 0 || pixels.Height < 0 || pixels.Width > kMaxSide ||
        pixels.Height > kMaxSide || pixels.Stride < pixels.Width * 4 || pixels.Stride % 4 != 0 ||
        (pixels.Bits == nullptr && pixels.Width > 0 && pixels.Height > 0))
        throw EInvalidGraphic(kInvalidBitmapMessage);
    if (pixels.Width == 0 || pixels.Height == 0) {
        SetSize(0, 0); // nothing to share
        return;
    }
    FWidth = pixels.Width;
    FHeight = pixels.Height;
    FStride = pixels.Stride;
    FExternal = pixels.Bits;
}

TBitmap::TBitmap(const TBitmap& other) : FFormat(other.FFormat) {
    SetSize(other.FWidth, other.FHeight);
    CopyPixelsFrom(other);
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : FWidth(other.FWidth), FHeight(other.FHeight), FFormat(other.FFormat), FStride(other.FStride) {
    if (other.FExternal) {
        SetSize(other.FWidth, other.FHeight);
        CopyPixelsFrom(other);
        return;
    }
    FPixels = std::move(other.FPixels);
    other.FWidth = other.FHeight = other.FStride = 0;
    other.FPixels.clear();
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this == &other) return *this;
    if (FExternal) {
        if (other.FWidth != FWidth || other.FHeight != FHeight)
            throw EInvalidGraphic(kInvalidBitmapMessage);
        CopyPixelsFrom(other);
        return *this;
    }
    TBitmap copy(other);
    *this = std::move(copy);
    return *this;
}

TBitmap& TBitmap::operator=(TBitmap&& other) {
    if (this == &other) return *this;
    if (FExternal || other.FExternal) return *this = static_cast<const TBitmap&>(other);
    FWidth = std::exchange(other.FWidth, 0);
    FHeight = std::exchange(other.FHeight, 0);
    FStride = std::exchange(other.FStride, 0);
    FFormat = other.FFormat;
    FPixels = std::move(other.FPixels);
    other.FPixels.clear();
    return *this;
}

void TBitmap::CopyPixelsFrom(const TBitmap& other) {
    CopyRect(0, 0, other, 0, 0, other.FWidth, other.FHeight);
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        throw EInvalidGraphic(kInvalidBitmapMessage);
    if (width == 0 || height == 0) width = height = 0;
    if (FExternal) {
        if (width != FWidth || height != FHeight) throw EInvalidGraphic(kInvalidBitmapMessage);
        for (int y = 0; y < FHeight; ++y)
            std::memset(ScanLine(y), 0, static_cast<size_t>(FWidth) * 4);
        return;
    }
    FWidth = width;
    FHeight = height;
    FStride = (width * BytesPerPixel() + 3) & ~3;
    FPixels.assign(static_cast<size_t>(FStride) * FHeight, 0);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == FFormat) return;
    if (FExternal) throw EInvalidGraphic(kInvalidBitmapMessage);
    TBitmap converted(FWidth, FHeight, format);
    converted.CopyPixelsFrom(*this);
    *this = std::move(converted);
}

TColor TBitmap::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
    const uint8_t* p = ScanLine(y) + x * BytesPerPixel();
    return MakeColour(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, TColor colour) {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
    uint8_t* p = ScanLine(y) + x * BytesPerPixel();
    p[0] = static_cast<uint8_t>(ColourB(colour));
    p[1] = static_cast<uint8_t>(ColourG(colour));
    p[2] = static_cast<uint8_t>(ColourR(colour));
}

void TBitmap::Fill(TColor colour) {
    if (Empty()) return;
    const uint8_t bgr[3] = {static_cast<uint8_t>(ColourB(colour)),
                            static_cast<uint8_t>(ColourG(colour)),
                            static_cast<uint8_t>(ColourR(colour))};
    const size_t rowBytes = static_cast<size_t>(FWidth) * BytesPerPixel();
    if (FFormat == TPixelFormat::pf24bit) {
        uint8_t* first = ScanLine(0);
        for (int x = 0; x < FWidth; ++x)
            std::memcpy(first + 3 * x, bgr, 3);
        for (int y = 1; y < FHeight; ++y)
            std::memcpy(ScanLine(y), first, rowBytes);
        return;
    }
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* row = ScanLine(y);
        for (int x = 0; x < FWidth; ++x)
            std::memcpy(row + 4 * x, bgr, 3);
    }
}

void TBitmap::CopyRect(int dx, int dy, const TBitmap& source, int sx, int sy, int w, int h) {
    // Clip the block to both bitmaps, moving both corners together.
    const int64_t left =
        std::max<int64_t>({0, -static_cast<int64_t>(dx), -static_cast<int64_t>(sx)});
    const int64_t top =
        std::max<int64_t>({0, -static_cast<int64_t>(dy), -static_cast<int64_t>(sy)});
    const int64_t right =
        std::min<int64_t>({static_cast<int64_t>(w), static_cast<int64_t>(FWidth) - dx,
                           static_cast<int64_t>(source.FWidth) - sx});
    const int64_t bottom =
        std::min<int64_t>({static_cast<int64_t>(h), static_cast<int64_t>(FHeight) - dy,
                           static_cast<int64_t>(source.FHeight) - sy});
    if (right <= left || bottom <= top) return;
    const int cw = static_cast<int>(right - left);
    const int toBytes = BytesPerPixel(), fromBytes = source.BytesPerPixel();
    for (int64_t y = top; y < bottom; ++y) {
        const uint8_t* from = source.ScanLine(static_cast<int>(sy + y)) + (sx + left) * fromBytes;
        uint8_t* to = ScanLine(static_cast<int>(dy + y)) + (dx + left) * toBytes;
        if (toBytes == fromBytes) {
            std::memmove(to, from, static_cast<size_t>(cw) * toBytes);
        } else {
            for (int x = 0; x < cw; ++x) {
                std::memcpy(to + x * toBytes, from + x * fromBytes, 3);
                if (toBytes == 4) to[x * 4 + 3] = 0;
            }
        }
    }
}

bool TBitmap::operator==(const TBitmap& other) const {
    if (FWidth != other.FWidth || FHeight != other.FHeight) return false;
    const int a = BytesPerPixel(), b = other.BytesPerPixel();
    for (int y = 0; y < FHeight; ++y) {
        const uint8_t* p = ScanLine(y);
        const uint8_t* q = other.ScanLine(y);
        if (a == 3 && b == 3) {
            if (std::memcmp(p, q, static_cast<size_t>(FWidth) * 3) != 0) return false;
            continue;
        }
        for (int x = 0; x < FWidth; ++x)
            if (p[x * a] != q[x * b] || p[x * a + 1] != q[x * b + 1] ||
                p[x * a + 2] != q[x * b + 2])
                return false;
    }
    return true;
}

namespace {

[[noreturn]] void Invalid() {
    throw EInvalidGraphic(kInvalidBitmapMessage);
}

uint32_t U16(const std::vector<uint8_t>& d, size_t at) {
    if (at + 2 > d.size()) Invalid();
    return d[at] | (d[at + 1] << 8);
}

uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
    if (at + 4 > d.size()) Invalid();
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6 };

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct TChannel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit TChannel(uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    uint8_t Value(uint32_t pixel) const {
        if (max == 0) return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>(std::min<uint64_t>(255, v * 255 / max));
    }
};

struct THeader {
    int64_t width = 0;
    int64_t height = 0; // positive: bottom-up
    int bpp = 0;
    uint32_t compression = kBiRgb;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool hasMasks = false;
    std::vector<TColor> palette;
    size_t bits = 0; // offset of the pixel data
};

THeader ReadHeader(const std::vector<uint8_t>& d) {
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M') Invalid();
    THeader h;
    h.bits = U32(d, 10);
    const uint32_t infoSize = U32(d, 14);
    const size_t info = 14;
    size_t paletteAt = 0;
    int paletteEntry = 4;
    uint32_t coloursUsed = 0;
    if (infoSize == 12) {
        h.width = U16(d, info + 4);
        h.height = static_cast<int16_t>(U16(d, info + 6));
        h.bpp = static_cast<int>(U16(d, info + 10));
        paletteAt = info + 12;
        paletteEntry = 3;
    } else if (infoSize >= 40 && infoSize <= 1024) {
        h.width = static_cast<int32_t>(U32(d, info + 4));
        h.height = static_cast<int32_t>(U32(d, info + 8));
        h.bpp = static_cast<int>(U16(d, info + 14));
        h.compression = U32(d, info + 16);
        coloursUsed = U32(d, info + 32);
        paletteAt = info + infoSize;
        if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
            const int count = h.compression == kBiAlphaBitfields ? 4 : 3;
            // Version 4 and 5 headers hold the masks; a plain header is
            // followed by them.
            const size_t at = infoSize >= 52 ? info + 40 : info + infoSize;
            for (int i = 0; i < count; ++i)
                h.masks[i] = U32(d, at + 4 * i);
            if (infoSize >= 56) h.masks[3] = U32(d, info + 52);
            if (infoSize < 52) paletteAt += 4 * count;
            h.hasMasks = true;
        }
    } else {
        Invalid();
    }
    if (U16(d, info + (infoSize == 12 ? 8 : 12)) != 1) // planes
        Invalid();
    if (h.width <= 0 || h.height == 0 || h.width > TBitmap::kMaxSide ||
        std::abs(h.height) > TBitmap::kMaxSide ||
        h.width * std::abs(h.height) > TBitmap::kMaxPixels)
        Invalid();

    switch (h.bpp) {
    case 1:
    case 4:
    case 8:
        if (!(h.compression == kBiRgb || (h.compression == kBiRle8 && h.bpp == 8) ||
              (h.compression == kBiRle4 && h.bpp == 4)))
            Invalid();
        break;
    case 16:
    case 32:
        if (h.compression != kBiRgb && !h.hasMasks) Invalid();
        break;
    case 24:
        if (h.compression != kBiRgb) Invalid();
        break;
    default:
        Invalid();
    }
    if ((h.compression == kBiRle8 || h.compression == kBiRle4) && h.height < 0)
        Invalid(); // compressed pictures are always bottom-up

    if (h.bpp <= 8) {
        const uint32_t full = 1u << h.bpp;
        uint32_t count = coloursUsed == 0 || coloursUsed > full ? full : coloursUsed;
        // Writers that leave the count 0 may store a shorter palette; it
        // ends where the pixels begin.
        if (h.bits > paletteAt)
            count = std::min<uint64_t>(count, (h.bits - paletteAt) / paletteEntry);
        for (uint32_t i = 0; i < count; ++i) {
            const size_t at = paletteAt + static_cast<size_t>(i) * paletteEntry;
            if (at + 3 > d.size()) Invalid();
            h.palette.push_back(MakeColour(d[at + 2], d[at + 1], d[at]));
        }
    }
    if (h.bits >= d.size()) Invalid();
    return h;
}

TColor PaletteColour(const THeader& h, uint32_t index) {
    return index < h.palette.size() ? h.palette[index] : 0;
}

void DecodeRle(const std::vector<uint8_t>& d, const THeader& h, TBitmap& out) {
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(h.height);
    const bool four = h.compression == kBiRle4;
    out.Fill(PaletteColour(h, 0));
    size_t at = h.bits;
    int x = 0, row = 0; // row counts from the bottom
    auto put = [&](uint32_t index) {
        if (x < width && row < height) out.SetPixel(x, height - 1 - row, PaletteColour(h, index));
        ++x;
    };
    auto byte = [&]() -> uint8_t {
        if (at >= d.size()) Invalid();
        return d[at++];
    };
    for (;;) {
        const uint8_t count = byte();
        const uint8_t value = byte();
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of picture
            return;
        } else if (value == 2) { // move right and up
            x += byte();
            row += byte();
        } else { // a literal run, padded to a 16-bit boundary
            const int bytes = four ? (value + 1) / 2 : value;
            for (int i = 0; i < value; ++i) {
                if (four) {
                    const uint8_t pair = d.size() > at + i / 2 ? d[at + i / 2] : 0;
                    put(i % 2 == 0 ? pair >> 4 : pair & 15);
                } else {
                    put(d.size() > at + i ? d[at + i] : 0);
                }
            }
            if (at + bytes > d.size()) Invalid();
            at += bytes + (bytes & 1);
        }
        if (row > height) Invalid();
    }
}

void DecodeRows(const std::vector<uint8_t>& d, const THeader& h, TBitmap& out) {
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(std::abs(h.height));
    const size_t rowSize = ((static_cast<size_t>(width) * h.bpp + 31) / 32) * 4;
    const size_t lastRow = (static_cast<size_t>(width) * h.bpp + 7) / 8;
    // The last row may lack its padding; nothing more may be missing.
    if (h.bits + rowSize * (height - 1) + lastRow > d.size()) Invalid();
    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (!h.hasMasks && h.bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    const TChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    for (int row = 0; row < height; ++row) {
        const uint8_t* src = d.data() + h.bits + rowSize * row;
        const int y = h.height > 0 ? height - 1 - row : row;
        uint8_t* dst = out.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            switch (h.bpp) {
            case 1:
            case 4:
            case 8: {
                const int bit = x * h.bpp;
                const int shift = 8 - h.bpp - bit % 8;
                const uint32_t index = (src[bit / 8] >> shift) & ((1u << h.bpp) - 1);
                out.SetPixel(x, y, PaletteColour(h, index));
                break;
            }
            case 16: {
                const uint32_t px = src[2 * x] | (src[2 * x + 1] << 8);
                out.SetPixel(x, y, MakeColour(red.Value(px), green.Value(px), blue.Value(px)));
                break;
            }
            case 24:
                std::memcpy(dst + 3 * x, src + 3 * x, 3);
                break;
            case 32:
                if (!h.hasMasks) {
                    std::memcpy(dst + 4 * x, src + 4 * x, 4);
                } else {
                    const uint32_t px = src[4 * x] | (src[4 * x + 1] << 8) |
                                        (src[4 * x + 2] << 16) |
                                        (static_cast<uint32_t>(src[4 * x + 3]) << 24);
                    dst[4 * x] = blue.Value(px);
                    dst[4 * x + 1] = green.Value(px);
                    dst[4 * x + 2] = red.Value(px);
                    dst[4 * x + 3] = alpha.Value(px);
                }
                break;
            }
        }
    }
}

void Put16(std::vector<uint8_t>& d, uint32_t v) {
    d.push_back(v & 255);
    d.push_back((v >> 8) & 255);
}
void Put32(std::vector<uint8_t>& d, uint32_t v) {
    Put16(d, v & 0xFFFF);
    Put16(d, v >> 16);
}

} // namespace

void TBitmap::LoadFromStream(TStream& stream) {
    const int64_t available = stream.Size() - stream.Position();
    if (available <= 0 || available > kMaxPixels * 4 + 65536) Invalid();
    std::vector<uint8_t> data(static_cast<size_t>(available));
    stream.ReadBuffer(data.data(), available);
    const THeader h = ReadHeader(data);
    TBitmap loaded(static_cast<int>(h.width), static_cast<int>(std::abs(h.height)),
                   h.bpp == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
    if (h.compression == kBiRle8 || h.compression == kBiRle4)
        DecodeRle(data, h, loaded);
    else
        DecodeRows(data, h, loaded);
    *this = std::move(loaded);
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, TFileMode::fmOpenRead);
    LoadFromStream(file);
}

void TBitmap::SaveToStream(TStream& stream) const {
    const int bpp = BytesPerPixel() * 8;
    const uint32_t imageSize = static_cast<uint32_t>(FStride) * FHeight;
    std::vector<uint8_t> d;
    d.push_back('B');
    d.push_back('M');
    Put32(d, 54 + imageSize);
    Put32(d, 0);
    Put32(d, 54);
    Put32(d, 40);
    Put32(d, FWidth);
    Put32(d, FHeight);
    Put16(d, 1);
    Put16(d, bpp);
    Put32(d, kBiRgb);
    Put32(d, imageSize);
    Put32(d, 2835); // 72 dots an inch
    Put32(d, 2835);
    Put32(d, 0);
    Put32(d, 0);
    for (int y = FHeight - 1; y >= 0; --y)
        d.insert(d.end(), ScanLine(y), ScanLine(y) + FStride);
    stream.WriteBuffer(d.data(), static_cast<int64_t>(d.size()));
}

void TBitmap::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, TFileMode::fmCreate);
    SaveToStream(file);
}

} // namespace qh
