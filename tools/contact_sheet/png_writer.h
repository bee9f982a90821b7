// PNG files of 8-bit pixels, rows with the "up" filter, deflated with the
// fixed codes: enough for contact sheets and the icons' largest image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "images/bitmap.h"

namespace sheet {

// Rows from the top of red, green and blue bytes a pixel, and alpha after
// them when withAlpha.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& pixels,
                               bool withAlpha);

// The bitmap's colours, without alpha.
void SavePng(const qh::TBitmap& bitmap, const std::string& fileName);

} // namespace sheet
