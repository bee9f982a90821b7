#include "toolkit/glyph_buttons.h"

#include "core/gbk.h"
#include "toolkit/actions.h"
#include "toolkit/canvas.h"
#include "images/disabled_glyph.h"
#include "toolkit/image_list.h"
#include "toolkit/menus.h"

#include <algorithm>

namespace qh {

const TEnumInfo ButtonLayoutEnum{"TButtonLayout",
                                 {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};

QH_DEFINE_CLASS(TSpeedButton, TGraphicControl,
                BoolProp("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat),
                ObjProp("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph),
                IntProp("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs),
                BoolProp("Down", &TSpeedButton::Down, &TSpeedButton::SetDown),
                IntProp("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex),
                BoolProp("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp),
                EnumProp("Layout", ButtonLayoutEnum, &TSpeedButton::Layout,
                         &TSpeedButton::SetLayout),
                IntProp("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin),
                IntProp("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing),
                BoolProp("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent))

QH_DEFINE_CLASS(TBitBtn, TButton, ObjProp("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph),
                IntProp("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs),
                EnumProp("Layout", ButtonLayoutEnum, &TBitBtn::Layout, &TBitBtn::SetLayout),
                IntProp("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin),
                IntProp("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing))

TButtonGlyph::TButtonGlyph() : FGlyph(std::make_unique<TPicture>()) {
    FGlyph->OnChange = [this] { GlyphChanged(); };
}

template <class T> void TButtonGlyph::Store(T& field, T value) {
    if (field == value) return;
    field = value;
    GlyphChanged();
}

void TButtonGlyph::SetGlyph(TPicture* glyph) {
    if (glyph && glyph != FGlyph.get()) FGlyph->SetBitmap(glyph->Bitmap());
}

void TButtonGlyph::SetNumGlyphs(int count) {
    Store(FNumGlyphs, std::clamp(count, 1, 4));
}

void TButtonGlyph::SetLayout(TButtonLayout layout) {
    Store(FLayout, layout);
}

void TButtonGlyph::SetMargin(int margin) {
    Store(FMargin, margin);
}

void TButtonGlyph::SetSpacing(int spacing) {
    Store(FSpacing, spacing);
}

void TButtonGlyph::DrawFace(HDC dc, const RECT& bounds, int glyphIndex, const std::string& caption,
                            const TFont& font, bool enabled) const {
    const TPicture& glyph = *FGlyph;
    const int numGlyphs = FNumGlyphs;
    int gw = glyph.Empty() ? 0 : glyph.Width() / numGlyphs;
    int gh = glyph.Empty() ? 0 : glyph.Height();
    std::wstring text = GbkToWide(caption);
    TCanvas canvas(dc);
    canvas.Font().Assign(font);
    SIZE ts = text.empty() ? SIZE{0, 0} : canvas.TextExtent(text);
    const TGlyphPlacement place =
        PlaceGlyphAndCaption(bounds.right - bounds.left, bounds.bottom - bounds.top, gw, gh, ts.cx,
                             ts.cy, FLayout, FMargin, FSpacing);
    POINT gp{place.GlyphX, place.GlyphY}, tp{place.TextX, place.TextY};
    if (!enabled) glyphIndex = kDisabledGlyphIndex;
    if (gw > 0) {
        TColor key = glyph.Bitmap().GetPixel(0, gh - 1);
        if (!enabled && numGlyphs <= kDisabledGlyphIndex) {
            TDisabledGlyph shape =
                MakeDisabledGlyph(glyph.Bitmap(), 0, 0, gw, gh, key,
                                  GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
            TPicture picture;
            picture.SetBitmap(shape.Picture);
            picture.Draw(dc, bounds.left + gp.x, bounds.top + gp.y, 0, 0, picture.Width(),
                         picture.Height(), shape.Key);
        } else {
            int index = glyphIndex < numGlyphs ? glyphIndex : 0;
            glyph.Draw(dc, bounds.left + gp.x, bounds.top + gp.y, index * gw, 0, gw, gh, key);
        }
    }
    if (!text.empty()) {
        if (enabled)
            canvas.TextOut(bounds.left + tp.x, bounds.top + tp.y, text);
        else
            canvas.EtchedTextOut(bounds.left + tp.x, bounds.top + tp.y, text);
    }
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetFlat(bool flat) {
    StoreAndInvalidate(FFlat, flat);
}

void TSpeedButton::SetTransparent(bool transparent) {
    StoreAndInvalidate(FTransparent, transparent);
}

void TSpeedButton::SetDown(bool down) {
    if (FGroupIndex == 0) down = false;
    if (down == FDown) return;
    if (!down && !FAllowAllUp && FGroupIndex != 0) {
        // The last button of a group that must keep one down stays down,
        // unless another of the group is down.
        bool other = false;
        if (Parent())
            for (int i = 0; i < Parent()->ControlCount(); ++i)
                if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                    b && b != this && b->FGroupIndex == FGroupIndex && b->FDown)
                    other = true;
        if (!other) return;
    }
    FDown = down;
    if (down && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) {
                b->FDown = false;
                b->Invalidate();
            }
    Invalidate();
}

void TSpeedButton::Click() {
    if (FGroupIndex != 0) SetDown(FAllowAllUp ? !FDown : true);
    TGraphicControl::Click();
}

void TSpeedButton::ActionChanged() {
    TGraphicControl::ActionChanged();
    if (Action() && FGroupIndex != 0) SetDown(Action()->Checked());
}

void TSpeedButton::WndProc(TMessage& m) {
    if (TrackPress(m)) return;
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
    case CM_ENABLEDCHANGED:
        TGraphicControl::WndProc(m);
        if (FFlat || m.Msg == CM_ENABLEDCHANGED) Invalidate();
        return;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    if (!FFlat || !FTransparent) FillRect(dc, &r, FBrush.Get(Color()));
    bool sunk = Pressed() || FDown;
    if (!FFlat)
        DrawEdge(dc, &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    else if (sunk)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (MouseInControl() && Enabled())
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    int index = Pressed() ? 2 : FDown ? 3 : 0;
    RECT face = r;
    if (sunk) OffsetRect(&face, 1, 1);
    DrawFace(dc, face, index, Caption(), *Font(), Enabled());
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style = (params.Style & ~0xFu) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
    if (m.Msg == CN_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        RECT r = item->rcItem;
        bool pressed = (item->itemState & ODS_SELECTED) != 0;
        FillRect(item->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(item->hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (Default() || (item->itemState & ODS_FOCUS))
            FrameRect(item->hDC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (pressed) OffsetRect(&r, 1, 1);
        DrawFace(item->hDC, r, pressed ? 2 : 0, Caption(), *Font(), Enabled());
        m.Result = TRUE;
        return;
    }
    TButton::WndProc(m);
}

} // namespace qh
