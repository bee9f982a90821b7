#include "skin/data/lzh.h"

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
            // Big-endian assembly; compilers turn it into one load and a swap.
            uint64_t word = 0;
            for (int i = 0; i < 8; ++i) word = (word << 8) | FNext[i];
            // Bits past the whole bytes taken are the stream's own next bits,
            // so loading them again later ORs in the same values.
            FBuffer |= word >> FCount;
            const int taken = (63 - FCount) >> 3;
            FNext += taken;
            FCount += taken * 8;
            return;
        }
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

// Symbol decoding for the fast form. The walk down records the nodes it
// passes, so the update can climb back by that record instead of chasing
// parent links, until a swap moves the node off the recorded path.
int DecodeSymbolFast(THuffmanTree& tree, TBufferBits& bits) {
    constexpr int kRecorded = 48; // within the 56 bits Refill guarantees
    int path[kRecorded];
    int depth = 0;
    int c = tree.son[kRoot];
    uint64_t ahead = bits.Peek();
    do {
        const int node = c + static_cast<int>(ahead >> 63);
        ahead <<= 1;
        path[depth++] = node;
        c = tree.son[node];
    } while (c < THuffmanTree::kLeafBase && depth < kRecorded);
    bits.Skip(depth);
    if (c < THuffmanTree::kLeafBase) {
        // Only a degenerate tree is this deep; finish the plain way.
        while (c < THuffmanTree::kLeafBase)
            c = tree.son[c + bits.Bit()];
        c -= THuffmanTree::kLeafBase;
        tree.Update(c);
        return c;
    }
    c -= THuffmanTree::kLeafBase;

    if (tree.freq[kRoot] == kRebuildLimit) {
        tree.Update(c); // rebuilds, and the record is void
        return c;
    }
    // The climb visits path[depth-1] .. path[0], the root, and stops where a
    // parent is 0 (the root's parent), exactly as Update does.
    int i = depth - 1;
    int node = path[i];
    for (;;) {
        const int moved = tree.Increment(node);
        if (moved != node) {
            for (int up = tree.prnt[moved]; up != 0;)
                up = tree.prnt[tree.Increment(up)];
            return c;
        }
        const int parent = i > 0 ? path[i - 1] : kRoot;
        if (node == kRoot || parent == 0) return c;
        node = parent;
        --i;
    }
}

// A complete stream ends within its last byte; the slack allows for an
// encoder that drops a final partial byte. Detection is a bound, not proof:
// zero bits may happen to finish the output, so a cut of a byte or two can
// pass unnoticed.
constexpr int64_t kPaddingSlackBits = 7;

std::vector<uint8_t> DecodeFast(TBufferBits& bits, int32_t size, bool* inputSufficed) {
    if (size <= 0) return {};
    std::unique_ptr<THuffmanTree> tree = ObtainTree();
    tree->Start();

    // The output itself is the window: a full window of history in front of
    // it (the preset spaces; the 60 positions the preset leaves open are
    // spaces too) and room behind for a last copy that runs past size.
    const size_t history = kWindowSize;
    std::vector<uint8_t> out;
    try {
        out.resize(history + static_cast<size_t>(size) + kLongestMatch);
    } catch (const std::bad_alloc&) {
        throw ElzhException(kLzhNoMemoryMessage);
    }
    std::memset(out.data(), ' ', history);
    uint8_t* dst = out.data() + history;
    uint8_t* const end = dst + size;

    while (dst < end) {
        if (inputSufficed != nullptr && bits.PaddingTaken() > kPaddingSlackBits) {
            *inputSufficed = false;
            return {};
        }
        bits.Refill();
        const int c = DecodeSymbolFast(*tree, bits);
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
        const uint8_t* src = dst - distance;
        if (distance >= count) {
            std::memcpy(dst, src, static_cast<size_t>(count));
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
    out.erase(out.begin(), out.begin() + history);
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
