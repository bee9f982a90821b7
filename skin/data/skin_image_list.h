// A list of equal-sized glyphs cut from one strip, with the colour that is
// see-through when they are drawn.
#pragma once

#include <vector>

#include "images/bitmap.h"

namespace qh {

// Named apart from the toolkit's icon list, which the same program carries.
class TSkinImageList {
public:
    TSkinImageList(int width, int height) : FWidth(width), FHeight(height) {}

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return static_cast<int>(FImages.size()); }
    const TBitmap& Images(int index) const { return FImages.at(static_cast<size_t>(index)); }
    TColor MaskColour() const { return FMaskColour; }

    // Cuts strip into Width-wide glyphs, left to right; a rest narrower
    // than a glyph is dropped.
    void AddMasked(const TBitmap& strip, TColor maskColour);
    void Clear() { FImages.clear(); }

private:
    int FWidth;
    int FHeight;
    TColor FMaskColour = 0;
    std::vector<TBitmap> FImages;
};

} // namespace qh
