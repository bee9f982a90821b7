// A picture file (bitmap or GIF) carried as raw data in the program.
#pragma once

#include <string>

#include "images/bitmap.h"

namespace qh {

// An empty bitmap when the program has no such resource; EInvalidGraphic
// when its bytes are no picture.
TBitmap ResourcePicture(const std::string& name);

} // namespace qh
