#include "skin/render/button_states.h"

namespace qh {

int PushButtonState(bool pressed, bool hot, bool isDefault, bool focused, bool enabled) {
    if (!enabled) return kButtonDisabled;
    if (pressed) return kButtonPressed;
    if (hot) return kButtonHot;
    if (isDefault) return kButtonDefault;
    if (focused) return kButtonHot;
    return kButtonNormal;
}

int SpeedButtonState(bool pressed, bool hot, bool enabled, bool down) {
    int state = kButtonNormal;
    if (pressed)
        state = kButtonPressed;
    else if (hot)
        state = kButtonHot;
    if (!enabled) state = kButtonDisabled;
    if (down) state = kButtonPressed;
    return state;
}

int ToolButtonState(bool selected, bool focusedOrHot, bool isDefault, bool greyedOrDisabled) {
    if (selected) return kButtonPressed;
    if (focusedOrHot) return kButtonHot;
    if (isDefault && !greyedOrDisabled) return kButtonNormal;
    return 0;
}

TGlyphChoice GlyphFor(int state, int numGlyphs) {
    // Strip images by state: pressed shows "clicked", disabled "disabled",
    // anything else "up".
    int number = 1;
    if (state == kButtonPressed)
        number = 3;
    else if (state == kButtonDisabled)
        number = 2;
    return {numGlyphs == 4 ? number - 1 : 0, number == 2};
}

int CaptionTop(int height, int textHeight) {
    // (height - textHeight) / 2 - 1 as a real number, then truncated:
    // integer division truncates toward zero too.
    return (height - textHeight - 2) / 2;
}

int32_t PushButtonTextColour(const TDataSkinButton& part, int32_t buttonText, int state,
                             bool enabled) {
    if (!enabled) return 0x808080;
    switch (state) {
    case kButtonNormal:
        return part.NormalColour2;
    case kButtonHot:
        return part.MouseOverColour2;
    case kButtonPressed:
        return part.PressedColour2;
    default:
        return buttonText;
    }
}

int32_t GlyphButtonTextColour(const TDataSkinButton& part, int32_t fontColour, int32_t greyText,
                              int state, bool enabled) {
    if (!enabled) return greyText;
    if (state == kButtonNormal && part.HasNormalColour2) return part.NormalColour2;
    if (state == kButtonHot && part.HasMouseOverColour2) return part.MouseOverColour2;
    if (state == kButtonPressed && part.HasPressedColour2) return part.PressedColour2;
    return fontColour;
}

} // namespace qh
