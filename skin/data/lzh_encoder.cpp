#include "skin/data/lzh_encoder.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#include "skin/data/lzh_tree.h"

namespace qh {

using namespace lzh;

namespace {

class TBitWriter {
public:
    explicit TBitWriter(std::vector<uint8_t>& out) : FOut(out) {}

    // Appends the top count bits of code (count <= 32), first bit first.
    void Put(uint32_t code, int count) {
        FBuffer |= static_cast<uint64_t>(code) << (32 - FUsed);
        FUsed += count;
        while (FUsed >= 8) {
            FOut.push_back(static_cast<uint8_t>(FBuffer >> 56));
            FBuffer <<= 8;
            FUsed -= 8;
        }
    }

    // The decoder reads zeros past the end, so padding with zeros is exact.
    void Flush() {
        if (FUsed > 0) FOut.push_back(static_cast<uint8_t>(FBuffer >> 56));
        FBuffer = 0;
        FUsed = 0;
    }

private:
    std::vector<uint8_t>& FOut;
    uint64_t FBuffer = 0; // pending bits, left-aligned
    int FUsed = 0;
};

class TSymbolCoder {
public:
    explicit TSymbolCoder(TBitWriter& bits) : FBits(bits) { FTree->Start(); }

    void PutSymbol(int symbol) {
        // Collect the path from the leaf up; the root-side bit goes first.
        uint64_t path = 0;
        int depth = 0;
        int node = FTree->prnt[symbol + THuffmanTree::kLeafBase];
        do {
            path |= static_cast<uint64_t>(node & 1) << depth;
            ++depth;
            node = FTree->prnt[node];
        } while (node != kRoot && depth < 64);
        if (node != kRoot) {
            PutLongPath(symbol);
        } else {
            PutPath(path, depth);
        }
        FTree->Update(symbol);
    }

    void PutPosition(int position) {
        const int upper = position >> 6;
        const TPositionTables& t = kPositionTables;
        int first = 0;
        while (t.upper[first] != upper)
            ++first;
        const int length = t.length[first];
        FBits.Put(static_cast<uint32_t>(first) << 24, length);
        FBits.Put(static_cast<uint32_t>(position & 63) << 26, 6);
    }

private:
    void PutPath(uint64_t path, int depth) {
        if (depth <= 32) {
            FBits.Put(static_cast<uint32_t>(path) << (32 - depth), depth);
            return;
        }
        for (int n = depth - 1; n >= 0; --n)
            FBits.Put(static_cast<uint32_t>((path >> n) & 1) << 31, 1);
    }

    // A tree deeper than 64 levels cannot arise from real counts, but the
    // walk must not silently truncate if it ever does.
    void PutLongPath(int symbol) {
        std::vector<int> path;
        for (int node = FTree->prnt[symbol + THuffmanTree::kLeafBase]; node != kRoot;
             node = FTree->prnt[node])
            path.push_back(node & 1);
        for (auto it = path.rbegin(); it != path.rend(); ++it)
            FBits.Put(static_cast<uint32_t>(*it) << 31, 1);
    }

    TBitWriter& FBits;
    std::unique_ptr<THuffmanTree> FTree = std::make_unique<THuffmanTree>();
};

// Hash chains over the text as the decoder sees it: the preset spaces
// followed by the data, so early matches may reach into the preset.
class TMatchFinder {
public:
    static constexpr int kHashBits = 15;
    static constexpr int kMaxChain = 512;
    static constexpr int kGoodEnough = kLongestMatch;

    TMatchFinder(const uint8_t* text, size_t end) : FText(text), FEnd(end) {
        FHead.assign(size_t{1} << kHashBits, -1);
        FPrev.assign(kWindowSize, -1);
    }

    void Insert(int64_t pos) {
        if (static_cast<size_t>(pos) + 3 > FEnd) return;
        const uint32_t h = Hash(pos);
        FPrev[pos & kWindowMask] = FHead[h];
        FHead[h] = pos;
    }

    // The longest match for pos within the window; returns its length (0
    // when none reaches 3) and sets distance.
    int Find(int64_t pos, int& distance) const {
        const int limit = static_cast<int>(std::min<size_t>(kLongestMatch, FEnd - pos));
        if (limit <= kThreshold) return 0;
        int best = kThreshold;
        int64_t candidate = FHead[Hash(pos)];
        const int64_t oldest = pos - kWindowSize;
        const uint8_t* here = FText + pos;
        for (int chain = 0; chain < kMaxChain && candidate >= 0 && candidate >= oldest; ++chain) {
            const uint8_t* there = FText + candidate;
            if (there[best] == here[best] && there[0] == here[0]) {
                int length = 0;
                while (length < limit && there[length] == here[length])
                    ++length;
                if (length > best) {
                    best = length;
                    distance = static_cast<int>(pos - candidate);
                    if (length >= limit) break;
                }
            }
            const int64_t next = FPrev[candidate & kWindowMask];
            if (next >= candidate) break;
            candidate = next;
        }
        return best > kThreshold ? best : 0;
    }

private:
    uint32_t Hash(int64_t pos) const {
        const uint8_t* p = FText + pos;
        const uint32_t v = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const uint8_t* FText;
    size_t FEnd;
    std::vector<int64_t> FHead;
    std::vector<int64_t> FPrev;
};

} // namespace

std::vector<uint8_t> LzhPack(const uint8_t* data, size_t length) {
    if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw ElzhException("LZH : Data too large to pack");

    std::vector<uint8_t> out;
    out.reserve(length / 2 + 16);
    const uint32_t size = static_cast<uint32_t>(length);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(size >> shift));
    if (length == 0) return out;

    std::vector<uint8_t> text(kWindowPreset + length);
    std::memset(text.data(), ' ', kWindowPreset);
    std::memcpy(text.data() + kWindowPreset, data, length);
    const int64_t end = static_cast<int64_t>(text.size());

    TBitWriter bits(out);
    TSymbolCoder coder(bits);
    TMatchFinder finder(text.data(), text.size());
    for (int64_t p = 0; p < kWindowPreset; ++p)
        finder.Insert(p);

    int64_t pos = kWindowPreset;
    int distance = 0;
    int matchLength = finder.Find(pos, distance);
    while (pos < end) {
        if (matchLength == 0) {
            coder.PutSymbol(text[pos]);
            finder.Insert(pos);
            ++pos;
            if (pos < end) matchLength = finder.Find(pos, distance);
            continue;
        }
        // One step of lazy matching: a longer match one byte on is worth a
        // literal now.
        finder.Insert(pos);
        int nextDistance = 0;
        const int nextLength = matchLength < kLongestMatch ? finder.Find(pos + 1, nextDistance) : 0;
        if (nextLength > matchLength) {
            coder.PutSymbol(text[pos]);
            ++pos;
            matchLength = nextLength;
            distance = nextDistance;
            continue;
        }
        coder.PutSymbol(255 - kThreshold + matchLength);
        coder.PutPosition(distance - 1);
        for (int k = 1; k < matchLength; ++k)
            finder.Insert(pos + k);
        pos += matchLength;
        if (pos < end) matchLength = finder.Find(pos, distance);
    }
    bits.Flush();
    return out;
}

} // namespace qh
