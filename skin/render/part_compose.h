// A skin part's state image composed by its own settings: its margins, its
// tiling, and its colour key when it is transparent.
#pragma once

#include "images/bitmap.h"
#include "skin/data/skin_objects.h"
#include "core/geometry.h"

namespace qh {

inline TMargins MarginsOf(const TDataSkinObject& part) {
    return {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight};
}

// State image `state` of `strip` (the part's image or one of its others)
// composed over `target` of pixels, keyed over what is there when the
// part is transparent.
void ComposeOver(TBitmap& pixels, const TRect& target, const TDataSkinObject& part,
                 const TBitmap& strip, int frames, int state);

} // namespace qh
