// Which state image of the skin's Button part a button paints, which image
// of its glyph strip it shows, where its caption goes and in what colour.
#pragma once

#include <cstdint>

#include "skin/data/skin_objects.h"

namespace qh {

// State images of the Button part (five side by side).
enum : int {
    kButtonNormal = 1,
    kButtonPressed = 2,
    kButtonDisabled = 3,
    kButtonHot = 4,
    kButtonDefault = 5,
};

// A push button: pressed, else hot, else the default button, else focused
// (which looks hot), else normal; disabled always looks disabled.
int PushButtonState(bool pressed, bool hot, bool isDefault, bool focused, bool enabled);

// A speed button: pressed, else hot; disabled; a button that is down looks
// pressed even when disabled.
int SpeedButtonState(bool pressed, bool hot, bool enabled, bool down);

// A tool bar button from its custom-draw state: 0 when the skin paints
// nothing under it.
int ToolButtonState(bool selected, bool focusedOrHot, bool isDefault, bool greyedOrDisabled);

// The image of a glyph strip a state shows: the strip's numbering is up,
// disabled, clicked, down; only a strip of exactly four images follows the
// state, any other always shows its first. The disabled image is greyed.
struct TGlyphChoice {
    int Index = 0; // from 0
    bool Grey = false;
};
TGlyphChoice GlyphFor(int state, int numGlyphs);

// The top of a centred caption: one pixel above the centre, truncated
// toward zero.
int CaptionTop(int height, int textHeight);

// Caption colours. Colours are the skin's values (system colours possible).
// Push buttons: the part's second colours (which the skin reader defaults
// to ButtonText) by state, a fixed grey when disabled.
int32_t PushButtonTextColour(const TDataSkinButton& part, int32_t buttonText, int state,
                             bool enabled);
// Speed buttons with a glyph: a second colour only where the skin gave it,
// else the button's own font colour; greyText when disabled.
int32_t GlyphButtonTextColour(const TDataSkinButton& part, int32_t fontColour, int32_t greyText,
                              int state, bool enabled);

} // namespace qh
