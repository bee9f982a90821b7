#include "skin/data/lzh.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "core/stream.h"
#include "skin/data/lzh_tree.h"

namespace qh {

using namespace lzh;

namespace {

std::unique_ptr<THuffmanTree> ObtainTree() {
    try {
        return std::make_unique<THuffmanTree>();
    } catch (const std::bad_alloc&) {
        throw ElzhException(kLzhNoMemoryMessage);
    }
}

// The byte-at-a-time form: a 16-bit buffer topped up to at least 9 bits
// before each take, missing input reading as zero bytes.
class TCallbackBits {
public:
    explicit TCallbackBits(const TLZH::TSource& source) : FSource(source) {}

    int Bit() {
        Fill();
        const int bit = FBuffer >> 15;
        FBuffer = static_cast<uint16_t>(FBuffer << 1);
        --FCount;
        return bit;
    }

    int Byte() {
        Fill();
        const int byte = FBuffer >> 8;
        FBuffer = static_cast<uint16_t>(FBuffer << 8);
        FCount = static_cast<uint8_t>(FCount - 8);
        return byte;
    }

private:
    void Fill() {
        while (FCount < 9) {
            uint8_t b = 0;
            if (FSource(&b, 1) != 1) b = 0;
            FBuffer = static_cast<uint16_t>(FBuffer | (b << (8 - FCount)));
            FCount = static_cast<uint8_t>(FCount + 8);
        }
    }

    const TLZH::TSource& FSource;
    uint16_t FBuffer = 0;
    uint8_t FCount = 0;
};

// The fast form: 64 bits at a time, left-aligned, so the hot loop refills
// once per symbol at most. Bytes come from a buffer, topped up from a stream
// in chunks when there is one.
class TBufferBits {
public:
    TBufferBits(const uint8_t* input, size_t length) : FNext(input), FEnd(input + length) {}
    explicit TBufferBits(TStream& stream) : FStream(&stream), FChunk(kChunkSize) {}

    // Makes sure at least 56 bits are buffered.
    void Refill() {
        if (FEnd - FNext >= 8) {
            // Big-endian assembly, written out: compilers fold this form into
            // one load and a swap, while a loop stays eight loads.
            const uint8_t* p = FNext;
            const uint64_t word = static_cast<uint64_t>(p[0]) << 56 |
                                  static_cast<uint64_t>(p[1]) << 48 |
                                  static_cast<uint64_t>(p[2]) << 40 |
                                  static_cast<uint64_t>(p[3]) << 32 |
                                  static_cast<uint64_t>(p[4]) << 24 |
                                  static_cast<uint64_t>(p[5]) << 16 |
                                  static_cast<uint64_t>(p[6]) << 8 | static_cast<uint64_t>(p[7]);
            // Bits past the whole bytes taken are the stream's own next bits,
            // so loading them again later ORs in the same values.
            FBuffer |= word >> FCount;
            const int taken = (63 - FCount) >> 3;
            FNext += taken;
            FCount += taken * 8;
            return;
        }
        RefillNearEnd();
    }

    // The tree's depth is not bounded by the format, so a walk may empty
    // the buffer; that costs one predictable branch per bit.
    int Bit() {
        if (FCount == 0) Refill();
        const int bit = static_cast<int>(FBuffer >> 63);
        FBuffer <<= 1;
        --FCount;
        return bit;
    }

    int Bits(int n) {
        const int value = static_cast<int>(FBuffer >> (64 - n));
        FBuffer <<= n;
        FCount -= n;
        return value;
    }

    int Available() const { return FCount; }
    // Bits taken from past the end of the input (negative while none).
    int64_t PaddingTaken() const { return FPadding * 8 - FCount; }
    // The buffered bits, next one at the top, for walks that count for
    // themselves and Skip afterwards.
    uint64_t Peek() const { return FBuffer; }
    void Skip(int n) {
        FBuffer <<= n;
        FCount -= n;
    }

private:
    static constexpr size_t kChunkSize = 64 * 1024;

    // Kept out of line so the hot path above stays small enough to inline.
    void RefillNearEnd() {
        while (FCount <= 56) {
            if (FNext == FEnd && !NextChunk()) {
                FCount += 8; // past the end the stream reads as zeros
                ++FPadding;
                continue;
            }
            FBuffer |= static_cast<uint64_t>(*FNext++) << (56 - FCount);
            FCount += 8;
        }
    }

