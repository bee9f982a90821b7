// The packing side of the LZH codec, for build-time tools only: the program
// itself never packs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qh {

// Packs data into a packed skin: the 32-bit little-endian unpacked size and
// the bit stream TLZH decodes. Raises ElzhException for data of 2 GB or more,
// which the size word cannot describe.
std::vector<uint8_t> LzhPack(const uint8_t* data, size_t length);

} // namespace qh
