#include "toolkit/layout/glyph_layout.h"

namespace qh {

TGlyphPlacement PlaceGlyphAndCaption(int width, int height, int glyphWidth, int glyphHeight,
                                     int textWidth, int textHeight, TButtonLayout layout,
                                     int margin, int spacing) {
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int total = horizontal ? width : height;
    const int glyphSize = horizontal ? glyphWidth : glyphHeight;
    const int textSize = horizontal ? textWidth : textHeight;
    if (glyphWidth == 0 || textWidth == 0) spacing = 0;
    if (margin == -1) {
        if (spacing == -1)
            margin = spacing = (total - glyphSize - textSize) / 3;
        else
            margin = (total - (glyphSize + spacing + textSize)) / 2;
    } else if (spacing == -1) {
        spacing = (total - margin - glyphSize - textSize) / 2;
    }
    TGlyphPlacement p;
    switch (layout) {
    case blGlyphLeft:
        p.GlyphX = margin;
        p.TextX = margin + glyphWidth + spacing;
        break;
    case blGlyphRight:
        p.GlyphX = width - margin - glyphWidth;
        p.TextX = p.GlyphX - spacing - textWidth;
        break;
    case blGlyphTop:
        p.GlyphY = margin;
        p.TextY = margin + glyphHeight + spacing;
        break;
    case blGlyphBottom:
        p.GlyphY = height - margin - glyphHeight;
        p.TextY = p.GlyphY - spacing - textHeight;
        break;
    }
    if (horizontal) {
        p.GlyphY = (height - glyphHeight) / 2;
        p.TextY = (height - textHeight) / 2;
    } else {
        p.GlyphX = (width - glyphWidth) / 2;
        p.TextX = (width - textWidth) / 2;
    }
    return p;
}

} // namespace qh
