#include "toolkit/glyph_buttons.h"

#include "core/gbk.h"
#include "toolkit/actions.h"
#include "toolkit/canvas.h"
#include "toolkit/disabled_glyph.h"
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

void DrawButtonFace(HDC dc, const RECT& bounds, const TPicture& glyph, int numGlyphs,
                    int glyphIndex, const std::string& caption, const TFont& font,
                    TButtonLayout layout, int margin, int spacing, bool enabled) {
    numGlyphs = std::max(numGlyphs, 1);
    int gw = glyph.Empty() ? 0 : glyph.Width() / numGlyphs;
    int gh = glyph.Empty() ? 0 : glyph.Height();
    std::wstring text = GbkToWide(caption);
    TCanvas canvas(dc);
    canvas.Font().Assign(font);
    SIZE ts = text.empty() ? SIZE{0, 0} : canvas.TextExtent(text);
    int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
    bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    int total = horizontal ? w : h;
    int glyphSize = horizontal ? gw : gh, textSize = horizontal ? ts.cx : ts.cy;
    if (gw == 0 || text.empty()) spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            margin = spacing = (total - glyphSize - textSize) / 3;
        } else {
            margin = (total - (glyphSize + spacing + textSize)) / 2;
        }
    } else if (spacing == -1) {
        spacing = (total - margin - glyphSize - textSize) / 2;
    }
    POINT gp{0, 0}, tp{0, 0};
    switch (layout) {
    case blGlyphLeft:
        gp.x = margin;
        tp.x = margin + gw + spacing;
        break;
    case blGlyphRight:
        gp.x = w - margin - gw;
        tp.x = gp.x - spacing - ts.cx;
        break;
    case blGlyphTop:
        gp.y = margin;
        tp.y = margin + gh + spacing;
        break;
    case blGlyphBottom:
        gp.y = h - margin - gh;
        tp.y = gp.y - spacing - ts.cy;
        break;
    }
    if (horizontal) {
        gp.y = (h - gh) / 2;
        tp.y = (h - ts.cy) / 2;
    } else {
        gp.x = (w - gw) / 2;
        tp.x = (w - ts.cx) / 2;
    }
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

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), FGlyph(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 23, 22);
    FGlyph->OnChange = [this] { Invalidate(); };
}

void TSpeedButton::SetFlat(bool flat) {
    StoreAndInvalidate(FFlat, flat);
}

void TSpeedButton::SetGlyph(TPicture* glyph) {
    if (glyph && glyph != FGlyph.get()) FGlyph->SetBitmap(glyph->Bitmap());
}

void TSpeedButton::SetNumGlyphs(int count) {
    StoreAndInvalidate(FNumGlyphs, std::clamp(count, 1, 4));
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
    StoreAndInvalidate(FLayout, layout);
}

void TSpeedButton::SetMargin(int margin) {
    StoreAndInvalidate(FMargin, margin);
}

void TSpeedButton::SetSpacing(int spacing) {
    StoreAndInvalidate(FSpacing, spacing);
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
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Enabled()) {
            FPressed = true;
            Repaint();
        }
        break;
    case WM_LBUTTONUP: {
        bool wasPressed = FPressed;
        FPressed = false;
        int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
        Repaint();
        TGraphicControl::WndProc(m);
        if (wasPressed && Enabled() && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
        return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
    case CM_ENABLEDCHANGED:
        if (m.Msg == CM_MOUSELEAVE) FPressed = false;
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
    bool sunk = FPressed || FDown;
    if (!FFlat)
        DrawEdge(dc, &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    else if (sunk)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (MouseInControl() && Enabled())
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    int index = FPressed ? 2 : FDown ? 3 : 0;
    RECT face = r;
    if (sunk) OffsetRect(&face, 1, 1);
    DrawButtonFace(dc, face, *FGlyph, FNumGlyphs, index, Caption(), *Font(), FLayout, FMargin,
                   FSpacing, Enabled());
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TPicture>()) {
    FGlyph->OnChange = [this] { Invalidate(); };
}

void TBitBtn::SetGlyph(TPicture* glyph) {
    if (glyph && glyph != FGlyph.get()) FGlyph->SetBitmap(glyph->Bitmap());
}

void TBitBtn::SetNumGlyphs(int count) {
    StoreAndInvalidate(FNumGlyphs, std::clamp(count, 1, 4));
}

void TBitBtn::SetLayout(TButtonLayout layout) {
    StoreAndInvalidate(FLayout, layout);
}

void TBitBtn::SetMargin(int margin) {
    StoreAndInvalidate(FMargin, margin);
}

void TBitBtn::SetSpacing(int spacing) {
    StoreAndInvalidate(FSpacing, spacing);
}

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
        DrawButtonFace(item->hDC, r, *FGlyph, FNumGlyphs, pressed ? 2 : 0, Caption(), *Font(),
                       FLayout, FMargin, FSpacing, Enabled());
        m.Result = TRUE;
        return;
    }
    TButton::WndProc(m);
}

} // namespace qh
