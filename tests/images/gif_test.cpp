#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <algorithm>
#include <vector>

#include "images/gif_image.h"

namespace qh {
namespace {

constexpr TColor kBlack = MakeColour(0, 0, 0);
constexpr TColor kWhite = MakeColour(255, 255, 255);
constexpr TColor kRed = MakeColour(255, 0, 0);
constexpr TColor kGreen = MakeColour(0, 255, 0);
constexpr TColor kBlue = MakeColour(0, 0, 255);
constexpr TColor kGrey = MakeColour(128, 128, 128);

// LZW codes of stated widths, packed from the lowest bit up.
class CodePacker {
public:
    void Put(int code, int width) {
        FBits |= static_cast<uint64_t>(code) << FCount;
        FCount += width;
        while (FCount >= 8) {
            FBytes.push_back(static_cast<uint8_t>(FBits));
            FBits >>= 8;
            FCount -= 8;
        }
    }
    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out = FBytes;
        if (FCount > 0) out.push_back(static_cast<uint8_t>(FBits));
        return out;
    }

private:
    std::vector<uint8_t> FBytes;
    uint64_t FBits = 0;
    int FCount = 0;
};

// The width of the k-th code after a clear code (k from 1): each code after
// the first adds a table entry, so the table holds clear + 1 + (k - 1) codes
// after code k - 1, and codes widen once it reaches 2^width.
int WidthOfCode(int k, int minCodeSize) {
    int width = minCodeSize + 1;
    while (width < 12 && (1 << minCodeSize) + k >= (1 << width))
        ++width;
    return width;
}

// A code stream of single indices only, with a clear code at the start and
// after every clearEvery indices (0: never again), then the end code.
std::vector<uint8_t> LiteralCodes(const std::vector<uint8_t>& indices, int minCodeSize,
                                  size_t clearEvery = 0) {
    const int clear = 1 << minCodeSize;
    CodePacker packer;
    packer.Put(clear, minCodeSize + 1);
    int k = 1;
    for (size_t i = 0; i < indices.size(); ++i) {
        if (clearEvery != 0 && i != 0 && i % clearEvery == 0) {
            packer.Put(clear, WidthOfCode(k, minCodeSize));
            k = 1;
        }
        packer.Put(indices[i], WidthOfCode(k++, minCodeSize));
    }
    packer.Put(clear + 1, WidthOfCode(k, minCodeSize));
    return packer.Bytes();
}

// A file put together field by field, the way other programs write them.
class GifFile {
public:
    GifFile(int width, int height, const std::vector<TColor>& globalTable, int background = 0,
            const char* version = "GIF89a") {
        for (const char* c = version; *c; ++c)
            bytes.push_back(static_cast<uint8_t>(*c));
        Word(width);
        Word(height);
        bytes.push_back(
            globalTable.empty() ? 0 : static_cast<uint8_t>(0x80 | 0x70 | SizeField(globalTable)));
        bytes.push_back(static_cast<uint8_t>(background));
        bytes.push_back(0);
        Table(globalTable);
    }

    void GraphicControl(bool transparent, int index) {
        Raw({0x21, 0xF9, 4, static_cast<uint8_t>(transparent ? 1 : 0), 10, 0,
             static_cast<uint8_t>(index), 0});
    }
    void Extension(uint8_t label, const std::vector<uint8_t>& data) {
        bytes.push_back(0x21);
        bytes.push_back(label);
        SubBlocks(data, 7);
    }
    void Image(int left, int top, int width, int height, int minCodeSize,
               const std::vector<uint8_t>& codes, bool interlaced = false,
               const std::vector<TColor>& localTable = {}) {
        bytes.push_back(0x2C);
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        uint8_t flags = interlaced ? 0x40 : 0;
        if (!localTable.empty()) flags |= 0x80 | SizeField(localTable);
        bytes.push_back(flags);
        Table(localTable);
        bytes.push_back(static_cast<uint8_t>(minCodeSize));
        SubBlocks(codes, 255);
    }
    void Trailer() { bytes.push_back(0x3B); }
    void Raw(const std::vector<uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
    }

