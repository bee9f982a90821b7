#include "images/picture_reader.h"

namespace qh {

void LoadPictureFromStream(TStream& stream, TBitmap& bitmap) {
    // Only Windows bitmaps so far; the bitmap reader checks its own signature.
    bitmap.LoadFromStream(stream);
}

} // namespace qh
