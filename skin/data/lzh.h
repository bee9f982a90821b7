// The LZH codec of packed skins: LZSS over a 4096-byte window whose literals,
// lengths and positions are coded with an adaptive Huffman tree.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/exception.h"
#include "core/stream.h"

namespace qh {

QH_DECLARE_EXCEPTION(ElzhException, Exception);

inline constexpr const char* kLzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* kLzhFreeMessage = "LZH : Error freeing memory for dictionary tables";

namespace lzh {
inline constexpr int kWindowSize = 4096;
inline constexpr int kWindowMask = kWindowSize - 1;
inline constexpr int kLongestMatch = 60;
inline constexpr int kThreshold = 2;
inline constexpr int kSymbolCount = 256 - kThreshold + kLongestMatch; // 314
inline constexpr int kNodeCount = 2 * kSymbolCount - 1;               // 627
inline constexpr int kRoot = kNodeCount - 1;                          // 626
inline constexpr int kRebuildLimit = 0x8000;
inline constexpr int kWindowPreset = kWindowSize - kLongestMatch; // 4036
} // namespace lzh

// One unpacking run per call; the object carries no state between runs.
class TLZH {
public:
    // Delivers up to count bytes into buffer and returns how many it delivered
    // (0 once the input is exhausted).
    using TSource = std::function<int(uint8_t* buffer, int count)>;
    using TSink = std::function<void(const uint8_t* buffer, int count)>;

    // Unpacks until at least size bytes went to sink (a copy is always
    // finished whole, so up to 59 more). A size of 0 or below reads nothing.
    // Past the end of the input the bit stream reads as zeros.
    void Decode(int32_t size, const TSink& sink, const TSource& source);

    // The same unpacking from a buffer that holds the whole bit stream (the
    // bytes after the size word), returning exactly size bytes (none for a
    // size of 0 or below).
    static std::vector<uint8_t> DecodeBuffer(const uint8_t* input, size_t inputLength,
                                             int32_t size);
    // The same, reading the bit stream from input's position onwards, only
    // as far as unpacking needs. With inputSufficed, a stream that runs out
    // before size bytes exist is not filled up with zero bits: unpacking
    // stops, the result is empty and *inputSufficed is false.
    static std::vector<uint8_t> DecodeStream(TStream& input, int32_t size,
                                             bool* inputSufficed = nullptr);
};

} // namespace qh
