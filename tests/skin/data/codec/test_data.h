// Data sets and stream builders shared by the codec suites.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/lzh_tree.h"

namespace qh::test {

using TBytes = std::vector<uint8_t>;

inline TBytes RandomBytes(size_t count, uint32_t seed) {
    TBytes out(count);
    for (uint8_t& b : out) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    return out;
}

inline TBytes TextBytes(size_t count) {
    static const char* const kWords[] = {"[Form]",    "Caption=", "Border", "Color=", "12345",
                                         "title.bmp", "\r\n",     "Left",   "Top=",   " "};
    TBytes out;
    uint32_t seed = 7;
    while (out.size() < count) {
        seed = seed * 1103515245u + 12345u;
        const std::string word = kWords[(seed >> 16) % 10];
        out.insert(out.end(), word.begin(), word.end());
    }
    out.resize(count);
    return out;
}

// Like a 24-bit bitmap: a header, then rows of gradients and flat runs with
// a little noise.
inline TBytes BitmapLikeBytes(size_t count) {
    TBytes out = {'B', 'M'};
    out.resize(54, 0);
    uint32_t seed = 99;
    size_t x = 0;
    while (out.size() < count) {
        seed = seed * 1103515245u + 12345u;
        const uint8_t noise = (seed >> 16) % 5 == 0 ? static_cast<uint8_t>(seed >> 24) & 3 : 0;
        out.push_back(static_cast<uint8_t>((x / 3) % 200 + noise));
        out.push_back(static_cast<uint8_t>(x % 1000 < 600 ? 0xC0 : 0x40));
        out.push_back(static_cast<uint8_t>((x / 40) & 0xFF));
        ++x;
    }
    out.resize(count);
    return out;
}

// Writes hand-chosen codes, literals and copies, with the tree the decoder
// keeps, so tests can build streams the packer would never emit.
class TTokenWriter {
public:
    TTokenWriter() { FTree.Start(); }

    void Literal(int byte) { Symbol(byte); }
    void Copy(int length, int position) {
        Symbol(253 + length);
        const int upper = position >> 6;
        int first = 0;
        while (lzh::kPositionTables.upper[first] != upper)
            ++first;
        const int codeLength = lzh::kPositionTables.length[first];
        for (int n = 7; n > 7 - codeLength; --n)
            Bit((first >> n) & 1);
        for (int n = 5; n >= 0; --n)
            Bit((position >> n) & 1);
    }

    TBytes Finish() {
        TBytes out = FBytes;
        if (FUsed > 0) out.push_back(static_cast<uint8_t>(FPending << (8 - FUsed)));
        return out;
    }

private:
    void Symbol(int symbol) {
        std::vector<int> path;
        for (int node = FTree.prnt[symbol + lzh::kNodeCount]; node != lzh::kRoot;
             node = FTree.prnt[node])
            path.push_back(node & 1);
        for (auto it = path.rbegin(); it != path.rend(); ++it)
            Bit(*it);
        FTree.Update(symbol);
    }

    void Bit(int bit) {
        FPending = static_cast<uint8_t>((FPending << 1) | bit);
        if (++FUsed == 8) {
            FBytes.push_back(FPending);
            FPending = 0;
            FUsed = 0;
        }
    }

    lzh::THuffmanTree FTree;
    TBytes FBytes;
    uint8_t FPending = 0;
    int FUsed = 0;
};

inline uint32_t Crc32(const TBytes& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

} // namespace qh::test
