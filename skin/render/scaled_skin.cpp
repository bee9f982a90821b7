#include "skin/render/scaled_skin.h"

#include "core/mul_div.h"
#include "skin/render/part_compose.h"
#include "skin/render/picture_scaling.h"

namespace qh {

namespace {

// How a picture is cut: its state images side by side or stacked, and the
// nine-cell margins a part stretches its middle between.
struct TCut {
    bool Vertical = false;
    int Frames = 1;
    TMargins Margins;
};

TMargins ScaleMargins(const TMargins& m, int dpi) {
    return {ScaleForDpi(m.Left, dpi), ScaleForDpi(m.Top, dpi), ScaleForDpi(m.Right, dpi),
            ScaleForDpi(m.Bottom, dpi)};
}

void ScalePicture(TBitmap& picture, const TCut& cut, int dpi) {
    if (picture.Empty()) return;
    picture = ScaleSkinPicture(picture, cut.Vertical, cut.Frames, cut.Margins, dpi).Picture;
}

// The part's image cut by its own margins and frame count; the figures
// scaled with it.
template <typename Part>
std::unique_ptr<Part> ScaledPart(const Part& part, int dpi, bool vertical = false) {
    auto scaled = std::make_unique<Part>(part);
    ScalePicture(scaled->Image, {vertical, part.Frame, MarginsOf(part)}, dpi);
    const TMargins m = ScaleMargins(MarginsOf(part), dpi);
    scaled->LeftWidth = m.Left;
    scaled->TopHeight = m.Top;
    scaled->RightWidth = m.Right;
    scaled->BottomHeight = m.Bottom;
    return scaled;
}

template <typename Part>
void ScaleOptional(std::unique_ptr<Part>& into, const std::unique_ptr<Part>& from, int dpi,
                   bool vertical = false) {
    into = from ? ScaledPart(*from, dpi, vertical) : nullptr;
}

} // namespace

std::unique_ptr<TSkinParts> ScaledSkinParts(const TSkinParts& skin, int dpi) {
    auto s = std::make_unique<TSkinParts>();
    s->SkinEmpty = skin.SkinEmpty;
    s->SkinName = skin.SkinName;
    s->Colours = skin.Colours;
    s->CustomColours = skin.CustomColours;

    // Side borders hold their state images side by side, the top and
    // bottom ones stacked.
    s->BorderLeft = ScaledPart(*skin.BorderLeft, dpi);
    s->BorderRight = ScaledPart(*skin.BorderRight, dpi);
    s->BorderTop = ScaledPart(*skin.BorderTop, dpi, true);
    s->BorderBottom = ScaledPart(*skin.BorderBottom, dpi, true);

    // The title's own margins are text shifts; its picture is cut by the
    // text-back margins.
    const TDataSkinTitle& title = *skin.Title;
    s->Title = ScaledPart(title, dpi);
    s->Title->Image = title.Image;
    ScalePicture(s->Title->Image, {false, 2, {title.TXTBackleft, 0, title.TXTBackRight, 0}}, dpi);
    s->Title->TXTBackleft = ScaleForDpi(title.TXTBackleft, dpi);
    s->Title->TXTBackRight = ScaleForDpi(title.TXTBackRight, dpi);
    s->Title->FontHeight = ScaleForDpi(title.FontHeight, dpi);

    const TDataSkinButton& button = *skin.Button;
    s->Button = ScaledPart(button, dpi);
    ScalePicture(s->Button->CheckImage, {false, button.CheckButtonFrame, {}}, dpi);
    ScalePicture(s->Button->RadioImage, {false, button.RadioButtonFrame, {}}, dpi);

    for (const auto& sys : skin.SysButtons) {
        auto scaled = ScaledPart(*sys, dpi);
        scaled->XCoord = ScaleForDpi(sys->XCoord, dpi);
        scaled->YCoord = ScaleForDpi(sys->YCoord, dpi);
        s->SysButtons.push_back(std::move(scaled));
    }

    ScaleOptional(s->Progress, skin.Progress, dpi);
    if (s->Progress) ScalePicture(s->Progress->Image2, {}, dpi);
    ScaleOptional(s->Tab, skin.Tab, dpi);
    if (s->Tab) ScalePicture(s->Tab->Image2, {false, 1, MarginsOf(*skin.Tab)}, dpi);
    ScaleOptional(s->ComboButton, skin.ComboButton, dpi);
    if (s->ComboButton)
        ScalePicture(s->ComboButton->Image2,
                     {false, skin.ComboButton->Frame, MarginsOf(*skin.ComboButton)}, dpi);
    ScaleOptional(s->UpDownHorz, skin.UpDownHorz, dpi);
    ScaleOptional(s->UpDownVert, skin.UpDownVert, dpi);
    for (TDataSkinBorder* upDown : {s->UpDownHorz.get(), s->UpDownVert.get()})
        if (upDown) ScalePicture(upDown->Image2, {false, upDown->Frame, {}}, dpi);
    ScaleOptional(s->GroupBox, skin.GroupBox, dpi);
    if (s->GroupBox) {
        s->GroupBox->BackgroundLeftShift = ScaleForDpi(skin.GroupBox->BackgroundLeftShift, dpi);
        s->GroupBox->BackgroundRightShift = ScaleForDpi(skin.GroupBox->BackgroundRightShift, dpi);
    }
    // The menu bar's two state images are stacked.
    ScaleOptional(s->MenuBar, skin.MenuBar, dpi, true);
    for (auto [into, from] :
         {std::pair{&s->GroupBoxEdge, &skin.GroupBoxEdge}, {&s->Toolbar, &skin.Toolbar},
          {&s->StatusBar, &skin.StatusBar}, {&s->SunkEdge, &skin.SunkEdge},
          {&s->ExtraImages, &skin.ExtraImages}, {&s->Header, &skin.Header},
          {&s->MenuItem, &skin.MenuItem}, {&s->MenuBackground, &skin.MenuBackground},
          {&s->ScrollArrows, &skin.ScrollArrows}, {&s->HorzScroll, &skin.HorzScroll},
          {&s->VertScroll, &skin.VertScroll}, {&s->HorzScrollThumb, &skin.HorzScrollThumb},
          {&s->VertScrollThumb, &skin.VertScrollThumb}, {&s->ThumbHorz, &skin.ThumbHorz},
          {&s->ThumbVert, &skin.ThumbVert}, {&s->ThumbLeft, &skin.ThumbLeft},
          {&s->ThumbRight, &skin.ThumbRight}, {&s->ThumbUp, &skin.ThumbUp},
          {&s->ThumbDown, &skin.ThumbDown}})
        ScaleOptional(*into, *from, dpi);
    return s;
}

} // namespace qh
