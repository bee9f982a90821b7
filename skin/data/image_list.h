// A list of equal-sized glyphs cut from one strip, with the colour that is
// see-through when they are drawn.
#pragma once

#include <vector>

#include "images/bitmap.h"

namespace qh {

// Named apart from the toolkit's icon list, which the same program carries.
class TSkinImageList {
public:
    TSkinImageList(int width, int height) : width_(width), height_(height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }
    const TBitmap& Images(int index) const { return images_.at(static_cast<size_t>(index)); }
    TColor MaskColour() const { return maskColour_; }

    // Cuts strip into Width-wide glyphs, left to right; a rest narrower
    // than a glyph is dropped.
    void AddMasked(const TBitmap& strip, TColor maskColour);
    void Clear() { images_.clear(); }

private:
    int width_;
    int height_;
    TColor maskColour_ = 0;
    std::vector<TBitmap> images_;
};

} // namespace qh
