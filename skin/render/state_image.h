// Where one state image lies in an image strip.
#pragma once

#include "images/bitmap.h"
#include "core/geometry.h"

namespace qh {

// The source rectangle of state image `state` (numbered from 1) of a strip
// of `frames` equal images, side by side or, when vertical, stacked from the
// top. A frame count below 1 counts as 1 (the whole image is the one state
// image); a state outside 1..frames is taken as the nearest of them. More
// frames than pixels give an empty rectangle, which paints nothing; so does
// an empty strip. The result always lies inside the strip.
TRect StateImageRect(const TBitmap& strip, bool vertical, int frames, int state);

} // namespace qh
