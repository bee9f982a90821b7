// The look of a picture on a disabled button when the picture has no
// disabled image of its own.
#pragma once

#include "images/bitmap.h"

namespace qh {

struct TDisabledGlyph {
    // One pixel wider and taller than the cell it was made from.
    TBitmap Picture;
    // The colour of the pixels that are to be left out when drawing.
    TColor Key = kColourKey;
};

// Turns the w x h cell at (sx, sy) of a glyph strip into one flat shape,
// etched as the system etches disabled pictures: the shape in the highlight
// colour one pixel down and right, and over it the shape in the shadow
// colour. The shape is every pixel that is neither the transparent colour
// nor light: light pixels (white, the soft edges of lettering) drop out, as
// they do in the black-and-white conversion that disabled pictures get.
TDisabledGlyph MakeDisabledGlyph(const TBitmap& strip, int sx, int sy, int w, int h,
                                 TColor transparent, TColor highlight, TColor shadow);

// Whether a pixel of a glyph counts as part of its disabled shape.
bool IsDisabledShapePixel(TColor pixel, TColor transparent);

} // namespace qh
