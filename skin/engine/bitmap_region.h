// Window regions from colour-keyed bitmaps.
#pragma once

#include <windows.h>

#include <vector>

#include "images/bitmap.h"
#include "core/geometry.h"
#include "toolkit/win_handle.h"

namespace qh {

// The region of every pixel that is not transparent (see ScanRegion for
// the tolerance rule), shifted by (x, y); an empty region when there is none.
TRegionHandle BitmapToRegion(const TBitmap& bitmap, int x, int y, int blueTolerance,
                             int greenTolerance, int redTolerance, TColor key);

// The union of the rectangles, made in batches of at most 2000.
TRegionHandle RegionFromRects(const std::vector<TRect>& rects);

} // namespace qh
