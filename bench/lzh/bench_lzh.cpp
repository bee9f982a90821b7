// Prints the codec's unpacking and packing throughput on 10 MB of mixed data
// beside memcpy of the same output and zlib's inflate of the same data, and
// the packed size beside zlib level 9.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "skin/data/lzh.h"
#include "skin/data/lzh_encoder.h"

namespace {

using TBytes = std::vector<uint8_t>;
using TClock = std::chrono::steady_clock;

uint32_t Next(uint32_t& seed) {
    seed = seed * 1103515245u + 12345u;
    return seed >> 16;
}

// Skin-like material: bitmap rows (gradients, flat runs, noise), INI text,
// and some incompressible bytes, in interleaved blocks.
TBytes MixedData(size_t total) {
    static const char* const kWords[] = {
        "[Title]", "Left=", "Border",      "Color=", "16777215", "Caption",
        "btn.bmp", "\r\n",  "Transparent", "=1",     " ",        "Font"};
    TBytes out;
    out.reserve(total);
    uint32_t seed = 2024;
    int block = 0;
    while (out.size() < total) {
        const size_t blockSize = 32768 + Next(seed) % 65536;
        const int kind = block++ % 5;
        for (size_t i = 0; i < blockSize && out.size() < total; ++i) {
            if (kind <= 1) { // bitmap
                const uint32_t noise = Next(seed) % 6 == 0 ? Next(seed) & 7 : 0;
                out.push_back(static_cast<uint8_t>(((i / 3) % 180) + noise));
            } else if (kind <= 3) { // text
                const std::string word = kWords[Next(seed) % 12];
                for (char c : word)
                    out.push_back(static_cast<uint8_t>(c));
                i += word.size() - 1;
            } else { // already compressed pictures
                out.push_back(static_cast<uint8_t>(Next(seed)));
            }
        }
    }
    out.resize(total);
    return out;
}

// Best of several runs, in seconds.
template <typename F> double BestTime(int runs, F&& work) {
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = TClock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(TClock::now() - start).count());
    }
    return best;
}

} // namespace

int main() {
    const size_t size = 10 * 1024 * 1024;
    const TBytes data = MixedData(size);
    const double mb = static_cast<double>(size) / (1024.0 * 1024.0);

    TBytes packed;
    const double packTime = BestTime(3, [&] { packed = qh::LzhPack(data.data(), data.size()); });

    uLongf zlibSize = compressBound(size);
    TBytes zlibPacked(zlibSize);
    const double zlibPackTime = BestTime(3, [&] {
        zlibSize = compressBound(size);
        compress2(zlibPacked.data(), &zlibSize, data.data(), size, 9);
    });
    zlibPacked.resize(zlibSize);

    TBytes unpacked;
    const double lzhTime = BestTime(7, [&] {
        unpacked = qh::TLZH::DecodeBuffer(packed.data() + 4, packed.size() - 4,
                                          static_cast<int32_t>(size));
    });
    if (unpacked != data) {
        std::fprintf(stderr, "bench_lzh: the codec did not give the data back\n");
        return 1;
    }

    TBytes inflated(size);
    const double inflateTime = BestTime(7, [&] {
        uLongf outSize = size;
        uncompress(inflated.data(), &outSize, zlibPacked.data(), zlibPacked.size());
    });
    if (inflated != data) {
        std::fprintf(stderr, "bench_lzh: zlib did not give the data back\n");
        return 1;
    }

    TBytes copy(size);
    const double memcpyTime = BestTime(15, [&] {
        std::memcpy(copy.data(), data.data(), size);
        asm volatile("" : : "r"(copy.data()) : "memory");
    });

    std::printf("10 MB of mixed data (bitmaps, INI text, incompressible blocks)\n\n");
    std::printf("%-28s %12s\n", "unpacking", "MB/s output");
    std::printf("%-28s %12.1f\n", "qh LZH decoder", mb / lzhTime);
    std::printf("%-28s %12.1f\n", "zlib inflate (level 9 data)", mb / inflateTime);
    std::printf("%-28s %12.1f\n", "memcpy", mb / memcpyTime);
    std::printf("\n%-28s %12s %12s\n", "packing", "MB/s input", "bytes");
    std::printf("%-28s %12.1f %12zu\n", "qh LZH packer", mb / packTime, packed.size());
    std::printf("%-28s %12.1f %12zu\n", "zlib level 9", mb / zlibPackTime, zlibPacked.size());
    std::printf("\npacked size / zlib level 9 size: %.3f\n",
                static_cast<double>(packed.size()) / static_cast<double>(zlibPacked.size()));
    return 0;
}
