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
// once per symbol at most. The buffered bits travel by value in a cursor the
// decoding loop keeps in locals; bytes come from a buffer, topped up from a
// stream in chunks when there is one.
struct TBitCursor {
    uint64_t buffer = 0; // next bit at the top
    int count = 0;
    const uint8_t* next = nullptr;

    uint64_t Peek() const { return buffer; }
    int Available() const { return count; }
    void Skip(int n) {
        buffer <<= n;
        count -= n;
    }
    int Bits(int n) {
        const int value = static_cast<int>(buffer >> (64 - n));
        Skip(n);
        return value;
    }

    // Tops the buffer up to at least 56 bits from the 8 bytes at next.
    void TakeWord() {
        // Big-endian assembly, written out: compilers fold this form into
        // one load and a swap, while a loop stays eight loads.
        const uint8_t* p = next;
        const uint64_t word = static_cast<uint64_t>(p[0]) << 56 | static_cast<uint64_t>(p[1]) << 48 |
                              static_cast<uint64_t>(p[2]) << 40 | static_cast<uint64_t>(p[3]) << 32 |
                              static_cast<uint64_t>(p[4]) << 24 | static_cast<uint64_t>(p[5]) << 16 |
                              static_cast<uint64_t>(p[6]) << 8 | static_cast<uint64_t>(p[7]);
        // Bits past the whole bytes taken are the stream's own next bits,
        // so loading them again later ORs in the same values.
        buffer |= word >> count;
        const int taken = (63 - count) >> 3;
        next += taken;
        count += taken * 8;
    }
};

class TBufferBits {
public:
    TBufferBits(const uint8_t* input, size_t length) : FStart(input), FEnd(input + length) {}
    explicit TBufferBits(TStream& stream) : FStream(&stream), FChunk(kChunkSize) {}

    TBitCursor Begin() const {
        TBitCursor cursor;
        cursor.next = FStart;
        return cursor;
    }

    // Makes sure at least 56 bits are buffered. The hot loop spells this
    // out itself so that the cursor stays in registers.
    void Refill(TBitCursor& cursor) {
        if (HasWord(cursor)) {
            cursor.TakeWord();
        } else {
            cursor = RefillByBytes(cursor);
        }
    }
    bool HasWord(const TBitCursor& cursor) const { return FEnd - cursor.next >= 8; }

    // The slow way, near the end of a buffer or chunk. Takes and gives the
    // cursor by value, so that the loop's copy need not live in memory.
    TBitCursor RefillByBytes(TBitCursor cursor) {
        while (cursor.count <= 56) {
            if (cursor.next == FEnd && !NextChunk(cursor)) {
                cursor.count += 8; // past the end the stream reads as zeros
                ++FPadding;
                continue;
            }
            cursor.buffer |= static_cast<uint64_t>(*cursor.next++) << (56 - cursor.count);
            cursor.count += 8;
        }
        return cursor;
    }

    // The tree's depth is not bounded by the format, so a walk may empty
    // the buffer; that costs one predictable branch per bit.
    int Bit(TBitCursor& cursor) {
        if (cursor.count == 0) cursor = RefillByBytes(cursor);
        const int bit = static_cast<int>(cursor.buffer >> 63);
        cursor.Skip(1);
        return bit;
    }

    // Bits taken from past the end of the input (negative while none).
    int64_t PaddingTaken(const TBitCursor& cursor) const { return FPadding * 8 - cursor.count; }

private:
    static constexpr size_t kChunkSize = 64 * 1024;

    // Called once the current chunk is used up.
    bool NextChunk(TBitCursor& cursor) {
        if (FStream == nullptr || FStreamDone) return false;
        const int64_t got = FStream->Read(FChunk.data(), static_cast<int64_t>(FChunk.size()));
        if (got <= 0) {
            FStreamDone = true;
            return false;
        }
        cursor.next = FChunk.data();
        FEnd = cursor.next + got;
        return true;
    }

    TStream* FStream = nullptr;
    bool FStreamDone = false;
    std::vector<uint8_t> FChunk;
    const uint8_t* FStart = nullptr;
    const uint8_t* FEnd = nullptr;
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

