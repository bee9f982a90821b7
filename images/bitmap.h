// A pixel buffer in the layout of a top-down device-independent bitmap:
// rows of blue, green, red (and a fourth byte at 32 bits a pixel), each row
// padded to a multiple of 4 bytes, so the Windows side can hand the same
// bytes to GDI.
#pragma once

#include <cstdint>
#include <vector>

#include "core/exception.h"
#include "core/stream.h"

namespace qh {

// A damaged or unsupported bitmap file.
QH_DECLARE_EXCEPTION(EInvalidGraphic, Exception);

inline constexpr const char* kInvalidBitmapMessage = "Bitmap image is not valid";

enum class TPixelFormat { pf24bit, pf32bit };

// Colours as the skin holds them: red + green * 256 + blue * 65536.
using TColor = uint32_t;
inline constexpr TColor MakeColour(int r, int g, int b) {
    return static_cast<TColor>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
inline constexpr int ColourR(TColor c) {
    return c & 255;
}
inline constexpr int ColourG(TColor c) {
    return (c >> 8) & 255;
}
inline constexpr int ColourB(TColor c) {
    return (c >> 16) & 255;
}
inline constexpr TColor kColourKey = MakeColour(255, 0, 255);

// 32-bit top-down pixels that someone else owns (a DIB section's bits).
struct TExternalPixels {
    uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0; // bytes a row, at least Width * 4 and a multiple of 4
};

class TBitmap {
public:
    // Larger pictures are refused when read; no skin comes near them.
    static constexpr int kMaxSide = 16384;
    static constexpr int64_t kMaxPixels = 32 * 1024 * 1024;

    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
    // A 32-bit bitmap over pixels it does not own; their owner keeps them
    // alive for as long as this bitmap lives. It keeps its size and format
    // (changing either raises EInvalidGraphic), and it never hands its
    // storage on: a copy, or a move out of it, owns its own pixels.
    // Raises EInvalidGraphic for a layout that is not 32-bit top-down.
    explicit TBitmap(const TExternalPixels& pixels);

    TBitmap(const TBitmap& other);
    TBitmap(TBitmap&& other) noexcept;
    // Into a bitmap over external pixels only a picture of the same size may
    // be assigned: its pixels are copied in, converted to 32 bits.
    TBitmap& operator=(const TBitmap& other);
    TBitmap& operator=(TBitmap&& other);
    ~TBitmap() = default;

    bool OwnsPixels() const { return FExternal == nullptr; }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    TPixelFormat PixelFormat() const { return FFormat; }
    int BytesPerPixel() const { return FFormat == TPixelFormat::pf32bit ? 4 : 3; }
    int Stride() const { return FStride; }

    // Resizes to width x height, every pixel black (the fourth byte 0).
    // Over external pixels only the same size is accepted (made black).
    void SetSize(int width, int height);
    // Converts the pixels; going to 24 bits drops the fourth byte, going to
    // 32 bits sets it to 0.
    void SetPixelFormat(TPixelFormat format);
    void Clear() { SetSize(0, 0); }

    uint8_t* ScanLine(int y) { return Bits() + static_cast<size_t>(y) * FStride; }
    const uint8_t* ScanLine(int y) const { return Bits() + static_cast<size_t>(y) * FStride; }
    // Out-of-range points read as 0 and ignore writes.
    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor colour);
    // Every pixel; the fourth byte of 32-bit pixels is left as it is.
    void Fill(TColor colour);

    // Copies the w x h block at (sx, sy) of source to (dx, dy), clipped to
    // both bitmaps. Between 32-bit bitmaps the fourth byte goes along;
    // from 24 bits it becomes 0.
    void CopyRect(int dx, int dy, const TBitmap& source, int sx, int sy, int w, int h);

    // A Windows bitmap file from the stream's position. Raises
    // EInvalidGraphic for a damaged or unsupported file; the bitmap is then
    // left as it was.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    // An uncompressed bottom-up file at the bitmap's own pixel format.
    void SaveToStream(TStream& stream) const;
    void SaveToFile(const std::string& fileName) const;

    // Same size and colours; the fourth byte and the format do not count.
    bool operator==(const TBitmap& other) const;

private:
    uint8_t* Bits() { return FExternal ? FExternal : FPixels.data(); }
    const uint8_t* Bits() const { return FExternal ? FExternal : FPixels.data(); }
    void CopyPixelsFrom(const TBitmap& other);

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FFormat = TPixelFormat::pf24bit;
    int FStride = 0;
    std::vector<uint8_t> FPixels;
    uint8_t* FExternal = nullptr;
};

} // namespace qh
