// Where a button's glyph and caption go: the arithmetic shared by the
// toolkit's glyph buttons and the skinned speed button.
#pragma once

namespace qh {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TGlyphPlacement {
    // Top-left corners, relative to the button face's.
    int GlyphX = 0, GlyphY = 0;
    int TextX = 0, TextY = 0;
};

// A glyph of glyphWidth x glyphHeight (0 x 0 for none) and a caption of
// textWidth x textHeight (0 x 0 for none) on a face of width x height.
// Along the layout's direction they sit margin from the edge with spacing
// between them; a margin of -1 centres the pair (with spacing -1, margin
// and spacing share the room evenly); a spacing of -1 alone centres the
// caption in the room after the glyph. Across it, both are centred.
TGlyphPlacement PlaceGlyphAndCaption(int width, int height, int glyphWidth, int glyphHeight,
                                     int textWidth, int textHeight, TButtonLayout layout,
                                     int margin, int spacing);

} // namespace qh
