// The scan of a colour-keyed bitmap into the rectangles of its visible
// pixels, from which the Windows side builds a window region.
#pragma once

#include <vector>

#include "images/bitmap.h"
#include "core/geometry.h"

namespace qh {

// Every run of pixels that are not transparent, row by row from the top and
// each row from the left, as rectangles one pixel high shifted by (x, y). A
// pixel is transparent when each of its red, green and blue values lies
// between the key's value and that value plus the channel's tolerance
// (capped at 255); a negative tolerance counts as 0. Offsets are cut to
// +-kMaxCoordinate.
std::vector<TRect> ScanRegion(const TBitmap& bitmap, int x, int y, int blueTolerance,
                              int greenTolerance, int redTolerance, TColor key);

} // namespace qh
