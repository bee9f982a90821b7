#include "skin/render/state_image.h"

#include <algorithm>

namespace qh {

TRect StateImageRect(const TBitmap& strip, bool vertical, int frames, int state) {
    if (strip.Empty()) return {};
    frames = std::max(frames, 1);
    state = std::clamp(state, 1, frames);
    const int along = vertical ? strip.Height() : strip.Width();
    const int size = along / frames;
    if (size == 0) return {};
    const int start = (state - 1) * size;
    if (vertical) return RectOfSize(0, start, strip.Width(), size);
    return RectOfSize(start, 0, size, strip.Height());
}

} // namespace qh
