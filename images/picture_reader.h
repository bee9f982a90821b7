// Reads a picture file of any format the program carries, told apart by its
// first bytes, into a bitmap.
#pragma once

#include "core/stream.h"
#include "images/bitmap.h"

namespace qh {

// From the stream's position. Raises EInvalidGraphic for a damaged file or
// one of no known format; the bitmap is then left as it was.
void LoadPictureFromStream(TStream& stream, TBitmap& bitmap);

} // namespace qh
