// The skinned frame's border pictures and the window region they give:
// where a border image is magenta the window is see-through.
#pragma once

#include <vector>

#include "images/bitmap.h"
#include "skin/data/skin_objects.h"
#include "skin/render/frame_metrics.h"
#include "core/geometry.h"

namespace qh {

struct TFrameBorders {
    const TDataSkinObject* Left = nullptr;
    const TDataSkinObject* Top = nullptr;
    const TDataSkinObject* Right = nullptr;
    const TDataSkinObject* Bottom = nullptr;
};

// One border as the frame paints it into width x height: the nine-cell
// composition of its state cell with the part's margins, cells stacked for
// the top and bottom borders (vertical), side by side for the others; the
// middle stretched when the part's stretch setting (its Tile field) is 1,
// tiled otherwise; cell 1 when active or when there is only one, else 2.
TBitmap ComposeFramePart(const TDataSkinObject& part, int width, int height, bool vertical,
                         bool active);

struct TFrameRegion {
    // No side or top border is transparent: the whole window, which Rects
    // then holds as one rectangle.
    bool WholeWindow = false;
    std::vector<TRect> Rects;
};

// The rectangles whose union is the region of a width x height window: the
// inner rectangle, then (unless borderless) each border's visible pixels
// when its part is transparent and the border is thick enough to be worth
// it (sides more than 1 row high, top more than 1, bottom at least 2), else
// its whole rectangle. The top strip's pixels come from the caption strip
// last painted (between the side borders) while it still has the window's
// width and the frame's height, else from the top border drawn afresh.
TFrameRegion FrameRegion(const TFrameBorders& borders, const TFrameWidths& frame, int width,
                         int height, bool borderless, const TBitmap& captionStrip);

// Whether the region must be built again: never for a window without an
// area; for an unchanged size only for an MDI child or while the skin is
// being changed.
bool RegionRebuildNeeded(const TSize& size, const TSize& lastSize, bool mdiChild,
                         bool refreshing);

} // namespace qh