    int Decode(TBufferBits& bits, TBitCursor& cursor) {
        THuffmanTree& t = FTree;
        const uint64_t ahead = cursor.Peek();
        // The walk keeps the position it read the node from: for the leaf,
        // that is where the climb starts, without a load of its parent.
        const uint32_t entry = FTable[ahead >> (64 - kTableBits)];
        int leaf = static_cast<int>(entry & kFieldMask);
        int c = static_cast<int>((entry >> kNodeShift) & kFieldMask);
        int depth = static_cast<int>(entry >> kDepthShift);
        if (c < THuffmanTree::kLeafBase) {
            uint64_t rest = ahead << kTableBits;
            do {
                leaf = c + static_cast<int>(rest >> 63);
                c = t.son[leaf];
                rest <<= 1;
                ++depth;
            } while (c < THuffmanTree::kLeafBase && depth < kBuffered);
            if (c < THuffmanTree::kLeafBase) {
                // Only a degenerate tree is this deep; finish the plain way.
                cursor.Skip(depth);
                while (c < THuffmanTree::kLeafBase) {
                    leaf = c + bits.Bit(cursor);
                    c = t.son[leaf];
                }
                depth = kBuffered + 1; // beyond the table, which is all depth says
            } else {
                cursor.Skip(depth);
            }
        } else {
            cursor.Skip(depth);
        }
        const int symbol = c - THuffmanTree::kLeafBase;

        if (t.freq[kRoot] == kRebuildLimit) {
            t.Update(symbol);
            FillAll();
            return symbol;
        }

        // The climb. The common case is at most one swap, at the leaf: then
        // the two positions it touched are the leaf's old one, whose code
        // was just read, and its new one, whose code is spelt out again only
        // in the rare case that the table may reach it.
        int node = leaf;
        int moved = -1;
        const uint32_t k = ++t.freq[node];
        if (k > t.freq[node + 1]) {
            node = moved = t.MoveUp(node, k);
            // The climb changes no son unless it swaps too, and then all is
            // refreshed again after it.
            if (depth <= kTableBits) Refill(leaf, depth, static_cast<uint32_t>(ahead >> (64 - depth)));
            RefillAt(moved);
        }
        int swaps = 0;
        int touched[kTouchedMax];
        // Unsigned, so that indexing needs no widening.
        uint32_t up = static_cast<uint32_t>(t.prnt[node]);
        while (up != kRoot) {
            uint32_t* const count = t.freq + up;
            const uint32_t n = ++*count;
            if (n > count[1]) up = static_cast<uint32_t>(Swap(static_cast<int>(up), n, touched, swaps));
            up = static_cast<uint32_t>(t.prnt[up]);
        }
        ++t.freq[kRoot];

        if (swaps == 0) return symbol;
        if (swaps > kTouchedMax / 2) {
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
        if (swaps < kTouchedMax / 2) {
            touched[2 * swaps] = up;
            touched[2 * swaps + 1] = to;
        }
        ++swaps;
        return to;
    }

    static constexpr int kTableBits = 7;
    // An entry: the position reached, the node there, and the depth.
    static constexpr uint32_t kFieldMask = 1023;
    static constexpr int kNodeShift = 10;
    static constexpr int kDepthShift = 20;
    static constexpr int kBuffered = 48; // within the 56 bits Refill guarantees
    static constexpr int kTouchedMax = 16;

    // The entries under the node at position x, whose code is the depth
    // bits of code; nothing when x lies deeper than the table reaches.
    void Refill(int x, int depth, uint32_t code) {
        if (depth > kTableBits) return;
        const int spare = kTableBits - depth;
        const int first = static_cast<int>(code << spare);
        for (int s = 0; s < (1 << spare); ++s)
            FTable[first + s] = Walk(x, depth, s);
    }

    // The entry for table index s, walking down from position x at depth.
    uint32_t Walk(int x, int depth, int s) {
        int at = x;
        int c = FTree.son[at];
        int d = depth;
        FReached[at] = 1;
        while (c < THuffmanTree::kLeafBase && d < kTableBits) {
            at = c + ((s >> (kTableBits - 1 - d)) & 1);
            c = FTree.son[at];
            FReached[at] = 1;
            ++d;
        }
        return static_cast<uint32_t>(at) | static_cast<uint32_t>(c) << kNodeShift |
               static_cast<uint32_t>(d) << kDepthShift;
    }

    // The same for a position whose code is not at hand: the climb spells it.
    // Most swaps lie far below the table, and a position no walk has reached
    // since the last full fill cannot lie within it.
    void RefillAt(int x) {
        if (FReached[x] == 0) return;
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
        std::memset(FReached, 0, sizeof FReached);
        for (int s = 0; s < (1 << kTableBits); ++s)
            FTable[s] = Walk(kRoot, 0, s);
    }

    THuffmanTree& FTree;
    uint32_t FTable[1 << kTableBits];
    // Positions some walk passed since the last full fill: all those the
    // table reaches now, and some it reached before.
    uint8_t FReached[kNodeCount];
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
    TBitCursor cursor = bits.Begin();

    while (dst < end) {
        if (inputSufficed != nullptr && bits.PaddingTaken(cursor) > kPaddingSlackBits) {
            *inputSufficed = false;
            return {};
        }
        if (bits.HasWord(cursor)) {
            cursor.TakeWord();
        } else {
            cursor = bits.RefillByBytes(cursor);
        }
        const int c = symbols.Decode(bits, cursor);
        if (c < 256) {
            *dst++ = static_cast<uint8_t>(c);
            continue;
        }
        if (cursor.Available() < 14) bits.Refill(cursor);
        const int first = cursor.Bits(8);
        const int length = kPositionTables.length[first];
        const int low = ((first << (length - 2)) | cursor.Bits(length - 2)) & 63;
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
    if (inputSufficed != nullptr && bits.PaddingTaken(cursor) > kPaddingSlackBits) {
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
