#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "images/bitmap.h"
#include "images/bitmap_convert.h"

namespace qh {
namespace {

// Builds bitmap files byte by byte, so each variant of the format is
// written the way other programs write it.
struct FileBuilder {
    std::vector<uint8_t> bytes;
    void U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) {
        U8(v & 255);
        U8(v >> 8);
    }
    void U32(uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Raw(const std::vector<uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
    }
};

// A file with a 40-byte header; masks and palette go between header and
// pixels.
std::vector<uint8_t> MakeFile(int width, int height, int bpp, uint32_t compression,
                              const std::vector<uint32_t>& masks,
                              const std::vector<uint32_t>& palette,
                              const std::vector<uint8_t>& pixels, uint32_t coloursUsed = 0) {
    FileBuilder f;
    const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(masks.size() + palette.size());
    f.U8('B');
    f.U8('M');
    f.U32(offset + static_cast<uint32_t>(pixels.size()));
    f.U32(0);
    f.U32(offset);
    f.U32(40);
    f.U32(static_cast<uint32_t>(width));
    f.U32(static_cast<uint32_t>(height));
    f.U16(1);
    f.U16(bpp);
    f.U32(compression);
    f.U32(static_cast<uint32_t>(pixels.size()));
    f.U32(0);
    f.U32(0);
    f.U32(coloursUsed);
    f.U32(0);
    for (uint32_t m : masks)
        f.U32(m);
    for (uint32_t c : palette)
        f.U32(c); // 0x00RRGGBB as blue, green, red, 0 bytes
    f.Raw(pixels);
    return f.bytes;
}

TBitmap Load(const std::vector<uint8_t>& file) {
    TMemoryStream stream(std::string(file.begin(), file.end()));
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    return bitmap;
}

constexpr TColor kRed = MakeColour(255, 0, 0);
constexpr TColor kGreen = MakeColour(0, 255, 0);
constexpr TColor kBlue = MakeColour(0, 0, 255);
constexpr TColor kWhite = MakeColour(255, 255, 255);

TEST(BitmapFile, PaletteDepthsReadBottomUpRows) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // 3 x 2; the file's first row is the picture's bottom row.
    const TBitmap one =
        Load(MakeFile(3, 2, 1, 0, {}, {0x000000, 0xFFFFFF}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}));
    EXPECT_EQ(one.GetPixel(0, 1), kWhite);
    EXPECT_EQ(one.GetPixel(1, 1), 0u);
    EXPECT_EQ(one.GetPixel(2, 1), kWhite);
    EXPECT_EQ(one.GetPixel(1, 0), kWhite);
    EXPECT_EQ(one.GetPixel(0, 0), 0u);

    const TBitmap four = Load(MakeFile(3, 1, 4, 0, {}, palette, {0x12, 0x30, 0, 0}));
    EXPECT_EQ(four.GetPixel(0, 0), kRed);
    EXPECT_EQ(four.GetPixel(1, 0), kGreen);
    EXPECT_EQ(four.GetPixel(2, 0), kBlue);

    // Two palette entries only; an index beyond them reads as black.
    const TBitmap eight = Load(MakeFile(2, 1, 8, 0, {}, {0xFF0000, 0x0000FF}, {1, 7, 0, 0}, 2));
    EXPECT_EQ(eight.GetPixel(0, 0), kBlue);
    EXPECT_EQ(eight.GetPixel(1, 0), 0u);
    EXPECT_EQ(eight.PixelFormat(), TPixelFormat::pf24bit);
}

