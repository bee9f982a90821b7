#include "skin/data/image_list.h"

namespace qh {

void TSkinImageList::AddMasked(const TBitmap& strip, TColor maskColour) {
    maskColour_ = maskColour;
    if (width_ <= 0 || height_ <= 0) return;
    for (int x = 0; x + width_ <= strip.Width(); x += width_) {
        TBitmap glyph(width_, height_);
        glyph.Fill(maskColour);
        glyph.CopyRect(0, 0, strip, x, 0, width_, height_);
        images_.push_back(std::move(glyph));
    }
}

} // namespace qh
