#include "toolkit/labels.h"

#include "core/gbk.h"
#include "toolkit/actions.h"
#include "toolkit/canvas.h"
#include "toolkit/image_list.h"
#include "toolkit/menus.h"

#include <algorithm>

namespace qh {

const TEnumInfo TextLayoutEnum{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};

QH_DEFINE_CLASS(TCustomLabel, TGraphicControl,
                EnumProp("Alignment", AlignmentEnum, &TCustomLabel::Alignment,
                         &TCustomLabel::SetAlignment),
                EnumProp("Layout", TextLayoutEnum, &TCustomLabel::Layout, &TCustomLabel::SetLayout),
                BoolProp("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent),
                BoolProp("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap))

QH_DEFINE_CLASS(TLabel, TCustomLabel)

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 13);
    FClicksOnMouseUp = true;
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    StoreAndInvalidate(FAlignment, alignment);
}

void TCustomLabel::SetLayout(TTextLayout layout) {
    StoreAndInvalidate(FLayout, layout);
}

void TCustomLabel::SetTransparent(bool transparent) {
    StoreAndInvalidate(FTransparent, transparent);
}

void TCustomLabel::SetWordWrap(bool wrap) {
    StoreAndInvalidate(FWordWrap, wrap);
}

void TCustomLabel::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    if (!FTransparent) FillRect(dc, &r, FBrush.Get(Color()));
    UINT format = (FAlignment == taCenter         ? DT_CENTER
                   : FAlignment == taRightJustify ? DT_RIGHT
                                                  : DT_LEFT);
    if (FWordWrap) {
        format |= DT_WORDBREAK;
    } else {
        format |= DT_SINGLELINE;
        if (FLayout == tlCenter)
            format |= DT_VCENTER;
        else if (FLayout == tlBottom)
            format |= DT_BOTTOM;
    }
    TCanvas canvas(dc);
    canvas.Font().Assign(*Font());
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    canvas.TextRect(r, Caption(), format);
}

} // namespace qh