TEST(BitmapFile, TrueColourDepthsAndTopDown) {
    // 24 bits, negative height: the first row is the top one.
    const TBitmap top = Load(MakeFile(1, -2, 24, 0, {}, {}, {255, 0, 0, 0, 0, 0, 255, 0}));
    EXPECT_EQ(top.GetPixel(0, 0), kBlue);
    EXPECT_EQ(top.GetPixel(0, 1), kRed);

    // 16 bits without masks is 5-5-5.
    const TBitmap rgb555 = Load(MakeFile(2, 1, 16, 0, {}, {}, {0x00, 0x7C, 0x1F, 0x00}));
    EXPECT_EQ(rgb555.GetPixel(0, 0), kRed);
    EXPECT_EQ(rgb555.GetPixel(1, 0), kBlue);

    // 16 bits with 5-6-5 bit fields.
    const TBitmap rgb565 =
        Load(MakeFile(1, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, {0xE0, 0x07, 0, 0}));
    EXPECT_EQ(rgb565.GetPixel(0, 0), kGreen);

    // 32 bits: kept at 32, fourth byte as stored.
    const TBitmap plain32 = Load(MakeFile(1, 1, 32, 0, {}, {}, {10, 20, 30, 40}));
    EXPECT_EQ(plain32.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(plain32.GetPixel(0, 0), MakeColour(30, 20, 10));
    EXPECT_EQ(plain32.ScanLine(0)[3], 40);

    // 32 bits with fields in another order (red in the lowest byte).
    const TBitmap fields32 =
        Load(MakeFile(1, 1, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, {}, {200, 100, 50, 0}));
    EXPECT_EQ(fields32.GetPixel(0, 0), MakeColour(200, 100, 50));
}

TEST(BitmapFile, RunLengthVariants) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // RLE8, 4 x 2: bottom row a run of 4 x index 1; top row a padded
    // literal 2, 3, 1; end of picture.
    const TBitmap rle8 =
        Load(MakeFile(4, 2, 8, 1, {}, palette, {4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1}));
    EXPECT_EQ(rle8.GetPixel(0, 1), kRed);
    EXPECT_EQ(rle8.GetPixel(3, 1), kRed);
    EXPECT_EQ(rle8.GetPixel(0, 0), kGreen);
    EXPECT_EQ(rle8.GetPixel(1, 0), kBlue);
    EXPECT_EQ(rle8.GetPixel(2, 0), kRed);
    EXPECT_EQ(rle8.GetPixel(3, 0), 0u);
    // A delta skips pixels: right 2, up 1.
    const TBitmap delta = Load(MakeFile(3, 2, 8, 1, {}, palette, {0, 2, 2, 1, 1, 3, 0, 1}));
    EXPECT_EQ(delta.GetPixel(2, 0), kBlue);
    EXPECT_EQ(delta.GetPixel(0, 0), 0u);

    // RLE4, 4 x 1: a run of 3 alternating 1,2; a delta of one; end.
    const TBitmap rle4 = Load(MakeFile(4, 1, 4, 2, {}, palette, {3, 0x12, 0, 1}));
    EXPECT_EQ(rle4.GetPixel(0, 0), kRed);
    EXPECT_EQ(rle4.GetPixel(1, 0), kGreen);
    EXPECT_EQ(rle4.GetPixel(2, 0), kRed);
    EXPECT_EQ(rle4.GetPixel(3, 0), 0u); // untouched: palette entry 0

    // Runs that overshoot the picture are clipped, not written past it.
    const TBitmap clipped = Load(MakeFile(2, 1, 8, 1, {}, palette, {200, 3, 0, 0, 9, 9, 0, 1}));
    EXPECT_EQ(clipped.GetPixel(1, 0), kBlue);
}

TEST(BitmapFile, DamagedFilesRaiseAndKeepTheOldPicture) {
    TBitmap kept(2, 2);
    kept.Fill(kGreen);
    auto rejects = [&](std::vector<uint8_t> file) {
        TMemoryStream stream(std::string(file.begin(), file.end()));
        EXPECT_THROW(kept.LoadFromStream(stream), EInvalidGraphic);
        EXPECT_EQ(kept.Width(), 2);
        EXPECT_EQ(kept.GetPixel(1, 1), kGreen);
    };
    const std::vector<uint8_t> good = MakeFile(2, 2, 24, 0, {}, {}, std::vector<uint8_t>(16, 0));
    ASSERT_NO_THROW(Load(good));

    rejects({});
    std::vector<uint8_t> magic = good;
    magic[0] = 'X';
    rejects(magic);
    rejects(std::vector<uint8_t>(good.begin(), good.end() - 6)); // rows cut short
    rejects(MakeFile(0, 2, 24, 0, {}, {}, std::vector<uint8_t>(16, 0)));
    rejects(MakeFile(100000, 1, 24, 0, {}, {}, std::vector<uint8_t>(16, 0)));
    rejects(MakeFile(20000, -20000, 1, 0, {}, {0, 0}, std::vector<uint8_t>(16, 0)));
    rejects(MakeFile(2, 2, 7, 0, {}, {}, std::vector<uint8_t>(16, 0)));
    rejects(MakeFile(2, 2, 24, 1, {}, {}, std::vector<uint8_t>(16, 0))); // RLE8 at 24 bits
    rejects(MakeFile(2, -2, 8, 1, {}, {0}, {0, 1}));                     // top-down RLE
    rejects(MakeFile(4, 4, 8, 1, {}, {0}, {4, 0, 0}));                   // RLE runs out
    rejects(MakeFile(1, 1, 32, 3, {}, {}, {0, 0, 0, 0}));                // masks missing
    std::vector<uint8_t> offset = good;
    offset[10] = 0xFF;
    offset[11] = 0xFF;
    rejects(offset);
}

TEST(BitmapFile, SavedFileReadsBackAtBothDepths) {
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap original(5, 3, format);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                original.SetPixel(x, y, MakeColour(x * 40, y * 80, 7));
        TMemoryStream stream;
        original.SaveToStream(stream);
        stream.SetPosition(0);
        TBitmap copy;
        copy.LoadFromStream(stream);
        EXPECT_EQ(copy.PixelFormat(), format);
        EXPECT_TRUE(copy == original);
    }
}

