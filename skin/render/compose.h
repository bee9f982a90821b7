// Skin images composed into pixel buffers: one state image stretched over a
// target, the nine-cell composition (corners kept, edges and middle
// stretched or the middle tiled), the three-part horizontal drawing and the
// border cells alone. Targets are given in the destination bitmap's
// coordinates; what falls outside it is cut off. A target with no area (or
// inverted) and a strip whose state image is empty (see StateImageRect)
// draw nothing.
#pragma once

#include <vector>

#include "images/bitmap.h"
#include "core/geometry.h"

namespace qh {

enum class TCellKind {
    TopLeft,
    BottomLeft,
    TopRight,
    Left,
    Top,
    Middle,
    BottomRight,
    Right,
    Bottom
};

struct TCell {
    TCellKind Kind;
    TRect Dest;   // from the target's top-left corner
    TRect Source; // in the strip
};

// The cells of the nine-cell composition of the state image `image` over a
// width x height target, in the order they are copied, each only when it has
// an area in the target and in the source. When the left and right margins
// do not fit into the width both become 0, and so for the top and bottom
// ones and the height; negative margins count as 0. A source cell reaching
// outside the state image (margins wider than the image) is cut to it.
std::vector<TCell> NineCells(const TRect& image, const TMargins& margins, int width, int height);

// A new 32-bit bitmap of the target's size holding the nine-cell
// composition (black where nothing is drawn); empty for an inverted or empty
// target. Raises EInvalidGraphic for a target larger than a bitmap may be.
TBitmap ComposeImage(const TRect& target, const TBitmap& strip, const TMargins& margins,
                     bool vertical, bool tile, int frames, int state);
// The same composition into `target` of an existing bitmap.
void ComposeInto(TBitmap& dest, const TRect& target, const TBitmap& strip, const TMargins& margins,
                 bool vertical, bool tile, int frames, int state);
// The eight corner and edge cells only; the middle keeps its pixels.
void ComposeBorderCells(TBitmap& dest, const TRect& target, const TBitmap& strip, bool vertical,
                        int frames, int state, const TMargins& margins);

// State image `state` of a side-by-side strip stretched over the target.
void StretchStateImage(TBitmap& dest, const TRect& target, const TBitmap& strip, int frames,
                       int state);

// Left cap (the left margin of the state image) at the target's left, then
// the middle piece repeated while it starts left of the right cap, then the
// right cap at the right end; each piece stretched to the target height.
// Only the left and right margins are used. Caps that do not fit overlap,
// the right one on top; a state image with no middle piece leaves the space
// between the caps as it was.
void ComposeHorizontal(TBitmap& dest, const TRect& target, const TBitmap& strip, bool vertical,
                       int frames, int state, const TMargins& margins);

} // namespace qh
