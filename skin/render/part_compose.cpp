#include "skin/render/part_compose.h"

#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"

namespace qh {

void ComposeOver(TBitmap& pixels, const TRect& target, const TDataSkinObject& part,
                 const TBitmap& strip, int frames, int state) {
    if (target.Empty()) return;
    if (part.Trans != 1) {
        ComposeInto(pixels, target, strip, MarginsOf(part), false, part.Tile != 0, frames, state);
        return;
    }
    TBitmap composed(target.Width(), target.Height(), TPixelFormat::pf32bit);
    composed.Fill(kColourKey);
    ComposeInto(composed, {0, 0, target.Width(), target.Height()}, strip, MarginsOf(part), false,
                part.Tile != 0, frames, state);
    CopyKeyed(pixels, target.Left, target.Top, composed, kColourKey);
}

} // namespace qh