    std::vector<uint8_t> bytes;

private:
    void Word(int v) {
        bytes.push_back(static_cast<uint8_t>(v & 255));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    static uint8_t SizeField(const std::vector<TColor>& table) {
        uint8_t field = 0;
        while ((2u << field) < table.size())
            ++field;
        return field;
    }
    void Table(const std::vector<TColor>& table) {
        if (table.empty()) return;
        const size_t entries = 2u << SizeField(table);
        for (size_t i = 0; i < entries; ++i) {
            const TColor c = i < table.size() ? table[i] : 0;
            bytes.push_back(static_cast<uint8_t>(ColourR(c)));
            bytes.push_back(static_cast<uint8_t>(ColourG(c)));
            bytes.push_back(static_cast<uint8_t>(ColourB(c)));
        }
    }
    void SubBlocks(const std::vector<uint8_t>& data, size_t blockSize) {
        for (size_t at = 0; at < data.size(); at += blockSize) {
            const size_t n = std::min(blockSize, data.size() - at);
            bytes.push_back(static_cast<uint8_t>(n));
            bytes.insert(bytes.end(), data.begin() + at, data.begin() + at + n);
        }
        bytes.push_back(0);
    }
};

TGIFImage Load(const std::vector<uint8_t>& file) {
    TMemoryStream stream(std::string(file.begin(), file.end()));
    TGIFImage gif;
    gif.LoadFromStream(stream);
    return gif;
}

std::string LoadError(const std::vector<uint8_t>& file) {
    try {
        Load(file);
    } catch (const EInvalidGraphic& e) {
        return e.Message;
    }
    return "loaded";
}

std::vector<uint8_t> Save(const TBitmap& bitmap) {
    TGIFImage gif;
    gif.Assign(bitmap);
    TMemoryStream stream;
    gif.SaveToStream(stream);
    const std::string bytes = stream.ToString();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<TColor> Row(const TBitmap& b, int y) {
    std::vector<TColor> row;
    for (int x = 0; x < b.Width(); ++x)
        row.push_back(b.GetPixel(x, y));
    return row;
}

// 3 x 2, indices 1 1 1 / 2 2 2, coded as a writer would: 1, then "1 1" as
// the code the table is just about to get (6), 2, then "2 2" (8) once the
// codes have grown to 4 bits.
std::vector<uint8_t> SmallPicture() {
    CodePacker codes;
    for (auto [code, width] : {std::pair{4, 3}, {1, 3}, {6, 3}, {2, 3}, {8, 4}, {5, 4}})
        codes.Put(code, width);
    GifFile f(3, 2, {kBlack, kRed, kGreen, kBlue});
    f.Image(0, 0, 3, 2, 2, codes.Bytes());
    f.Trailer();
    return f.bytes;
}

TEST(GifRead, CodeStreamWithStringsAndGrowingWidth) {
    const TGIFImage gif = Load(SmallPicture());
    ASSERT_EQ(gif.Width(), 3);
    ASSERT_EQ(gif.Height(), 2);
    EXPECT_EQ(Row(gif.Bitmap(), 0), (std::vector<TColor>{kRed, kRed, kRed}));
    EXPECT_EQ(Row(gif.Bitmap(), 1), (std::vector<TColor>{kGreen, kGreen, kGreen}));
    EXPECT_EQ(gif.Bitmap().PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_FALSE(gif.Transparent());

    // The same picture in the older version of the format.
    std::vector<uint8_t> older = SmallPicture();
    older[4] = '7';
    EXPECT_EQ(Load(older).Bitmap(), gif.Bitmap());
}

TEST(GifRead, LongStringsOfOneIndexAndCodesOfEveryWidth) {
    // One colour: each code spells one index more than the one before, and
    // is the code the reader is just about to define.
    const int side = 300;
    CodePacker plain;
    plain.Put(4, 3);
    std::vector<int> lengths;
    for (int total = 0, n = 1; total < side * side; ++n) {
        lengths.push_back(std::min(n, side * side - total));
        total += lengths.back();
    }
    // Code k (from 1) spells k copies: index 1 first, then code 6 + k - 2;
    // a shorter last string is an older code.
    for (size_t k = 1; k <= lengths.size(); ++k) {
        const int n = lengths[k - 1];
        const int code = n == 1 ? 1 : 6 + n - 2;
        plain.Put(code, WidthOfCode(static_cast<int>(k), 2));
    }
    plain.Put(5, WidthOfCode(static_cast<int>(lengths.size()) + 1, 2));
    GifFile f(side, side, {kBlack, kWhite, kRed, kBlue});
    f.Image(0, 0, side, side, 2, plain.Bytes());
    f.Trailer();
    const TGIFImage gif = Load(f.bytes);
    int white = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            white += gif.Bitmap().GetPixel(x, y) == kWhite;
    EXPECT_EQ(white, side * side);
}

TEST(GifRead, CodesGrowPastNineBitsAndKeepTwelveOnAFullTable) {
    // 8-bit indices as single codes: 9 bits up to the 255th code, then 10,
    // 11 and 12; after code 3839 the table is full and, with no clear code,
    // reading goes on at 12 bits.
    std::vector<uint8_t> indices(5000);
    std::mt19937 random(7);
    for (auto& i : indices)
        i = static_cast<uint8_t>(random());
    EXPECT_EQ(WidthOfCode(255, 8), 9);
    EXPECT_EQ(WidthOfCode(256, 8), 10);
    EXPECT_EQ(WidthOfCode(1791, 8), 11);
    EXPECT_EQ(WidthOfCode(1792, 8), 12);
    std::vector<TColor> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = MakeColour(i, 255 - i, i / 2);
    const int width = 100, height = 50;

    for (size_t clearEvery : {size_t(0), size_t(1000), size_t(300)}) {
        SCOPED_TRACE(clearEvery);
        GifFile f(width, height, table);
        f.Image(0, 0, width, height, 8, LiteralCodes(indices, 8, clearEvery));
        f.Trailer();
        const TGIFImage gif = Load(f.bytes);
        for (int i = 0; i < width * height; ++i)
            ASSERT_EQ(gif.Bitmap().GetPixel(i % width, i / width), table[indices[i]]) << i;
    }
}

TEST(GifRead, TheLastEntryOfAFullTableIsUsable) {
    // 3839 single indices fill the table up to code 4095, which is then the
    // last two indices; reading it gives them again.
    const int singles = 3839;
    std::vector<uint8_t> indices(singles);
    for (int i = 0; i < singles; ++i)
        indices[i] = static_cast<uint8_t>(i * 7);
    CodePacker codes;
    codes.Put(256, 9);
    for (int k = 1; k <= singles; ++k)
        codes.Put(indices[k - 1], WidthOfCode(k, 8));
    codes.Put(4095, 12);
    codes.Put(257, 12);
    std::vector<TColor> grey(256);
    for (int i = 0; i < 256; ++i)
        grey[i] = MakeColour(i, i, i);
    GifFile f(167, 23, grey); // 3841 pixels
    f.Image(0, 0, 167, 23, 8, codes.Bytes());
    f.Trailer();
    const TBitmap b = Load(f.bytes).Bitmap();
    EXPECT_EQ(b.GetPixel(165, 22), grey[indices[singles - 2]]);
    EXPECT_EQ(b.GetPixel(166, 22), grey[indices[singles - 1]]);
    EXPECT_EQ(b.GetPixel(164, 22), grey[indices[singles - 1]]);
}

TEST(GifRead, TwoColoursWithOneBitCodes) {
    // Minimum code size 1: clear 2, end 3; the table is at 4 entries from
    // the start, so the second code is already 3 bits wide.
    GifFile f(4, 1, {kBlack, kWhite});
    f.Image(0, 0, 4, 1, 1, LiteralCodes({0, 1, 1, 0}, 1));
    f.Trailer();
    EXPECT_EQ(Row(Load(f.bytes).Bitmap(), 0),
              (std::vector<TColor>{kBlack, kWhite, kWhite, kBlack}));
}

TEST(GifRead, InterlacedRowsInFourPasses) {
    // Rows stored 0 8 | 4 | 2 6 | 1 3 5 7 9; row r has index r % 4 and
    // colour from a table where that is visible.
    const std::vector<TColor> table = {kRed, kGreen, kBlue, kWhite};
    for (int height : {1, 2, 3, 5, 10}) {
        SCOPED_TRACE(height);
        std::vector<int> order;
        for (int pass = 0; pass < 4; ++pass) {
            const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int r = start[pass]; r < height; r += step[pass])
                order.push_back(r);
        }
        ASSERT_EQ(order.size(), static_cast<size_t>(height));
        std::vector<uint8_t> indices;
        for (int r : order)
            for (int x = 0; x < 2; ++x)
                indices.push_back(static_cast<uint8_t>(r % 4));
        GifFile f(2, height, table);
        f.Image(0, 0, 2, height, 2, LiteralCodes(indices, 2), true);
        f.Trailer();
        const TGIFImage gif = Load(f.bytes);
        for (int r = 0; r < height; ++r) {
            EXPECT_EQ(gif.Bitmap().GetPixel(0, r), table[r % 4]) << r;
            EXPECT_EQ(gif.Bitmap().GetPixel(1, r), table[r % 4]) << r;
        }
    }
}

TEST(GifRead, ImageRectangleLocalTableAndBackground) {
    // A 2 x 1 image at (1, 1) of a 4 x 3 screen, in its own colours; the
    // rest of the screen has the background entry of the global table.
    GifFile f(4, 3, {kBlack, kGrey, kRed, kGreen}, 1);
    f.Image(1, 1, 2, 1, 2, LiteralCodes({1, 0}, 2), false, {kBlue, kWhite});
    f.Trailer();
    const TGIFImage gif = Load(f.bytes);
    EXPECT_EQ(Row(gif.Bitmap(), 0), (std::vector<TColor>(4, kGrey)));
    EXPECT_EQ(Row(gif.Bitmap(), 1), (std::vector<TColor>{kGrey, kWhite, kBlue, kGrey}));
    EXPECT_EQ(Row(gif.Bitmap(), 2), (std::vector<TColor>(4, kGrey)));

    // A background index beyond the table, or no global table: black.
    GifFile beyond(2, 1, {kGrey, kRed}, 5);
    beyond.Image(0, 0, 1, 1, 2, LiteralCodes({1}, 2));
    EXPECT_EQ(Row(Load(beyond.bytes).Bitmap(), 0), (std::vector<TColor>{kRed, kBlack}));
    GifFile noGlobal(2, 1, {}, 0);
    noGlobal.Image(1, 0, 1, 1, 2, LiteralCodes({0}, 2), false, {kWhite, kWhite});
    EXPECT_EQ(Row(Load(noGlobal.bytes).Bitmap(), 0), (std::vector<TColor>{kBlack, kWhite}));
}

TEST(GifRead, TransparentIndexOfTheGraphicControlBlock) {
    auto make = [](bool transparent, int index) {
        GifFile f(2, 1, {kRed, MakeColour(230, 230, 250), kGreen, kBlue});
        f.GraphicControl(transparent, index);
        f.Image(0, 0, 2, 1, 2, LiteralCodes({0, 1}, 2));
        f.Trailer();
        return Load(f.bytes);
    };
    const TGIFImage keyed = make(true, 1);
    EXPECT_TRUE(keyed.Transparent());
    EXPECT_EQ(keyed.TransparentIndex(), 1);
    EXPECT_EQ(keyed.TransparentColor(), 16443110u);
    // The see-through pixel keeps its colour, to be keyed out when drawn.
    EXPECT_EQ(keyed.Bitmap().GetPixel(1, 0), 16443110u);

    EXPECT_FALSE(make(false, 1).Transparent());
    // An index the table does not have names nothing.
    EXPECT_FALSE(make(true, 9).Transparent());
}

TEST(GifRead, ExtensionsAreSkippedAndLaterImagesIgnored) {
    GifFile f(2, 1, {kRed, kGreen, kBlue, kWhite});
    f.Extension(0xFE, std::vector<uint8_t>(40, 'c')); // comment, in sub-blocks of 7
    f.Extension(0xFF, {'Q', 'H', 'T', 'E', 'S', 'T', '0', '0', '1', '.', '0', 3, 1, 0, 0});
    f.Extension(0x01, std::vector<uint8_t>(20, 0x21)); // plain text
    f.GraphicControl(false, 0);
    f.Image(0, 0, 2, 1, 2, LiteralCodes({2, 3}, 2));
    const std::vector<TColor> first = {kBlue, kWhite};
    f.GraphicControl(true, 0);
    f.Image(0, 0, 2, 1, 2, LiteralCodes({0, 0}, 2));
    f.Trailer();
    const TGIFImage gif = Load(f.bytes);
    EXPECT_EQ(Row(gif.Bitmap(), 0), first);
    EXPECT_FALSE(gif.Transparent());

    // Nothing after the first image is read, so damage there is no harm.
    GifFile tail(2, 1, {kRed, kGreen, kBlue, kWhite});
    tail.Image(0, 0, 2, 1, 2, LiteralCodes({2, 3}, 2));
    tail.Raw({0x99, 0x01});
    EXPECT_EQ(Row(Load(tail.bytes).Bitmap(), 0), first);
}

TEST(GifRead, ExtraCodesAfterTheLastPixelAreIgnored) {
    GifFile f(2, 1, {kRed, kGreen});
    f.Image(0, 0, 2, 1, 2, LiteralCodes({1, 0, 1, 1, 0, 0, 1}, 2));
    f.Trailer();
    EXPECT_EQ(Row(Load(f.bytes).Bitmap(), 0), (std::vector<TColor>{kGreen, kRed}));

    // A string longer than the pixels left stops at the image's end and
    // does not run on into the screen below it.
    CodePacker overrun;
    for (auto [code, width] : {std::pair{4, 3}, {1, 3}, {6, 3}, {5, 3}})
        overrun.Put(code, width);
    GifFile g(2, 2, {kRed, kGreen});
    g.Image(0, 0, 2, 1, 2, overrun.Bytes());
    g.Trailer();
    const TBitmap b = Load(g.bytes).Bitmap();
    EXPECT_EQ(Row(b, 0), (std::vector<TColor>{kGreen, kGreen}));
    EXPECT_EQ(Row(b, 1), (std::vector<TColor>{kRed, kRed}));
}

TEST(GifRead, LeavesTheStreamAfterTheImage) {
    std::vector<uint8_t> two = SmallPicture();
    two.pop_back(); // trailer
    const size_t end = two.size();
    two.insert(two.end(), {'t', 'a', 'i', 'l'});
    TMemoryStream stream(std::string(two.begin(), two.end()));
    TGIFImage gif;
    gif.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(end));
}

TEST(GifRead, DamagedFilesAreRefusedWithAReason) {
    const std::vector<TColor> four = {kBlack, kRed, kGreen, kBlue};
    auto image = [&](int screenW, int screenH, int left, int top, int w, int h) {
        GifFile f(screenW, screenH, four);
        f.Image(left, top, w, h, 2, LiteralCodes(std::vector<uint8_t>(size_t(w) * h, 1), 2));
        f.Trailer();
        return f.bytes;
    };
    auto codes = [&](std::initializer_list<std::pair<int, int>> list, int minCodeSize = 2,
                     std::vector<TColor> table = {kBlack, kRed, kGreen, kBlue}) {
        CodePacker p;
        for (auto [code, width] : list)
            p.Put(code, width);
        GifFile f(3, 1, table);
        f.Image(0, 0, 3, 1, minCodeSize, p.Bytes());
        f.Trailer();
        return f.bytes;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        const char* reason;
    };
    GifFile tableless(2, 1, {});
    tableless.Image(0, 0, 2, 1, 2, LiteralCodes({0, 0}, 2));
    GifFile unknown(2, 1, four);
    unknown.Raw({0x99});
    GifFile empty(2, 1, four);
    empty.Trailer();
    std::vector<uint8_t> badCodeSize = image(1, 1, 0, 0, 1, 1);
    const std::vector<Case> cases = {
        {"not a GIF", {'G', 'I', 'F', '8', '8', 'a', 1, 0, 1, 0, 0, 0, 0}, "signature"},
        {"empty screen", image(0, 1, 0, 0, 1, 1), "screen is empty"},
        {"screen of 65535 x 65535", image(65535, 65535, 0, 0, 1, 1), "too large"},
        {"side beyond the limit", image(TBitmap::kMaxSide + 1, 1, 0, 0, 1, 1), "too large"},
        {"area beyond the limit", image(8192, 8192, 0, 0, 1, 1), "too large"},
        {"image past the right edge", image(3, 2, 2, 0, 2, 1), "outside the screen"},
        {"image past the bottom", image(3, 2, 0, 1, 1, 2), "outside the screen"},
        {"empty image", image(3, 2, 0, 0, 0, 1), "image is empty"},
        {"no colour table", tableless.bytes, "no colour table"},
        {"unknown block", unknown.bytes, "unknown block"},
        {"no image", empty.bytes, "no image"},
        // Index 3 exists as a code but the table has two colours.
        {"index beyond the table",
         codes({{4, 3}, {1, 3}, {3, 3}, {0, 3}, {5, 4}}, 2, {kRed, kGreen}),
         "beyond the colour table"},
        {"code past the table", codes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}), "not yet defined"},
        {"string code right after clear", codes({{4, 3}, {6, 3}, {5, 3}}), "not yet defined"},
        {"end code too soon", codes({{4, 3}, {1, 3}, {5, 3}}), "ends before"},
        {"no end code, data too short", codes({{4, 3}, {1, 3}}), "ends before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string error = LoadError(c.file);
        EXPECT_NE(error.find("GIF image is not valid"), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    for (int size : {0, 9, 12}) {
        SCOPED_TRACE(size);
        badCodeSize[13 + 3 * 4 + 10] = static_cast<uint8_t>(size); // after table and descriptor
        EXPECT_NE(LoadError(badCodeSize).find("code size"), std::string::npos);
    }
}

TEST(GifRead, FailureLeavesThePictureAsItWas) {
    TGIFImage gif;
    const std::vector<uint8_t> good = SmallPicture();
    GifFile keyed(1, 1, {kRed, kGreen});
    keyed.GraphicControl(true, 1);
    keyed.Image(0, 0, 1, 1, 2, LiteralCodes({1}, 2));
    TMemoryStream keyedStream(std::string(keyed.bytes.begin(), keyed.bytes.end()));
    gif.LoadFromStream(keyedStream);
    const TBitmap before = gif.Bitmap();

    std::vector<uint8_t> cut = good;
    cut.resize(cut.size() - 4);
    TMemoryStream cutStream(std::string(cut.begin(), cut.end()));
    EXPECT_THROW(gif.LoadFromStream(cutStream), EInvalidGraphic);
    EXPECT_EQ(gif.Bitmap(), before);
    EXPECT_TRUE(gif.Transparent());
    EXPECT_EQ(gif.TransparentColor(), kGreen);
}

// Every prefix of a file: refused while the first image's data is not
// whole, the full picture from then on.
void CheckEveryTruncation(const std::vector<uint8_t>& file, size_t imageEnd) {
    const TBitmap whole = Load(file).Bitmap();
    for (size_t length = 0; length < file.size(); ++length) {
        SCOPED_TRACE(length);
        const std::vector<uint8_t> prefix(file.begin(), file.begin() + length);
        if (length < imageEnd) {
            EXPECT_THROW(Load(prefix), EInvalidGraphic);
        } else {
            EXPECT_EQ(Load(prefix).Bitmap(), whole);
        }
    }
}

TEST(GifRead, EveryTruncationIsRefusedCleanly) {
    GifFile f(5, 4, {kBlack, kRed, kGreen, kBlue});
    f.Extension(0xFE, {'h', 'i'});
    f.GraphicControl(true, 2);
    std::vector<uint8_t> indices;
    for (int i = 0; i < 12; ++i)
        indices.push_back(static_cast<uint8_t>(i % 3));
    f.Image(1, 1, 4, 3, 2, LiteralCodes(indices, 2), true, {kWhite, kGrey, kRed, kBlue});
    const size_t imageEnd = f.bytes.size();
    f.Trailer();
    CheckEveryTruncation(f.bytes, imageEnd);

    TBitmap noise(23, 17);
    std::mt19937 random(3);
    for (int y = 0; y < noise.Height(); ++y)
        for (int x = 0; x < noise.Width(); ++x)
            noise.SetPixel(x, y, MakeColour(random() % 5 * 60, 0, random() % 3 * 100));
    const std::vector<uint8_t> saved = Save(noise);
    CheckEveryTruncation(saved, saved.size() - 1);
}

TEST(GifRead, EveryByteChangedGivesAPictureOrARefusal) {
    const std::vector<uint8_t> file = SmallPicture();
    for (size_t at = 0; at < file.size(); ++at) {
        for (int value : {0x00, 0x01, 0x7F, 0x80, 0xFF, file[at] ^ 0x10}) {
            std::vector<uint8_t> changed = file;
            changed[at] = static_cast<uint8_t>(value);
            try {
                const TGIFImage gif = Load(changed);
                EXPECT_LE(int64_t(gif.Width()) * gif.Height(), 65535 * 16);
            } catch (const EInvalidGraphic&) {
            }
        }
    }
}

// The file our writer makes, walked by the format's rules.
struct Layout {
    int tableEntries = 0;
    int minCodeSize = 0;
    size_t largestBlock = 0;
    bool endsWithTrailer = false;
};

Layout Walk(const std::vector<uint8_t>& f) {
    Layout l;
    EXPECT_EQ(std::string(f.begin(), f.begin() + 6), "GIF89a");
    EXPECT_TRUE(f[10] & 0x80);
    l.tableEntries = 2 << (f[10] & 7);
    size_t at = 13 + 3 * l.tableEntries;
    EXPECT_EQ(f.at(at), 0x2C);
    EXPECT_EQ(f.at(at + 9) & 0xC0, 0); // no local table, not interlaced
    at += 10;
    l.minCodeSize = f.at(at++);
    while (const uint8_t n = f.at(at)) {
        l.largestBlock = std::max<size_t>(l.largestBlock, n);
        at += 1 + n;
    }
    l.endsWithTrailer = at + 2 == f.size() && f[at + 1] == 0x3B;
    return l;
}

TBitmap RandomPicture(std::mt19937& random, int width, int height, int colours) {
    std::vector<TColor> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(MakeColour(i, random() % 256, 255 - i));
    TBitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixel(x, y, palette[random() % colours]);
    return b;
}

TEST(GifWrite, RoundTripOfEverySmallSize) {
    std::mt19937 random(11);
    for (int w = 1; w <= 20; ++w) {
        for (int h : {1, w, 21 - w}) {
            SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
            const TBitmap picture = RandomPicture(random, w, h, 1 + random() % 256);
            const std::vector<uint8_t> file = Save(picture);
            EXPECT_TRUE(Walk(file).endsWithTrailer);
            EXPECT_EQ(Load(file).Bitmap(), picture);
        }
    }
}

TEST(GifWrite, RoundTripOfLargePicturesFillsTheTable) {
    std::mt19937 random(5);
    // Noise of 256 colours fills the table many times over; a picture of a
    // few colours in long runs makes long strings.
    const TBitmap noise = RandomPicture(random, 200, 150, 256);
    const std::vector<uint8_t> noiseFile = Save(noise);
    EXPECT_EQ(Load(noiseFile).Bitmap(), noise);
    EXPECT_EQ(Walk(noiseFile).largestBlock, 255u);
    EXPECT_EQ(Walk(noiseFile).minCodeSize, 8);

    TBitmap runs(320, 240);
    for (int y = 0; y < runs.Height(); ++y)
        for (int x = 0; x < runs.Width(); ++x)
            runs.SetPixel(x, y, (x / 37 + y / 19) % 3 == 0 ? kRed : kBlue);
    EXPECT_EQ(Load(Save(runs)).Bitmap(), runs);
    TBitmap flat(400, 300);
    flat.Fill(kGreen);
    EXPECT_EQ(Load(Save(flat)).Bitmap(), flat);
}

TEST(GifWrite, CodeStreamOfASmallPicture) {
    // A A A B: clear, A, the code being defined ("A A"), B, and the end
    // code already at 4 bits, because the reader's table reaches 8 entries
    // as it reads B.
    TBitmap b(4, 1);
    b.Fill(kRed);
    b.SetPixel(3, 0, kBlue);
    const std::vector<uint8_t> file = Save(b);
    CodePacker expected;
    for (auto [code, width] : {std::pair{4, 3}, {0, 3}, {6, 3}, {1, 3}, {5, 4}})
        expected.Put(code, width);
    const size_t data = 13 + 3 * 2 + 10; // header, table of two, image descriptor
    ASSERT_EQ(file.size(), data + 1 + 1 + expected.Bytes().size() + 2);
    EXPECT_EQ(file[data], 2); // minimum code size
    EXPECT_EQ(file[data + 1], expected.Bytes().size());
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + data + 2, file.end() - 2), expected.Bytes());
}

TEST(GifWrite, TableOfTheNextPowerOfTwo) {
    for (auto [colours, entries, minCodeSize] : {std::tuple{1, 2, 2},
                                                 {2, 2, 2},
                                                 {3, 4, 2},
                                                 {4, 4, 2},
                                                 {5, 8, 3},
                                                 {17, 32, 5},
                                                 {129, 256, 8},
                                                 {256, 256, 8}}) {
        SCOPED_TRACE(colours);
        TBitmap b(16, 17);
        for (int i = 0; i < 16 * 17; ++i)
            b.SetPixel(i % 16, i / 16, MakeColour(i % colours, 7, 9));
        const std::vector<uint8_t> file = Save(b);
        const Layout l = Walk(file);
        EXPECT_EQ(l.tableEntries, entries);
        EXPECT_EQ(l.minCodeSize, minCodeSize);
        EXPECT_EQ(Load(file).Bitmap(), b);
    }
}

TEST(GifWrite, RefusesWhatItCannotWrite) {
    TBitmap many(17, 16);
    for (int i = 0; i < 17 * 16; ++i)
        many.SetPixel(i % 17, i / 17, MakeColour(i % 257, i / 257, 0));
    TGIFImage gif;
    gif.Assign(many);
    TMemoryStream stream;
    EXPECT_THROW(gif.SaveToStream(stream), EInvalidGraphic);
    EXPECT_EQ(stream.Size(), 0);
    gif.Assign(TBitmap());
    EXPECT_THROW(gif.SaveToStream(stream), EInvalidGraphic);

    // A 32-bit bitmap is written by its colours; the fourth byte is not one.
    TBitmap wide(2, 1, TPixelFormat::pf32bit);
    wide.SetPixel(0, 0, kRed);
    wide.SetPixel(1, 0, kWhite);
    wide.ScanLine(0)[3] = 99;
    EXPECT_EQ(Row(Load(Save(wide)).Bitmap(), 0), (std::vector<TColor>{kRed, kWhite}));
}

} // namespace
} // namespace qh
