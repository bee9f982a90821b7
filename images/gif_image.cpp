#include "images/gif_image.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qh {

namespace {

[[noreturn]] void Invalid(const char* reason) {
    throw EInvalidGraphic(std::string("GIF image is not valid: ") + reason);
}

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

// Reads the stream through a small buffer, so a file is never held whole,
// and gives back what it read ahead when done.
class TByteReader {
public:
    explicit TByteReader(TStream& stream) : FStream(stream) {}

    uint8_t Byte() {
        if (FAt == FEnd) {
            FEnd = static_cast<size_t>(FStream.Read(FBuffer.data(), FBuffer.size()));
            FAt = 0;
            if (FEnd == 0) Invalid("the file ends too soon");
        }
        return FBuffer[FAt++];
    }
    uint32_t Word() {
        const uint32_t low = Byte();
        return low | (static_cast<uint32_t>(Byte()) << 8);
    }
    void Bytes(uint8_t* to, size_t count) {
        for (size_t i = 0; i < count; ++i)
            to[i] = Byte();
    }
    void Skip(size_t count) {
        for (size_t i = 0; i < count; ++i)
            Byte();
    }
    // Skips sub-blocks up to and including the empty one that ends them.
    void SkipSubBlocks() {
        while (const uint8_t size = Byte())
            Skip(size);
    }
    // Leaves the stream just after the last byte used.
    void Finish() {
        if (FAt < FEnd) FStream.Seek(-static_cast<int64_t>(FEnd - FAt), TSeekOrigin::soCurrent);
        FAt = FEnd = 0;
    }

private:
    TStream& FStream;
    std::array<uint8_t, 4096> FBuffer{};
    size_t FAt = 0;
    size_t FEnd = 0;
};

using ColourTable = std::vector<TColor>;

ColourTable ReadColourTable(TByteReader& in, int sizeField) {
    ColourTable table(static_cast<size_t>(2) << sizeField);
    for (TColor& c : table) {
        uint8_t rgb[3];
        in.Bytes(rgb, 3);
        c = MakeColour(rgb[0], rgb[1], rgb[2]);
    }
    return table;
}

// Walks the image's pixels in file order, rows in the four-pass order when
// interlaced, and paints them into the screen bitmap.
class TPixelSink {
public:
    TPixelSink(TBitmap& screen, const ColourTable& table, int left, int top, int width, int height,
              bool interlaced)
        : FScreen(screen), FTable(table), FLeft(left), FTop(top), FWidth(width), FHeight(height),
          FInterlaced(interlaced), FRemaining(static_cast<int64_t>(width) * height) {}

    bool Full() const { return FRemaining == 0; }

    void Put(uint8_t index) {
        if (FRemaining == 0) return; // data beyond the image is ignored
        if (index >= FTable.size()) Invalid("a pixel names a colour beyond the colour table");
        const TColor c = FTable[index];
        uint8_t* p = FScreen.ScanLine(FTop + FRow) + (FLeft + FX) * 3;
        p[0] = static_cast<uint8_t>(ColourB(c));
        p[1] = static_cast<uint8_t>(ColourG(c));
        p[2] = static_cast<uint8_t>(ColourR(c));
        --FRemaining;
        if (++FX < FWidth) return;
        FX = 0;
        NextRow();
    }

private:
    void NextRow() {
        if (!FInterlaced) {
            ++FRow;
            return;
        }
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        FRow += kStep[FPass];
        // A short picture has passes without rows.
        while (FRow >= FHeight && FPass < 3) {
            ++FPass;
            FRow = kStart[FPass];
        }
    }

    TBitmap& FScreen;
    const ColourTable& FTable;
    const int FLeft, FTop, FWidth, FHeight;
    const bool FInterlaced;
    int64_t FRemaining;
    int FX = 0;
    int FRow = 0;
    int FPass = 0;
};

// Codes packed from the lowest bit up, across the image's sub-blocks.
class TCodeReader {
public:
    explicit TCodeReader(TByteReader& in) : FIn(in) {}

