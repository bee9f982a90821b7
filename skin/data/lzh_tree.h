// The adaptive Huffman tree shared by the LZH decoder and encoder. Both sides
// must evolve it identically, so there is exactly one copy of the rules.
#pragma once

#include <cstdint>

#include "skin/data/lzh.h"

namespace qh::lzh {

// Nodes are kept sorted by frequency; siblings sit at an even position and
// the odd one after it, so a node's bit under its parent is its parity.
struct THuffmanTree {
    static constexpr int kLeafBase = kNodeCount; // son >= 627 marks a leaf

    uint16_t freq[kNodeCount + 1];
    int16_t son[kNodeCount];
    int16_t prnt[kNodeCount + kSymbolCount];

    void Start() {
        for (int s = 0; s < kSymbolCount; ++s) {
            freq[s] = 1;
            son[s] = static_cast<int16_t>(s + kLeafBase);
            prnt[s + kLeafBase] = static_cast<int16_t>(s);
        }
        int i = 0;
        for (int j = kSymbolCount; j <= kRoot; ++j) {
            freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
            son[j] = static_cast<int16_t>(i);
            prnt[i] = prnt[i + 1] = static_cast<int16_t>(j);
            i += 2;
        }
        freq[kNodeCount] = 0xFFFF;
        prnt[kRoot] = 0;
    }

    // Halves every leaf count (odd counts round up) and rebuilds the
    // internal nodes in frequency order.
    void Rebuild() {
        int j = 0;
        for (int i = 0; i < kNodeCount; ++i) {
            if (son[i] >= kLeafBase) {
                freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
                son[j] = son[i];
                ++j;
            }
        }
        int i = 0;
        for (j = kSymbolCount; j < kNodeCount; ++j) {
            const unsigned f = static_cast<unsigned>(freq[i]) + freq[i + 1];
            int k = j - 1;
            while (f < freq[k])
                --k;
            ++k;
            for (int m = j; m > k; --m) {
                freq[m] = freq[m - 1];
                son[m] = son[m - 1];
            }
            freq[k] = static_cast<uint16_t>(f);
            son[k] = static_cast<int16_t>(i);
            i += 2;
        }
        for (i = 0; i < kNodeCount; ++i) {
            const int k = son[i];
            if (k >= kLeafBase) {
                prnt[k] = static_cast<int16_t>(i);
            } else {
                prnt[k] = prnt[k + 1] = static_cast<int16_t>(i);
            }
        }
    }

    void Update(int symbol) {
        if (freq[kRoot] == kRebuildLimit)
            Rebuild();
        int c = prnt[symbol + kLeafBase];
        do {
            const unsigned k = ++freq[c];
            if (k > freq[c + 1]) {
                int l = c + 1;
                while (k > freq[l + 1])
                    ++l;
                freq[c] = freq[l];
                freq[l] = static_cast<uint16_t>(k);

                const int i = son[c];
                prnt[i] = static_cast<int16_t>(l);
                if (i < kLeafBase)
                    prnt[i + 1] = static_cast<int16_t>(l);

                const int j = son[l];
                son[l] = static_cast<int16_t>(i);
                prnt[j] = static_cast<int16_t>(c);
                if (j < kLeafBase)
                    prnt[j + 1] = static_cast<int16_t>(c);
                son[c] = static_cast<int16_t>(j);

                c = l;
            }
            c = prnt[c];
        } while (c != 0);
    }
};

// The fixed codes of a match position's upper six bits, by first byte.
struct TPositionTables {
    uint8_t upper[256];  // u, the upper six bits
    uint8_t length[256]; // L, the code length in bits
};

constexpr TPositionTables MakePositionTables() {
    // (first u of the band, code length, how many first bytes per u)
    struct Band {
        int firstU, lastU, length;
    };
    constexpr Band bands[] = {{0, 0, 3}, {1, 3, 4}, {4, 11, 5}, {12, 23, 6}, {24, 47, 7}, {48, 63, 8}};
    TPositionTables t{};
    int b = 0;
    for (const Band& band : bands) {
        const int perU = 1 << (8 - band.length);
        for (int u = band.firstU; u <= band.lastU; ++u) {
            for (int n = 0; n < perU; ++n, ++b) {
                t.upper[b] = static_cast<uint8_t>(u);
                t.length[b] = static_cast<uint8_t>(band.length);
            }
        }
    }
    return t;
}

inline constexpr TPositionTables kPositionTables = MakePositionTables();

} // namespace qh::lzh
