// A picture file (bitmap or GIF) carried as raw data in the program.
#pragma once

#include <string>

#include "images/bitmap.h"

namespace qh {

// An empty bitmap when the program has no such resource; EInvalidGraphic
// when its bytes are no picture.
TBitmap ResourcePicture(const std::string& name);

// A picture drawn for 96 DPI, shown at dpi the way the skins' pictures are:
// the key colour stays exact and bleeds into nothing. At 96 DPI the
// picture itself.
TBitmap PictureForDpi(const TBitmap& picture, int dpi, TColor key);

} // namespace qh