    // Returns -1 at the end of the sub-blocks.
    int Code(int width) {
        while (FBitCount < width) {
            if (FBlockLeft == 0) {
                if (FEnded) return -1;
                FBlockLeft = FIn.Byte();
                if (FBlockLeft == 0) {
                    FEnded = true;
                    return -1;
                }
            }
            FBits |= static_cast<uint32_t>(FIn.Byte()) << FBitCount;
            FBitCount += 8;
            --FBlockLeft;
        }
        const int code = static_cast<int>(FBits & ((1u << width) - 1));
        FBits >>= width;
        FBitCount -= width;
        return code;
    }
    // Reads past what is left of the sub-blocks, terminator included.
    void SkipRest() {
        if (FEnded) return;
        FIn.Skip(FBlockLeft);
        FIn.SkipSubBlocks();
        FEnded = true;
    }

private:
    TByteReader& FIn;
    uint32_t FBits = 0;
    int FBitCount = 0;
    int FBlockLeft = 0;
    bool FEnded = false;
};

void DecodeImageData(TByteReader& in, int minCodeSize, TPixelSink& sink) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    // Each table entry is a shorter entry (its prefix) plus one index.
    std::vector<uint16_t> prefix(kTableSize);
    std::vector<uint8_t> suffix(kTableSize);
    std::vector<uint8_t> firstOf(kTableSize);
    for (int i = 0; i < clearCode; ++i) {
        suffix[i] = static_cast<uint8_t>(i);
        firstOf[i] = static_cast<uint8_t>(i);
    }
    std::array<uint8_t, kTableSize> string{};

    TCodeReader codes(in);
    int width = minCodeSize + 1;
    int next = endCode + 1;
    int previous = -1; // none since the last clear code
    while (!sink.Full()) {
        const int code = codes.Code(width);
        if (code < 0 || code == endCode) break;
        if (code == clearCode) {
            width = minCodeSize + 1;
            next = endCode + 1;
            previous = -1;
            continue;
        }
        // After a clear code only a single index can come.
        if (code > next || (previous < 0 && code > clearCode))
            Invalid("the picture data holds a code not yet defined");
        // A code one past the table is the previous string plus its own
        // first index.
        const bool pending = code == next;
        const uint8_t first = pending ? firstOf[previous] : firstOf[code];
        if (previous >= 0 && next < kTableSize) {
            prefix[next] = static_cast<uint16_t>(previous);
            suffix[next] = first;
            firstOf[next] = firstOf[previous];
            ++next;
        }
        if (next >= (1 << width) && width < kMaxCodeBits) ++width;

        int length = 0;
        for (int c = code;; c = prefix[c]) {
            string[length++] = suffix[c];
            if (c < clearCode) break;
        }
        for (int i = length - 1; i >= 0; --i)
            sink.Put(string[i]);
        previous = code;
    }
    if (!sink.Full()) Invalid("the picture data ends before the image is complete");
    codes.SkipRest();
}

struct TDecoded {
    TBitmap bitmap;
    int transparentIndex = -1;
    TColor transparentColour = 0;
};

