#include "skin/data/lzh.h"
#include "skin/data/lzh_encoder.h"
#include "skin/data/lzh_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/skin/data/codec/test_data.h"

namespace qh {
namespace {

using test::TBytes;

int32_t SizeWord(const TBytes& packed) {
    int32_t size = 0;
    std::memcpy(&size, packed.data(), 4);
    return size;
}

// The byte-at-a-time form, as the format describes it; it may produce up to
// 59 bytes past size.
TBytes DecodeByCallbacks(const TBytes& stream, int32_t size, int* sourceCalls = nullptr) {
    TBytes out;
    size_t next = 0;
    TLZH lzh;
    lzh.Decode(
        size, [&](const uint8_t* b, int n) { out.insert(out.end(), b, b + n); },
        [&](uint8_t* b, int n) {
            if (sourceCalls != nullptr) ++*sourceCalls;
            EXPECT_EQ(n, 1);
            if (next >= stream.size()) return 0;
            *b = stream[next++];
            return 1;
        });
    return out;
}

TBytes Unpack(const TBytes& packed) {
    return TLZH::DecodeBuffer(packed.data() + 4, packed.size() - 4, SizeWord(packed));
}

TBytes UnpackFromStream(const TBytes& packed) {
    TMemoryStream input(
        std::string_view(reinterpret_cast<const char*>(packed.data()), packed.size()));
    input.SetPosition(4);
    return TLZH::DecodeStream(input, SizeWord(packed));
}

void ExpectRoundTrip(const TBytes& data, bool alsoByCallbacks) {
    const TBytes packed = LzhPack(data.data(), data.size());
    ASSERT_EQ(SizeWord(packed), static_cast<int32_t>(data.size()));
    EXPECT_EQ(Unpack(packed), data);
    EXPECT_EQ(UnpackFromStream(packed), data);
    if (alsoByCallbacks) {
        const TBytes stream(packed.begin() + 4, packed.end());
        // A well-formed stream never runs past its size.
        EXPECT_EQ(DecodeByCallbacks(stream, SizeWord(packed)), data);
    }
}

TEST(LzhRoundTrip, SmallAndDegenerateInputs) {
    ExpectRoundTrip({}, true);
    ExpectRoundTrip({0x41}, true);
    ExpectRoundTrip({0x20, 0x20, 0x20}, true); // all from the preset
    ExpectRoundTrip(TBytes(100000, 0x00), true);
    ExpectRoundTrip(TBytes(70000, 0x20), true);
    TBytes everyByte(256);
    for (int i = 0; i < 256; ++i)
        everyByte[i] = static_cast<uint8_t>(i);
    ExpectRoundTrip(everyByte, true);
}

TEST(LzhRoundTrip, RandomTextAndBitmapLikeData) {
    ExpectRoundTrip(test::RandomBytes(300000, 1), true);
    ExpectRoundTrip(test::TextBytes(500000), true);
    ExpectRoundTrip(test::BitmapLikeBytes(3 * 1024 * 1024), false);
    ExpectRoundTrip(test::RandomBytes(2 * 1024 * 1024, 5), false);
}

TEST(LzhRoundTrip, PackedSizesShowTheMatchFinderWorks) {
    const TBytes text = test::TextBytes(200000);
    EXPECT_LT(LzhPack(text.data(), text.size()).size(), text.size() / 4);
    // One run: copies of 60 at distance 1, about 11 bits each.
    const TBytes same(100000, 'x');
    EXPECT_LT(LzhPack(same.data(), same.size()).size(), 100000u / 60 * 11 / 8);
    // Incompressible data costs little more than its own size.
    const TBytes noise = test::RandomBytes(100000, 3);
    EXPECT_LT(LzhPack(noise.data(), noise.size()).size(), noise.size() * 102 / 100);
}

// Streams below come from an independent model of the tree and codes.
TEST(LzhDecode, FirstCopyReachesIntoThePresetSpaces) {
    // A copy of 5 from position 100, then the literal 'X'.
    const TBytes stream = {0x8E, 0x29, 0x3C, 0x80};
    const TBytes expected = {' ', ' ', ' ', ' ', ' ', 'X'};
    EXPECT_EQ(TLZH::DecodeBuffer(stream.data(), stream.size(), 6), expected);
    EXPECT_EQ(DecodeByCallbacks(stream, 6), expected);
}

TEST(LzhDecode, OverlappingCopyRepeatsTheBytesJustWritten) {
    // 'a', 'b', a copy of 7 at distance 2, then a copy of 60 at the greatest
    // distance, 4096, which reaches back to the window's start state: spaces
    // (the positions the preset leaves open start as spaces too).
    const TBytes stream = {0xF6, 0xFB, 0xA4, 0x00, 0x3E, 0xDF, 0xFF, 0xC0};
    TBytes expected = {'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b', 'a'};
    expected.resize(expected.size() + 60, ' ');
    EXPECT_EQ(TLZH::DecodeBuffer(stream.data(), stream.size(), 69), expected);
    EXPECT_EQ(DecodeByCallbacks(stream, 69), expected);
}

TEST(LzhDecode, MatchesTheModelAcrossTheTreeRebuild) {
    // 40000 literals pass the rebuild at the 32455th symbol; the model's
    // stream is 35834 bytes with CRC-32 C79DBB88.
    TBytes data;
    uint32_t seed = 12345;
    test::TTokenWriter writer;
    for (int i = 0; i < 40000; ++i) {
        seed = (seed * 1103515245u + 12345u) & 0x7FFFFFFFu;
        const int byte = i % 3 ? (seed >> 16) & 0xFF : (seed >> 16) % 7;
        data.push_back(static_cast<uint8_t>(byte));
        writer.Literal(byte);
    }
    const TBytes stream = writer.Finish();
    EXPECT_EQ(stream.size(), 35834u);
    EXPECT_EQ(test::Crc32(stream), 0xC79DBB88u);
    EXPECT_EQ(TLZH::DecodeBuffer(stream.data(), stream.size(), 40000), data);
    EXPECT_EQ(DecodeByCallbacks(stream, 40000), data);
}

TEST(LzhDecode, SizeZeroOrNegativeReadsNothing) {
    const TBytes stream = {0xFF, 0xFF, 0xFF};
    for (int32_t size : {0, -1, -2147483647 - 1}) {
        int calls = 0;
        EXPECT_TRUE(DecodeByCallbacks(stream, size, &calls).empty());
        EXPECT_EQ(calls, 0);
        EXPECT_TRUE(TLZH::DecodeBuffer(stream.data(), stream.size(), size).empty());
        TMemoryStream input("\x01\x02\x03");
        EXPECT_TRUE(TLZH::DecodeStream(input, size).empty());
        EXPECT_EQ(input.Position(), 0);
    }
}

TEST(LzhDecode, InputEndingEarlyStillGivesTheAskedSize) {
    const TBytes data = test::TextBytes(20000);
    const TBytes packed = LzhPack(data.data(), data.size());
    const TBytes half(packed.begin() + 4, packed.begin() + 4 + (packed.size() - 4) / 2);

    const TBytes fast = TLZH::DecodeBuffer(half.data(), half.size(), 20000);
    ASSERT_EQ(fast.size(), 20000u);
    const TBytes slow = DecodeByCallbacks(half, 20000);
    ASSERT_GE(slow.size(), 20000u);
    ASSERT_LE(slow.size(), 20059u);
    EXPECT_TRUE(std::equal(fast.begin(), fast.end(), slow.begin()));
    // What the available bits describe comes out unchanged.
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 2000, fast.begin()));