// 3 x 2:  A B C
//         D E F
TBitmap Sample() {
    TBitmap b(3, 2);
    const TColor c[6] = {MakeColour(1, 0, 0), MakeColour(2, 0, 0), MakeColour(3, 0, 0),
                         MakeColour(4, 0, 0), MakeColour(5, 0, 0), MakeColour(6, 0, 0)};
    for (int i = 0; i < 6; ++i)
        b.SetPixel(i % 3, i / 3, c[i]);
    return b;
}

std::string Reds(const TBitmap& b) {
    std::string out;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x)
            out += static_cast<char>('0' + ColourR(b.GetPixel(x, y)));
        out += '/';
    }
    return out;
}

TEST(BitmapConvert, MirrorFlipAndRotations) {
    TBitmap b = Sample();
    MirrorBitmap(b);
    EXPECT_EQ(Reds(b), "321/654/");
    b = Sample();
    FlipBitmap(b);
    EXPECT_EQ(Reds(b), "456/123/");
    b = Sample();
    RotateBitmapLeft(b);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(Reds(b), "36/25/14/");
    b = Sample();
    RotateBitmapRight(b);
    EXPECT_EQ(Reds(b), "41/52/63/");
    // Four quarter turns give the picture back.
    for (int i = 0; i < 4; ++i)
        RotateBitmapRight(b);
    RotateBitmapLeft(b);
    EXPECT_TRUE(b == Sample());
}

TEST(BitmapConvert, GreyAverageAndThirtyTwoBitInput) {
    TBitmap b(2, 1, TPixelFormat::pf32bit);
    b.SetPixel(0, 0, MakeColour(10, 20, 31)); // (31 + 20 + 10) / 3 = 20
    b.SetPixel(1, 0, MakeColour(255, 255, 254));
    GreyBitmap(b);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(b.GetPixel(0, 0), MakeColour(20, 20, 20));
    EXPECT_EQ(b.GetPixel(1, 0), MakeColour(254, 254, 254));

    // A 32-bit picture is mirrored by pixels, not by three-byte groups.
    TBitmap wide(3, 1, TPixelFormat::pf32bit);
    wide.SetPixel(0, 0, kRed);
    wide.SetPixel(2, 0, kBlue);
    MirrorBitmap(wide);
    EXPECT_EQ(wide.GetPixel(0, 0), kBlue);
    EXPECT_EQ(wide.GetPixel(2, 0), kRed);
}

TEST(BitmapBuffer, RowsArePaddedAndEmptyMeansNoPixels) {
    TBitmap b(3, 2);
    EXPECT_EQ(b.Stride(), 12);
    b.SetSize(5, 0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.GetPixel(0, 0), 0u); // outside reads as black
    TBitmap from(4, 4);
    from.Fill(kRed);
    TBitmap to(2, 2);
    to.CopyRect(-1, -1, from, 2, 2, 4, 4); // clipped on both sides
    EXPECT_EQ(to.GetPixel(0, 0), kRed);
    EXPECT_EQ(to.GetPixel(1, 1), 0u);
}

TEST(BitmapBuffer, ExternalPixelsAreSharedButNeverResizedOrGivenAway) {
    // Two 2-pixel rows with 4 spare bytes each, as another owner lays them out.
    std::vector<uint8_t> store(24, 7);
    TBitmap shared(TExternalPixels{store.data(), 2, 2, 12});
    EXPECT_FALSE(shared.OwnsPixels());
    shared.SetPixel(1, 1, kRed);
    EXPECT_EQ(store[16], 0); // blue, green, red of (1, 1)
    EXPECT_EQ(store[18], 255);
    EXPECT_EQ(store[20], 7); // the padding is not touched
    EXPECT_THROW(shared.SetSize(3, 2), EInvalidGraphic);
    EXPECT_THROW(shared.SetPixelFormat(TPixelFormat::pf24bit), EInvalidGraphic);
    EXPECT_THROW(shared = TBitmap(1, 1), EInvalidGraphic);
    EXPECT_THROW(TBitmap(TExternalPixels{store.data(), 4, 2, 12}), EInvalidGraphic);

    TBitmap copy = shared;
    TBitmap moved = std::move(shared);
    EXPECT_TRUE(copy.OwnsPixels() && moved.OwnsPixels());
    copy.SetPixel(1, 1, kBlue);
    moved.SetPixel(1, 1, kBlue);
    EXPECT_EQ(shared.GetPixel(1, 1), kRed); // still over the store
    EXPECT_TRUE(moved == copy);

    // A picture of the same size is copied in, at 32 bits.
    TBitmap green(2, 2);
    green.Fill(kGreen);
    shared = green;
    EXPECT_EQ(store[5], 255);
    EXPECT_EQ(store[7], 0); // the fourth byte of a 24-bit picture
    EXPECT_TRUE(shared == green);
}

} // namespace
} // namespace qh