TDecoded Decode(TStream& stream) {
    TByteReader in(stream);
    uint8_t signature[6];
    in.Bytes(signature, 6);
    if (std::memcmp(signature, "GIF87a", 6) != 0 && std::memcmp(signature, "GIF89a", 6) != 0)
        Invalid("no GIF signature");

    const int screenWidth = static_cast<int>(in.Word());
    const int screenHeight = static_cast<int>(in.Word());
    const uint8_t screenFlags = in.Byte();
    const uint8_t backgroundIndex = in.Byte();
    in.Byte(); // pixel aspect ratio
    if (screenWidth == 0 || screenHeight == 0) Invalid("the screen is empty");
    if (screenWidth > TBitmap::kMaxSide || screenHeight > TBitmap::kMaxSide ||
        static_cast<int64_t>(screenWidth) * screenHeight > TBitmap::kMaxPixels)
        Invalid("the screen is too large");
    ColourTable globalTable;
    if (screenFlags & 0x80) globalTable = ReadColourTable(in, screenFlags & 7);

    TDecoded result;
    int transparentIndex = -1;
    for (;;) {
        const uint8_t introducer = in.Byte();
        if (introducer == kTrailer) Invalid("the file holds no image");
        if (introducer == kExtensionIntroducer) {
            const uint8_t label = in.Byte();
            if (label == kGraphicControlLabel) {
                // Only the block before the first image counts; the last
                // one wins if there are several.
                const uint8_t size = in.Byte();
                if (size == 0) continue;
                std::vector<uint8_t> block(size);
                in.Bytes(block.data(), size);
                if (size >= 4) transparentIndex = (block[0] & 1) ? block[3] : -1;
            }
            in.SkipSubBlocks();
            continue;
        }
        if (introducer != kImageSeparator) Invalid("an unknown block");

        const int left = static_cast<int>(in.Word());
        const int top = static_cast<int>(in.Word());
        const int width = static_cast<int>(in.Word());
        const int height = static_cast<int>(in.Word());
        const uint8_t imageFlags = in.Byte();
        if (width == 0 || height == 0) Invalid("the image is empty");
        if (left + width > screenWidth || top + height > screenHeight)
            Invalid("the image lies outside the screen");
        ColourTable localTable;
        if (imageFlags & 0x80) localTable = ReadColourTable(in, imageFlags & 7);
        const ColourTable& table = (imageFlags & 0x80) ? localTable : globalTable;
        if (table.empty()) Invalid("no colour table");
        const int minCodeSize = in.Byte();
        if (minCodeSize < 1 || minCodeSize > 8) Invalid("a bad code size");

        result.bitmap.SetSize(screenWidth, screenHeight);
        const TColor background =
            backgroundIndex < globalTable.size() ? globalTable[backgroundIndex] : 0;
        if (background != 0) result.bitmap.Fill(background);
        TPixelSink sink(result.bitmap, table, left, top, width, height, imageFlags & 0x40);
        DecodeImageData(in, minCodeSize, sink);
        if (transparentIndex >= 0 && static_cast<size_t>(transparentIndex) < table.size()) {
            result.transparentIndex = transparentIndex;
            result.transparentColour = table[transparentIndex];
        }
        in.Finish();
        return result;
    }
}

// The writer's side of the code stream: codes packed from the lowest bit
// up into sub-blocks of at most 255 bytes.
class TCodeWriter {
public:
    explicit TCodeWriter(std::vector<uint8_t>& out) : FOut(out) {}

    void Code(int code, int width) {
        FBits |= static_cast<uint32_t>(code) << FBitCount;
        FBitCount += width;
        while (FBitCount >= 8) {
            Put(static_cast<uint8_t>(FBits));
            FBits >>= 8;
            FBitCount -= 8;
        }
    }
    void Finish() {
        if (FBitCount > 0) Put(static_cast<uint8_t>(FBits));
        Flush();
        FOut.push_back(0);
    }

private:
    void Put(uint8_t byte) {
        FBlock.push_back(byte);
        if (FBlock.size() == 255) Flush();
    }
    void Flush() {
        if (FBlock.empty()) return;
        FOut.push_back(static_cast<uint8_t>(FBlock.size()));
        FOut.insert(FOut.end(), FBlock.begin(), FBlock.end());
        FBlock.clear();
    }

    std::vector<uint8_t>& FOut;
    std::vector<uint8_t> FBlock;
    uint32_t FBits = 0;
    int FBitCount = 0;
};

