#include "tools/contact_sheet/png_writer.h"

#include <array>
#include <cstdint>
#include <vector>

#include "core/stream.h"

namespace sheet {

namespace {

uint32_t Crc(const uint8_t* data, size_t length, uint32_t crc = 0xFFFFFFFFu) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    for (size_t i = 0; i < length; ++i)
        crc = table[(crc ^ data[i]) & 255] ^ (crc >> 8);
    return crc;
}

void Be32(std::vector<uint8_t>& d, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
        d.push_back(static_cast<uint8_t>(v >> s));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    Be32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Be32(out, Crc(body.data(), body.size()) ^ 0xFFFFFFFFu);
}

// Deflate with the fixed codes and a small hash-chain match finder.
class TBitWriter {
public:
    explicit TBitWriter(std::vector<uint8_t>& out) : FOut(out) {}
    void Bits(uint32_t value, int count) { // least significant bit first
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1);
    }
    void Code(uint32_t code, int length) { // Huffman codes go most significant first
        for (int i = length - 1; i >= 0; --i)
            Bit((code >> i) & 1);
    }
    void Flush() {
        if (FCount) FOut.push_back(FCurrent);
        FCount = FCurrent = 0;
    }

private:
    void Bit(uint32_t bit) {
        FCurrent |= static_cast<uint8_t>(bit << FCount);
        if (++FCount == 8) Flush();
    }
    std::vector<uint8_t>& FOut;
    uint8_t FCurrent = 0;
    int FCount = 0;
};

void Symbol(TBitWriter& w, int symbol) {
    if (symbol < 144)
        w.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        w.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        w.Code(symbol - 256, 7);
    else
        w.Code(0xC0 + symbol - 280, 8);
}

void Match(TBitWriter& w, int length, int distance) {
    static const int lengthBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                     15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                     67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int lengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static const int distBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                   33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                   1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static const int distExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    int l = 28;
    while (lengthBase[l] > length)
        --l;
    Symbol(w, 257 + l);
    w.Bits(length - lengthBase[l], lengthExtra[l]);
    int d = 29;
    while (distBase[d] > distance)
        --d;
    w.Code(d, 5);
    w.Bits(distance - distBase[d], distExtra[d]);
}

void Deflate(const std::vector<uint8_t>& data, std::vector<uint8_t>& out) {
    TBitWriter w(out);
    w.Bits(1, 1); // the last block
    w.Bits(1, 2); // fixed codes
    constexpr int kWindow = 32768, kHashSize = 1 << 15, kChain = 32;
    std::vector<int> head(kHashSize, -1), previous(data.size(), -1);
    auto hash = [&](size_t i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & (kHashSize - 1);
    };
    size_t i = 0;
    while (i < data.size()) {
        int bestLength = 0, bestDistance = 0;
        if (i + 2 < data.size()) {
            const int h = hash(i);
            int candidate = head[h];
            for (int steps = 0; candidate >= 0 && steps < kChain; ++steps) {
                if (i - candidate > kWindow) break;
                int length = 0;
                while (length < 258 && i + length < data.size() &&
                       data[candidate + length] == data[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = static_cast<int>(i - candidate);
                }
                candidate = previous[candidate];
            }
        }
        const size_t step = bestLength >= 3 ? bestLength : 1;
        if (bestLength >= 3)
            Match(w, bestLength, bestDistance);
        else
            Symbol(w, data[i]);
        for (size_t k = 0; k < step; ++k, ++i)
            if (i + 2 < data.size()) {
                const int h = hash(i);
                previous[i] = head[h];
                head[h] = static_cast<int>(i);
            }
    }
    Symbol(w, 256);
    w.Flush();
}

} // namespace

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& pixels,
                               bool withAlpha) {
    const size_t rowBytes = static_cast<size_t>(width) * (withAlpha ? 4 : 3);
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; ++y) {
        // The "up" filter: a row like the one above becomes zeros.
        raw.push_back(y == 0 ? 0 : 2);
        const uint8_t* row = pixels.data() + rowBytes * y;
        for (size_t i = 0; i < rowBytes; ++i)
            raw.push_back(static_cast<uint8_t>(row[i] - (y == 0 ? 0 : row[i - rowBytes])));
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    Deflate(raw, z);
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Be32(z, (b << 16) | a);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Be32(header, static_cast<uint32_t>(width));
    Be32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, static_cast<uint8_t>(withAlpha ? 6 : 2), 0, 0, 0});
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    return out;
}

void SavePng(const qh::TBitmap& bitmap, const std::string& fileName) {
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(bitmap.Width()) * bitmap.Height() * 3);
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const qh::TColor c = bitmap.GetPixel(x, y);
            rgb.insert(rgb.end(), {static_cast<uint8_t>(qh::ColourR(c)),
                                   static_cast<uint8_t>(qh::ColourG(c)),
                                   static_cast<uint8_t>(qh::ColourB(c))});
        }
    const std::vector<uint8_t> out = EncodePng(bitmap.Width(), bitmap.Height(), rgb, false);
    qh::TFileStream file(fileName, qh::TFileMode::fmCreate);
    file.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

} // namespace sheet
