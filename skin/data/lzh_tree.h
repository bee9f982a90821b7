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

    // Counts are 16-bit by the format (the root stops at 0x8000, the
    // sentinel is 0xFFFF) but held in full words: the walks run faster.
    // Sentinels past the root stop a scan for a node's new place; the extra
    // ones let it look at several counts at once.
    static constexpr int kSentinels = 9;
    uint32_t freq[kNodeCount + kSentinels];
    int32_t son[kNodeCount];
    int32_t prnt[kNodeCount + kSymbolCount];

    void Start() {
        for (int s = 0; s < kSymbolCount; ++s) {
            freq[s] = 1;
            son[s] = s + kLeafBase;
            prnt[s + kLeafBase] = s;
        }
        int i = 0;
        for (int j = kSymbolCount; j <= kRoot; ++j) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
            i += 2;
        }
        for (int n = kNodeCount; n < kNodeCount + kSentinels; ++n)
            freq[n] = 0xFFFF;
        prnt[kRoot] = 0;
    }

    // Halves every leaf count (odd counts round up) and rebuilds the
    // internal nodes in frequency order.
    void Rebuild() {
        int j = 0;
        for (int i = 0; i < kNodeCount; ++i) {
            if (son[i] >= kLeafBase) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                ++j;
            }
        }
        int i = 0;
        for (j = kSymbolCount; j < kNodeCount; ++j) {
            const uint32_t f = freq[i] + freq[i + 1];
            int k = j - 1;
            while (f < freq[k])
                --k;
            ++k;
            for (int m = j; m > k; --m) {
                freq[m] = freq[m - 1];
                son[m] = son[m - 1];
            }
            freq[k] = f;
            son[k] = i;
            i += 2;
        }
        for (i = 0; i < kNodeCount; ++i) {
            const int k = son[i];
            if (k >= kLeafBase) {
                prnt[k] = i;
            } else {
                prnt[k] = prnt[k + 1] = i;
            }
        }
    }

    void Update(int symbol) {
        if (freq[kRoot] == kRebuildLimit) Rebuild();
        int c = prnt[symbol + kLeafBase];
        do {
            c = prnt[Increment(c)];
        } while (c != 0);
    }

    // Counts one more for node c and, when that puts it above the next node,
    // swaps it with the highest node still below its new count. Returns the
    // position the node ends at.
    int Increment(int c) {
        const uint32_t k = ++freq[c];
        if (k <= freq[c + 1]) return c;
        return MoveUp(c, k);
    }

    // The swap of Increment, for a node c whose new count k went above the
    // next node's.
    int MoveUp(int c, uint32_t k) {
        // Counts are sorted, so how many of the next few lie below k says how
        // far to move without a branch per count: runs of equal counts are
        // often several nodes long.
        int l = c + 1;
        for (;;) {
            const int below = (freq[l + 1] < k) + (freq[l + 2] < k) + (freq[l + 3] < k) +
                              (freq[l + 4] < k) + (freq[l + 5] < k) + (freq[l + 6] < k) +
                              (freq[l + 7] < k) + (freq[l + 8] < k);
            l += below;
            if (below < 8) break;
        }
        freq[c] = freq[l];
        freq[l] = k;

        const int i = son[c];
        prnt[i] = l;
        if (i < kLeafBase) prnt[i + 1] = l;

        const int j = son[l];
        son[l] = i;
        prnt[j] = c;
        if (j < kLeafBase) prnt[j + 1] = c;
        son[c] = j;
        return l;
    }
};

// The fixed codes of a match position's upper six bits, by first byte.
struct TPositionTables {
    uint8_t upper[256];  // u, the upper six bits
    uint8_t length[256]; // L, the code length in bits
};

constexpr TPositionTables MakePositionTables() {
    // (first u of the band, code length, how many first bytes per u)
    struct TBand {
        int firstU, lastU, length;
    };
    constexpr TBand bands[] = {{0, 0, 3},   {1, 3, 4},   {4, 11, 5},
                              {12, 23, 6}, {24, 47, 7}, {48, 63, 8}};
    TPositionTables t{};
    int b = 0;
    for (const TBand& band : bands) {
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
