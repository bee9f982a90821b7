// The skin parts: what a parsed skin holds for the drawing code. Each part
// owns its bitmaps.
#pragma once

#include <cstdint>
#include <string>

#include "images/bitmap.h"

namespace qh {

// A colour that the skin did not give.
inline constexpr int32_t kNoColour = -1;
// A title text colour that the skin did not give.
inline constexpr int32_t kNoTitleColour = 0x1FFFFFFF;

class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    // The class name as tools print it.
    virtual const char* ClassName() const { return "TDataSkinObject"; }

    int32_t LeftWidth = 0;
    int32_t TopHeight = 0;
    int32_t RightWidth = 0;
    int32_t BottomHeight = 0;
    TBitmap Image;
    int32_t Trans = 0;
    int32_t Tile = 0;
    std::string Name;
    // State cells side by side in Image.
    int32_t Frame = 0;
    int32_t Style = 0;
    int32_t NormalColour = kNoColour;
    int32_t MouseOverColour = kNoColour;
    int32_t PressedColour = kNoColour;
    int32_t NormalColour2 = 0;
    int32_t MouseOverColour2 = 0;
    int32_t PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    const char* ClassName() const override { return "TDataSkinBorder"; }

    TBitmap Image2;
};

// LeftWidth holds the text shift, TopHeight the vertical text shift,
// RightWidth the right clip; Image is the text-back picture.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    const char* ClassName() const override { return "TDataSkinTitle"; }

    int32_t TextAlignment = 0;
    int32_t Textbackground = 0;
    int32_t FontHeight = 0;
    int32_t TXTBackleft = 0;
    int32_t TXTBackRight = 0;
    int32_t ActiveTextColour = kNoTitleColour;
    int32_t InActiveTextColour = kNoTitleColour;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    const char* ClassName() const override { return "TDataSkinButton"; }

    TBitmap CheckImage;
    TBitmap RadioImage;
    int32_t RadioButtonFrame = 0;
    int32_t CheckButtonFrame = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    const char* ClassName() const override { return "TDataSkinSysButton"; }

    int32_t Action = 0;
    int32_t Align = 0;
    int32_t XCoord = 0;
    int32_t YCoord = 0;
    int32_t CombineOp = 0;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    const char* ClassName() const override { return "TDataSkinBoxLabel"; }

    int32_t BackgroundLeftShift = 0;
    int32_t BackgroundRightShift = 0;
    int32_t BackgroundAlignment = 0;
};

} // namespace qh