    // No input at all: every bit reads as 0.
    const TBytes none;
    const TBytes zeros = DecodeByCallbacks(none, 5000);
    EXPECT_GE(zeros.size(), 5000u);
    EXPECT_LE(zeros.size(), 5059u);
    const TBytes zerosFast = TLZH::DecodeBuffer(nullptr, 0, 5000);
    EXPECT_TRUE(std::equal(zerosFast.begin(), zerosFast.end(), zeros.begin()));
}

TEST(LzhDecode, StreamFormCanTellAStreamCutShort) {
    const TBytes data = test::BitmapLikeBytes(50000);
    const TBytes packed = LzhPack(data.data(), data.size());
    auto decode = [&](size_t keep, bool& sufficed) {
        TMemoryStream input(std::string_view(reinterpret_cast<const char*>(packed.data()), keep));
        input.SetPosition(4);
        return TLZH::DecodeStream(input, SizeWord(packed), &sufficed);
    };
    bool sufficed = false;
    EXPECT_EQ(decode(packed.size(), sufficed), data);
    EXPECT_TRUE(sufficed);
    for (size_t keep : {packed.size() - 8, packed.size() / 3, size_t{4}}) {
        EXPECT_TRUE(decode(keep, sufficed).empty()) << keep;
        EXPECT_FALSE(sufficed) << keep;
    }
}