    // Called once the current chunk is used up.
    bool NextChunk() {
        if (FStream == nullptr || FStreamDone) return false;
        const int64_t got = FStream->Read(FChunk.data(), static_cast<int64_t>(FChunk.size()));
        if (got <= 0) {
            FStreamDone = true;
            return false;
        }
        FNext = FChunk.data();
        FEnd = FNext + got;
        return true;
    }

    TStream* FStream = nullptr;
    bool FStreamDone = false;
    std::vector<uint8_t> FChunk;
    const uint8_t* FNext = nullptr;
    const uint8_t* FEnd = nullptr;
    uint64_t FBuffer = 0;
    int FCount = 0;
    int64_t FPadding = 0; // zero bytes supplied past the end
};

template <typename Bits> int DecodeSymbol(THuffmanTree& tree, Bits& bits) {
    int c = tree.son[kRoot];
    while (c < THuffmanTree::kLeafBase)
        c = tree.son[c + bits.Bit()];
    c -= THuffmanTree::kLeafBase;
    tree.Update(c);
    return c;
}

int DecodePosition(TCallbackBits& bits) {
    int b = bits.Byte();
    const int upper = kPositionTables.upper[b];
    const int length = kPositionTables.length[b];
    for (int n = length - 2; n > 0; --n)
        b = (b << 1) + bits.Bit();
    return (upper << 6) | (b & 63);
}

} // namespace

void TLZH::Decode(int32_t size, const TSink& sink, const TSource& source) {
    if (size <= 0) return;
    std::unique_ptr<THuffmanTree> tree = ObtainTree();
    tree->Start();
    TCallbackBits bits(source);

    uint8_t window[kWindowSize + kLongestMatch - 1];
    std::memset(window, ' ', sizeof window);
    int r = kWindowPreset;
    int64_t produced = 0;
    while (produced < size) {
        const int c = DecodeSymbol(*tree, bits);
        if (c < 256) {
            const uint8_t byte = static_cast<uint8_t>(c);
            sink(&byte, 1);
            window[r] = byte;
            r = (r + 1) & kWindowMask;
            ++produced;
        } else {
            const int i = r - DecodePosition(bits) - 1;
            const int length = c - 255 + kThreshold;
            for (int k = 0; k < length; ++k) {
                const uint8_t byte = window[(i + k) & kWindowMask];
                sink(&byte, 1);
                window[r] = byte;
                r = (r + 1) & kWindowMask;
                ++produced;
            }
        }
    }
}

namespace {

// Symbol decoding for the fast form. A table gives, for the next kTableBits
// bits, the node the walk down reaches (or the leaf it meets first and how
// many bits that took), so most symbols cost one look-up instead of a load
// per bit. Only a change of son[] at a node within kTableBits of the root
// alters the table, and of those only the entries under that node's code;
// nearly all swaps happen deeper, between leaves.
class TTableTree {
public:
    explicit TTableTree(THuffmanTree& tree) : FTree(tree) { FillAll(); }

