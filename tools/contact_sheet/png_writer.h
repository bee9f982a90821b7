// Writes a TBitmap as a PNG file: 8-bit RGB rows with the "up" filter,
// deflated with the fixed codes. Enough for contact sheets.
#pragma once

#include <string>

#include "images/bitmap.h"

namespace sheet {

void SavePng(const qh::TBitmap& bitmap, const std::string& fileName);

} // namespace sheet
