#include "toolkit/panels.h"

#include "core/gbk.h"
#include "toolkit/actions.h"
#include "toolkit/canvas.h"
#include "toolkit/image_list.h"
#include "toolkit/menus.h"

#include <algorithm>

namespace qh {

const TEnumInfo BevelCutEnum{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};

QH_DEFINE_CLASS(
    TCustomPanel, TWinControl,
    EnumProp("BevelInner", BevelCutEnum, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner),
    EnumProp("BevelOuter", BevelCutEnum, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter),
    IntProp("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth),
    IntProp("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth),
    EnumProp("Alignment", AlignmentEnum, &TCustomPanel::Alignment, &TCustomPanel::SetAlignment))

QH_DEFINE_CLASS(TPanel, TCustomPanel)

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TBevelCut cut) {
    StoreAndInvalidate(FBevelInner, cut);
    Realign();
}

void TCustomPanel::SetBevelOuter(TBevelCut cut) {
    StoreAndInvalidate(FBevelOuter, cut);
    Realign();
}

void TCustomPanel::SetBevelWidth(int width) {
    StoreAndInvalidate(FBevelWidth, std::max(width, 1));
    Realign();
}

void TCustomPanel::SetBorderWidth(int width) {
    StoreAndInvalidate(FBorderWidth, std::max(width, 0));
    Realign();
}

void TCustomPanel::SetAlignment(TAlignment alignment) {
    StoreAndInvalidate(FAlignment, alignment);
}

void TCustomPanel::AdjustClientRect(RECT& r) {
    int inset = FBorderWidth + (FBevelOuter != bvNone ? FBevelWidth : 0) +
                (FBevelInner != bvNone ? FBevelWidth : 0);
    InflateRect(&r, -inset, -inset);
}

void TCustomPanel::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        for (int i = 0; i < FBevelWidth; ++i) {
            if (cut != bvSpace)
                DrawEdge(dc, &r, cut == bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            InflateRect(&r, -1, -1);
        }
    };
    bevel(FBevelOuter);
    InflateRect(&r, -FBorderWidth, -FBorderWidth);
    bevel(FBevelInner);
    UINT format = DT_SINGLELINE | DT_VCENTER |
                  (FAlignment == taCenter         ? DT_CENTER
                   : FAlignment == taRightJustify ? DT_RIGHT
                                                  : DT_LEFT);
    TCanvas canvas(dc);
    canvas.Font().Assign(*Font());
    canvas.TextRect(r, Caption(), format);
}

} // namespace qh
