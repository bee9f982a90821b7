// The state images, glyph images, caption place and colours of skinned buttons.
#include "skin/render/button_states.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

TEST(ButtonStates, PushButtonPrecedence) {
    // pressed, hot, default, focused, enabled
    EXPECT_EQ(PushButtonState(true, true, true, true, true), kButtonPressed);
    EXPECT_EQ(PushButtonState(false, true, true, true, true), kButtonHot);
    EXPECT_EQ(PushButtonState(false, false, true, true, true), kButtonDefault);
    EXPECT_EQ(PushButtonState(false, false, false, true, true), kButtonHot);
    EXPECT_EQ(PushButtonState(false, false, false, false, true), kButtonNormal);
    EXPECT_EQ(PushButtonState(true, true, true, true, false), kButtonDisabled);
}

TEST(ButtonStates, SpeedButtonDownWinsOverDisabled) {
    // pressed, hot, enabled, down
    EXPECT_EQ(SpeedButtonState(false, true, true, false), kButtonHot);
    EXPECT_EQ(SpeedButtonState(true, true, true, false), kButtonPressed);
    EXPECT_EQ(SpeedButtonState(false, true, false, false), kButtonDisabled);
    EXPECT_EQ(SpeedButtonState(false, false, false, true), kButtonPressed);
}

TEST(ButtonStates, ToolButtonPaintsNothingForAnUnmarkedOrGreyedButton) {
    EXPECT_EQ(ToolButtonState(true, true, false, true), kButtonPressed);
    EXPECT_EQ(ToolButtonState(false, true, false, false), kButtonHot);
    EXPECT_EQ(ToolButtonState(false, false, true, false), kButtonNormal);
    EXPECT_EQ(ToolButtonState(false, false, true, true), 0);
    EXPECT_EQ(ToolButtonState(false, false, false, false), 0);
}

TEST(ButtonStates, OnlyAFourImageStripFollowsTheState) {
    EXPECT_EQ(GlyphFor(kButtonPressed, 4).Index, 2);
    EXPECT_EQ(GlyphFor(kButtonDisabled, 4).Index, 1);
    EXPECT_EQ(GlyphFor(kButtonHot, 4).Index, 0);
    EXPECT_FALSE(GlyphFor(kButtonPressed, 4).Grey);
    for (int strip : {1, 2, 3}) {
        EXPECT_EQ(GlyphFor(kButtonPressed, strip).Index, 0) << strip;
        EXPECT_EQ(GlyphFor(kButtonDisabled, strip).Index, 0) << strip;
        EXPECT_TRUE(GlyphFor(kButtonDisabled, strip).Grey) << strip;
        EXPECT_FALSE(GlyphFor(kButtonNormal, strip).Grey) << strip;
    }
}

TEST(ButtonStates, CaptionSitsOnePixelAboveCentreTruncatedTowardZero) {
    EXPECT_EQ(CaptionTop(25, 13), 5);
    EXPECT_EQ(CaptionTop(24, 13), 4); // 5.5 - 1
    EXPECT_EQ(CaptionTop(14, 13), 0); // -0.5 truncates to 0, not -1
    EXPECT_EQ(CaptionTop(10, 13), -2); // -2.5
}

TEST(ButtonStates, CaptionColours) {
    TDataSkinButton part("Buttons");
    part.NormalColour2 = 0x0000FF;
    part.MouseOverColour2 = 0x00FF00;
    part.PressedColour2 = 0xFF0000;
    part.HasNormalColour2 = true;
    const int32_t buttonText = 0x80000012;
    EXPECT_EQ(PushButtonTextColour(part, buttonText, kButtonNormal, true), 0x0000FF);
    EXPECT_EQ(PushButtonTextColour(part, buttonText, kButtonHot, true), 0x00FF00);
    EXPECT_EQ(PushButtonTextColour(part, buttonText, kButtonPressed, true), 0xFF0000);
    EXPECT_EQ(PushButtonTextColour(part, buttonText, kButtonDefault, true), buttonText);
    EXPECT_EQ(PushButtonTextColour(part, buttonText, kButtonNormal, false), 0x808080);
    // Speed buttons take only the colours the skin named.
    const int32_t font = 0x123456, grey = 0x80000011;
    EXPECT_EQ(GlyphButtonTextColour(part, font, grey, kButtonNormal, true), 0x0000FF);
    EXPECT_EQ(GlyphButtonTextColour(part, font, grey, kButtonHot, true), font);
    EXPECT_EQ(GlyphButtonTextColour(part, font, grey, kButtonPressed, false), grey);
}

} // namespace
} // namespace qh