    int Decode(TBufferBits& bits) {
        THuffmanTree& t = FTree;
        const uint64_t ahead = bits.Peek();
        const int entry = FTable[ahead >> (64 - kTableBits)];
        int c = entry & kNodeMask;
        int depth = entry >> kWidthShift;
        if (c < THuffmanTree::kLeafBase) {
            uint64_t rest = ahead << kTableBits;
            do {
                c = t.son[c + static_cast<int>(rest >> 63)];
                rest <<= 1;
                ++depth;
            } while (c < THuffmanTree::kLeafBase && depth < kBuffered);
            if (c < THuffmanTree::kLeafBase) {
                // Only a degenerate tree is this deep; finish the plain way.
                bits.Skip(depth);
                while (c < THuffmanTree::kLeafBase)
                    c = t.son[c + bits.Bit()];
                depth = kBuffered + 1; // beyond the table, which is all depth says
            } else {
                bits.Skip(depth);
            }
        } else {
            bits.Skip(depth);
        }
        const int symbol = c - THuffmanTree::kLeafBase;

        if (t.freq[kRoot] == kRebuildLimit) {
            t.Update(symbol);
            FillAll();
            return symbol;
        }

        // The climb, two levels a step by a table of grandparents. The
        // common case is at most one swap, at the leaf: then the two
        // positions it touched are the leaf's old one, whose code was just
        // read, and its new one, whose code the climb spells out by the
        // parities it passes.
        const int leaf = t.prnt[c];
        int node = leaf;
        int moved = -1;
        const uint32_t k = ++t.freq[node];
        if (k > t.freq[node + 1]) {
            node = moved = t.MoveUp(node, k);
            Regrand(leaf);
            Regrand(moved);
        }
        uint32_t code = static_cast<uint32_t>(node & 1);
        int level = 1;
        int swaps = 0;
        int touched[kTouchedMax];
        int up = t.prnt[node];
        while (up != kRoot) {
            const int above = t.prnt[up];
            const int beyond = FGrand[up];
            uint32_t n = ++t.freq[up];
            if (n > t.freq[up + 1]) {
                up = Swap(up, n, touched, swaps);
                code |= static_cast<uint32_t>(up & 1) << (level & 31);
                ++level;
                up = t.prnt[up];
                continue;
            }
            code |= static_cast<uint32_t>(up & 1) << (level & 31);
            ++level;
            if (above == kRoot) break;
            n = ++t.freq[above];
            if (n > t.freq[above + 1]) {
                up = Swap(above, n, touched, swaps);
                code |= static_cast<uint32_t>(up & 1) << (level & 31);
                ++level;
                up = t.prnt[up];
                continue;
            }
            code |= static_cast<uint32_t>(above & 1) << (level & 31);
            ++level;
            up = beyond;
        }
        ++t.freq[kRoot];

        if (swaps == 0) {
            if (moved >= 0) {
                Refill(leaf, depth, static_cast<uint32_t>(ahead >> (64 - (depth <= kTableBits ? depth : 1))));
                Refill(moved, level, code);
            }
        } else if (swaps > kTouchedMax / 2) {
            FillAll();
        } else {
            if (moved >= 0) {
                RefillAt(leaf);
                RefillAt(moved);
            }
            for (int i = 0; i < 2 * swaps; ++i)
                RefillAt(touched[i]);
        }
        return symbol;
    }

private:
    // A swap above the leaf, noting the positions it touched.
    int Swap(int up, uint32_t count, int* touched, int& swaps) {
        const int to = FTree.MoveUp(up, count);
        Regrand(up);
        Regrand(to);
        if (swaps < kTouchedMax / 2) {
            touched[2 * swaps] = up;
            touched[2 * swaps + 1] = to;
        }
        ++swaps;
        return to;
    }

    // After a swap put another node at position x: its children and
    // grandchildren have new grandparents.
    void Regrand(int x) {
        const THuffmanTree& t = FTree;
        const int child = t.son[x];
        FGrand[child] = t.prnt[x];
        if (child >= THuffmanTree::kLeafBase) return;
        FGrand[child + 1] = t.prnt[x];
        for (int side = child; side <= child + 1; ++side) {
            const int grandchild = t.son[side];
            FGrand[grandchild] = x;
            if (grandchild < THuffmanTree::kLeafBase) FGrand[grandchild + 1] = x;
        }
    }

    static constexpr int kTableBits = 7;
    static constexpr int kNodeMask = 1023;
    static constexpr int kWidthShift = 10;
    static constexpr int kBuffered = 48; // within the 56 bits Refill guarantees
    static constexpr int kTouchedMax = 16;

    // The entries under the node at position x, whose code is the depth
    // bits of code; nothing when x lies deeper than the table reaches.
    void Refill(int x, int depth, uint32_t code) {
        if (depth > kTableBits) return;
        const int spare = kTableBits - depth;
        const int first = static_cast<int>(code << spare);
        const int below = FTree.son[x];
        for (int s = 0; s < (1 << spare); ++s) {
            int c = below;
            int d = depth;
            while (c < THuffmanTree::kLeafBase && d < kTableBits) {
                c = FTree.son[c + ((s >> (kTableBits - 1 - d)) & 1)];
                ++d;
            }
            FTable[first + s] = static_cast<uint16_t>(c | d << kWidthShift);
        }
    }

    // The same for a position whose code is not at hand: the climb spells it.
    void RefillAt(int x) {
        uint32_t code = 0;
        int depth = 0;
        for (int p = x; p != kRoot; p = FTree.prnt[p]) {
            if (depth == kTableBits) return;
            code |= static_cast<uint32_t>(p & 1) << depth;
            ++depth;
        }
        Refill(x, depth, code);
    }