// Greedy LZW: the longest known string, then a new entry for it plus the
// next index. A full table is started afresh with a clear code.
void EncodeImageData(const std::vector<uint8_t>& indices, int minCodeSize,
                     std::vector<uint8_t>& out) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    out.push_back(static_cast<uint8_t>(minCodeSize));
    TCodeWriter writer(out);
    std::unordered_map<uint32_t, uint16_t> table; // prefix code * 256 + index -> code
    int width = minCodeSize + 1;
    int next = endCode + 1;
    writer.Code(clearCode, width);

    int current = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint32_t key = static_cast<uint32_t>(current) << 8 | indices[i];
        if (const auto found = table.find(key); found != table.end()) {
            current = found->second;
            continue;
        }
        writer.Code(current, width);
        // The reader widens its codes as soon as its table (one entry
        // behind this one) reaches the width's limit.
        if (next >= (1 << width) && width < kMaxCodeBits) ++width;
        if (next < kTableSize) {
            table.emplace(key, static_cast<uint16_t>(next++));
        } else {
            writer.Code(clearCode, width);
            table.clear();
            width = minCodeSize + 1;
            next = endCode + 1;
        }
        current = indices[i];
    }
    writer.Code(current, width);
    if (next >= (1 << width) && width < kMaxCodeBits) ++width;
    writer.Code(endCode, width);
    writer.Finish();
}

void PutWord(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 255));
    out.push_back(static_cast<uint8_t>((value >> 8) & 255));
}

} // namespace

void TGIFImage::LoadFromStream(TStream& stream) {
    TDecoded decoded = Decode(stream);
    FBitmap = std::move(decoded.bitmap);
    FTransparentIndex = decoded.transparentIndex;
    FTransparentColor = decoded.transparentColour;
}

void TGIFImage::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, TFileMode::fmOpenRead);
    LoadFromStream(file);
}

void TGIFImage::Assign(const TBitmap& bitmap) {
    FBitmap = bitmap;
    FBitmap.SetPixelFormat(TPixelFormat::pf24bit);
    FTransparentIndex = -1;
    FTransparentColor = 0;
}

void TGIFImage::SaveToStream(TStream& stream) const {
    const int width = FBitmap.Width();
    const int height = FBitmap.Height();
    if (FBitmap.Empty()) Invalid("nothing to save");

    std::vector<TColor> colours;
    std::unordered_map<TColor, uint8_t> indexOf;
    std::vector<uint8_t> indices;
    indices.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const TColor c = FBitmap.GetPixel(x, y);
            auto found = indexOf.find(c);
            if (found == indexOf.end()) {
                if (colours.size() == 256) Invalid("more than 256 colours");
                found = indexOf.emplace(c, static_cast<uint8_t>(colours.size())).first;
                colours.push_back(c);
            }
            indices.push_back(found->second);
        }
    }
    int tableBits = 1;
    while ((1u << tableBits) < colours.size())
        ++tableBits;

    std::vector<uint8_t> out;
    for (const char c : std::string_view("GIF89a"))
        out.push_back(static_cast<uint8_t>(c));
    PutWord(out, width);
    PutWord(out, height);
    // A global table, colour resolution and table size of tableBits.
    out.push_back(static_cast<uint8_t>(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));
    out.push_back(0); // background index
    out.push_back(0); // no aspect ratio
    for (int i = 0; i < (1 << tableBits); ++i) {
        const TColor c = i < static_cast<int>(colours.size()) ? colours[i] : 0;
        out.push_back(static_cast<uint8_t>(ColourR(c)));
        out.push_back(static_cast<uint8_t>(ColourG(c)));
        out.push_back(static_cast<uint8_t>(ColourB(c)));
    }
    out.push_back(kImageSeparator);
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, width);
    PutWord(out, height);
    out.push_back(0); // no local table, not interlaced
    // Two-colour pictures still code with 2 bits, as every reader expects.
    EncodeImageData(indices, std::max(2, tableBits), out);
    out.push_back(kTrailer);
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TGIFImage::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, TFileMode::fmCreate);
    SaveToStream(file);
}

} // namespace qh