TEST(LzhDecode, FastFormsAgreeWithTheByteAtATimeFormOnGarbage) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const TBytes stream = test::RandomBytes(seed * 97, seed);
        const int32_t size = static_cast<int32_t>(seed * 331);
        const TBytes slow = DecodeByCallbacks(stream, size);
        const TBytes fast = TLZH::DecodeBuffer(stream.data(), stream.size(), size);
        ASSERT_EQ(fast.size(), static_cast<size_t>(size));
        ASSERT_TRUE(std::equal(fast.begin(), fast.end(), slow.begin())) << "seed " << seed;
        TMemoryStream input(
            std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size()));
        ASSERT_EQ(TLZH::DecodeStream(input, size), fast) << "seed " << seed;
    }
}

// The tree's own invariants: counts ordered, each internal count the sum of
// its children, parents and children pointing at each other.
void ExpectSoundTree(const lzh::THuffmanTree& tree) {
    for (int i = 0; i < lzh::kRoot; ++i)
        ASSERT_LE(tree.freq[i], tree.freq[i + 1]) << "node " << i;
    int leaves = 0;
    for (int i = 0; i < lzh::kNodeCount; ++i) {
        const int child = tree.son[i];
        if (child >= lzh::kNodeCount) {
            ++leaves;
            ASSERT_EQ(tree.prnt[child], i);
            ASSERT_GT(tree.freq[i], 0);
        } else {
            ASSERT_EQ(tree.prnt[child], i);
            ASSERT_EQ(tree.prnt[child + 1], i);
            ASSERT_EQ(tree.freq[i], tree.freq[child] + tree.freq[child + 1]) << "node " << i;
        }
    }
    EXPECT_EQ(leaves, lzh::kSymbolCount);
}

TEST(LzhTree, RebuildsExactlyAtTheLimitWithHalvedCounts) {
    lzh::THuffmanTree tree;
    tree.Start();
    ExpectSoundTree(tree);
    EXPECT_EQ(tree.freq[lzh::kRoot], lzh::kSymbolCount);

    // Skewed use, including odd counts, up to the limit.
    uint32_t seed = 3;
    const int updates = lzh::kRebuildLimit - lzh::kSymbolCount;
    for (int n = 0; n < updates; ++n) {
        seed = seed * 1103515245u + 12345u;
        const int r = (seed >> 16) % 100;
        tree.Update(r < 50 ? 'e' : r < 70 ? 300 : r < 90 ? (seed >> 8) % 40 : (seed >> 4) % 314);
    }
    ExpectSoundTree(tree);
    ASSERT_EQ(tree.freq[lzh::kRoot], lzh::kRebuildLimit);

    int before[lzh::kSymbolCount];
    for (int s = 0; s < lzh::kSymbolCount; ++s)
        before[s] = tree.freq[tree.prnt[s + lzh::kNodeCount]];
    tree.Update('e');
    ExpectSoundTree(tree);
    int total = 0;
    for (int s = 0; s < lzh::kSymbolCount; ++s) {
        const int expected = (before[s] + 1) / 2 + (s == 'e' ? 1 : 0);
        EXPECT_EQ(tree.freq[tree.prnt[s + lzh::kNodeCount]], expected) << "symbol " << s;
        total += expected;
    }
    EXPECT_EQ(tree.freq[lzh::kRoot], total);
    EXPECT_LT(tree.freq[lzh::kRoot], lzh::kRebuildLimit);
}

TEST(LzhTree, PositionCodesFollowTheBands) {
    const lzh::TPositionTables& t = lzh::kPositionTables;
    EXPECT_EQ(t.upper[0x00], 0);
    EXPECT_EQ(t.length[0x1F], 3);
    EXPECT_EQ(t.upper[0x20], 1);
    EXPECT_EQ(t.upper[0x4F], 3);
    EXPECT_EQ(t.length[0x4F], 4);
    EXPECT_EQ(t.upper[0x50], 4);
    EXPECT_EQ(t.upper[0x8F], 11);
    EXPECT_EQ(t.upper[0x90], 12);
    EXPECT_EQ(t.length[0xBF], 6);
    EXPECT_EQ(t.upper[0xC0], 24);
    EXPECT_EQ(t.upper[0xEF], 47);
    EXPECT_EQ(t.length[0xEF], 7);
    EXPECT_EQ(t.upper[0xF0], 48);
    EXPECT_EQ(t.upper[0xFF], 63);
    EXPECT_EQ(t.length[0xFF], 8);
    for (int b = 1; b < 256; ++b)
        ASSERT_GE(t.upper[b], t.upper[b - 1]);
}

} // namespace
} // namespace qh