    void FillAll() {
        for (int x = 0; x < kNodeCount + kSymbolCount; ++x) {
            const int p = FTree.prnt[x];
            FGrand[x] = p == kRoot ? 0 : FTree.prnt[p];
        }
        for (int s = 0; s < (1 << kTableBits); ++s) {
            int c = FTree.son[kRoot];
            int d = 0;
            while (c < THuffmanTree::kLeafBase && d < kTableBits) {
                c = FTree.son[c + ((s >> (kTableBits - 1 - d)) & 1)];
                ++d;
            }
            FTable[s] = static_cast<uint16_t>(c | d << kWidthShift);
        }
    }

    THuffmanTree& FTree;
    uint16_t FTable[1 << kTableBits];
    int32_t FGrand[kNodeCount + kSymbolCount]; // prnt[prnt[x]]
};

// A complete stream ends within its last byte; the slack allows for an
// encoder that drops a final partial byte. Detection is a bound, not proof:
// zero bits may happen to finish the output, so a cut of a byte or two can
// pass unnoticed.
constexpr int64_t kPaddingSlackBits = 7;

std::vector<uint8_t> DecodeFast(TBufferBits& bits, int32_t size, bool* inputSufficed) {
    if (size <= 0) return {};
    std::unique_ptr<THuffmanTree> tree = ObtainTree();
    tree->Start();
    TTableTree symbols(*tree);

    // The output itself is the window, with room behind for a last copy
    // that runs past size and for copies made a word at a time. A copy from
    // before the output's start reads the window's start state: spaces (the
    // positions the preset leaves open are spaces too).
    constexpr size_t kChunk = 8;
    std::vector<uint8_t> out;
    try {
        out.resize(static_cast<size_t>(size) + kLongestMatch + kChunk);
    } catch (const std::bad_alloc&) {
        throw ElzhException(kLzhNoMemoryMessage);
    }
    uint8_t* const start = out.data();
    uint8_t* dst = start;
    uint8_t* const end = dst + size;

    while (dst < end) {
        if (inputSufficed != nullptr && bits.PaddingTaken() > kPaddingSlackBits) {
            *inputSufficed = false;
            return {};
        }
        bits.Refill();
        const int c = symbols.Decode(bits);
        if (c < 256) {
            *dst++ = static_cast<uint8_t>(c);
            continue;
        }
        if (bits.Available() < 14) bits.Refill();
        const int first = bits.Bits(8);
        const int length = kPositionTables.length[first];
        const int low = ((first << (length - 2)) | bits.Bits(length - 2)) & 63;
        const int distance = ((kPositionTables.upper[first] << 6) | low) + 1;
        const int count = c - 255 + kThreshold;
        if (static_cast<size_t>(distance) > static_cast<size_t>(dst - start)) {
            // Only within the first window of output.
            const ptrdiff_t from = (dst - start) - distance;
            for (int k = 0; k < count; ++k)
                dst[k] = from + k < 0 ? ' ' : start[from + k];
            dst += count;
            continue;
        }
        const uint8_t* src = dst - distance;
        if (static_cast<size_t>(distance) >= kChunk) {
            // Each word read lies wholly before the one being written; the
            // last may spill into the room behind.
            for (int k = 0; k < count; k += static_cast<int>(kChunk))
                std::memcpy(dst + k, src + k, kChunk);
            dst += count;
        } else {
            for (int k = 0; k < count; ++k)
                *dst++ = *src++;
        }
    }
    if (inputSufficed != nullptr && bits.PaddingTaken() > kPaddingSlackBits) {
        *inputSufficed = false;
        return {};
    }
    out.resize(static_cast<size_t>(size));
    return out;
}

} // namespace

std::vector<uint8_t> TLZH::DecodeBuffer(const uint8_t* input, size_t inputLength, int32_t size) {
    TBufferBits bits(input, inputLength);
    return DecodeFast(bits, size, nullptr);
}

std::vector<uint8_t> TLZH::DecodeStream(TStream& input, int32_t size, bool* inputSufficed) {
    if (inputSufficed != nullptr) *inputSufficed = true;
    TBufferBits bits(input);
    return DecodeFast(bits, size, inputSufficed);
}

} // namespace qh
