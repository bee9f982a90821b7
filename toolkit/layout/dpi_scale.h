// The toolkit's figures, described at 96 DPI, scaled to the DPI of the
// monitor a window is on, and back. Each coordinate is scaled on its own,
// so rectangles that touch at 96 DPI still touch when scaled, and a scaled
// figure scaled back is the figure again (for DPIs of 96 and above).
#pragma once

#include "core/mul_div.h"
#include "core/geometry.h"

namespace qh {

TPoint ScaleForDpi(const TPoint& point, int dpi);
TSize ScaleForDpi(const TSize& size, int dpi);
// The four edges, not the width and height: a rectangle's scaled width may
// differ by one from its width scaled, as the system's own layout does.
TRect ScaleForDpi(const TRect& rect, int dpi);
TMargins ScaleForDpi(const TMargins& margins, int dpi);

TPoint UnscaleForDpi(const TPoint& point, int dpi);
TSize UnscaleForDpi(const TSize& size, int dpi);
TRect UnscaleForDpi(const TRect& rect, int dpi);

// A figure shown at one DPI, shown at another: back to its 96-DPI figure
// first, so going there and back gives the figure it was.
int RescaleForDpi(int value, int fromDpi, int toDpi);
TRect RescaleForDpi(const TRect& rect, int fromDpi, int toDpi);

} // namespace qh
