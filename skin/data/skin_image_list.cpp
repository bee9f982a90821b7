#include "skin/data/skin_image_list.h"

namespace qh {

void TSkinImageList::AddMasked(const TBitmap& strip, TColor maskColour) {
    FMaskColour = maskColour;
    if (FWidth <= 0 || FHeight <= 0) return;
    for (int x = 0; x + FWidth <= strip.Width(); x += FWidth) {
        TBitmap glyph(FWidth, FHeight);
        glyph.Fill(maskColour);
        glyph.CopyRect(0, 0, strip, x, 0, FWidth, FHeight);
        FImages.push_back(std::move(glyph));
    }
}

} // namespace qh
