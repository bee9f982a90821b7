#include "toolkit/ext_controls.h"

#include "core/gbk.h"
#include "toolkit/actions.h"
#include "toolkit/disabled_glyph.h"
#include "toolkit/image_list.h"
#include "toolkit/menus.h"

#include <algorithm>

namespace qh {

const TEnumInfo BevelCutEnum{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
const TEnumInfo AlignmentEnum{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumInfo TextLayoutEnum{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
const TEnumInfo ButtonLayoutEnum{"TButtonLayout",
                                 {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};

QH_DEFINE_CLASS(
    TCustomPanel, TWinControl,
    EnumProp("BevelInner", BevelCutEnum, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner),
    EnumProp("BevelOuter", BevelCutEnum, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter),
    IntProp("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth),
    IntProp("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth),
    EnumProp("Alignment", AlignmentEnum, &TCustomPanel::Alignment, &TCustomPanel::SetAlignment))
QH_DEFINE_CLASS(TPanel, TCustomPanel)
QH_DEFINE_CLASS(TCustomLabel, TGraphicControl,
                EnumProp("Alignment", AlignmentEnum, &TCustomLabel::Alignment,
                         &TCustomLabel::SetAlignment),
                EnumProp("Layout", TextLayoutEnum, &TCustomLabel::Layout, &TCustomLabel::SetLayout),
                BoolProp("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent),
                BoolProp("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap))
QH_DEFINE_CLASS(TLabel, TCustomLabel)
QH_DEFINE_CLASS(TImage, TGraphicControl, ObjProp("Picture", &TImage::Picture, &TImage::SetPicture),
                BoolProp("Stretch", &TImage::Stretch, &TImage::SetStretch),
                BoolProp("Center", &TImage::Center, &TImage::SetCenter),
                BoolProp("Transparent", &TImage::Transparent, &TImage::SetTransparent))
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
QH_DEFINE_CLASS(TToolButton, TGraphicControl,
                BoolProp("Down", &TToolButton::Down, &TToolButton::SetDown),
                IntProp("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex))
QH_DEFINE_CLASS(TToolBar, TWinControl,
                IntProp("EdgeBorders", &TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders),
                IntProp("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight),
                IntProp("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth),
                BoolProp("Flat", &TToolBar::Flat, &TToolBar::SetFlat),
                BoolProp("Transparent", &TToolBar::Transparent, &TToolBar::SetTransparent))

namespace {

// Setters that store a value and repaint when it changed.
template <class T, class C> void Store(C* control, T& field, T value) {
    if (field != value) {
        field = value;
        control->Invalidate();
    }
}

void DrawCaption(HDC dc, const std::string& caption, HFONT font, COLORREF color, RECT r,
                 UINT format) {
    if (caption.empty()) return;
    TSelectObject select(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    std::wstring text = GbkToWide(caption);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// Disabled text as the system draws it: a highlight copy one pixel down
// and right, the text itself in the shadow colour.
void DrawEtchedCaption(HDC dc, const std::string& caption, HFONT font, RECT r, UINT format) {
    RECT lower = r;
    OffsetRect(&lower, 1, 1);
    DrawCaption(dc, caption, font, GetSysColor(COLOR_BTNHIGHLIGHT), lower, format);
    DrawCaption(dc, caption, font, GetSysColor(COLOR_BTNSHADOW), r, format);
}

// An image of the list as pixels, on the key colour where it is clear.
TBitmap ImagePixels(const TImageList& images, int index, TColor key) {
    int w = images.Width(), h = images.Height();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    TBitmap pixels;
    if (!dib || !bits) return pixels;
    TMemoryDC dc(nullptr);
    {
        TSelectObject select(dc.Get(), dib.Get());
        RECT all{0, 0, w, h};
        TBrushHandle brush(CreateSolidBrush(key));
        FillRect(dc.Get(), &all, brush.Get());
        ImageList_Draw(images.Handle(), index, dc.Get(), 0, 0, ILD_TRANSPARENT);
        GdiFlush();
    }
    pixels = TBitmap(w, h);
    auto* source = static_cast<const uint32_t*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = source[y * w + x];
            pixels.SetPixel(x, y, MakeColour((p >> 16) & 255, (p >> 8) & 255, p & 255));
        }
    return pixels;
}

void DrawEtchedText(HDC dc, int x, int y, const std::wstring& text) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    TextOutW(dc, x + 1, y + 1, text.c_str(), static_cast<int>(text.size()));
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

} // namespace

// ------------------------------------------------------------------- panel

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TBevelCut cut) {
    Store(this, FBevelInner, cut);
    Realign();
}
void TCustomPanel::SetBevelOuter(TBevelCut cut) {
    Store(this, FBevelOuter, cut);
    Realign();
}
void TCustomPanel::SetBevelWidth(int width) {
    Store(this, FBevelWidth, std::max(width, 1));
    Realign();
}
void TCustomPanel::SetBorderWidth(int width) {
    Store(this, FBorderWidth, std::max(width, 0));
    Realign();
}
void TCustomPanel::SetAlignment(TAlignment alignment) {
    Store(this, FAlignment, alignment);
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
    DrawCaption(dc, Caption(), Font()->Handle(), ColorToRGB(Font()->Color()), r, format);
}

// ------------------------------------------------------------------- label

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 13);
    FClicksOnMouseUp = true;
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    Store(this, FAlignment, alignment);
}
void TCustomLabel::SetLayout(TTextLayout layout) {
    Store(this, FLayout, layout);
}
void TCustomLabel::SetTransparent(bool transparent) {
    Store(this, FTransparent, transparent);
}
void TCustomLabel::SetWordWrap(bool wrap) {
    Store(this, FWordWrap, wrap);
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
    COLORREF color = Enabled() ? ColorToRGB(Font()->Color()) : GetSysColor(COLOR_GRAYTEXT);
    DrawCaption(dc, Caption(), Font()->Handle(), color, r, format);
}

// ------------------------------------------------------------------- image

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    FClicksOnMouseUp = true;
    FPicture->OnChange = [this] { Invalidate(); };
}

void TImage::SetPicture(TPicture* picture) {
    if (picture && picture != FPicture.get()) FPicture->SetBitmap(picture->Bitmap());
}
void TImage::SetStretch(bool stretch) {
    Store(this, FStretch, stretch);
}
void TImage::SetCenter(bool center) {
    Store(this, FCenter, center);
}
void TImage::SetTransparent(bool transparent) {
    Store(this, FTransparent, transparent);
}

void TImage::Paint(HDC dc) {
    if (FPicture->Empty()) return;
    if (FStretch) {
        FPicture->StretchDraw(dc, RECT{0, 0, Width(), Height()});
        return;
    }
    int x = FCenter ? (Width() - FPicture->Width()) / 2 : 0;
    int y = FCenter ? (Height() - FPicture->Height()) / 2 : 0;
    TColor key = FTransparent ? FPicture->Bitmap().GetPixel(0, FPicture->Height() - 1) : clNone;
    FPicture->Draw(dc, x, y, 0, 0, FPicture->Width(), FPicture->Height(), key);
}

// ----------------------------------------------------------- button faces

void DrawButtonFace(HDC dc, const RECT& bounds, const TPicture& glyph, int numGlyphs,
                    int glyphIndex, const std::string& caption, HFONT font, COLORREF textColor,
                    TButtonLayout layout, int margin, int spacing, bool enabled) {
    numGlyphs = std::max(numGlyphs, 1);
    int gw = glyph.Empty() ? 0 : glyph.Width() / numGlyphs;
    int gh = glyph.Empty() ? 0 : glyph.Height();
    std::wstring text = GbkToWide(caption);
    SIZE ts{0, 0};
    TSelectObject select(dc, font);
    if (!text.empty()) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ts);
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
        if (!enabled) {
            DrawEtchedText(dc, bounds.left + tp.x, bounds.top + tp.y, text);
        } else {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, textColor);
            TextOutW(dc, bounds.left + tp.x, bounds.top + tp.y, text.c_str(),
                     static_cast<int>(text.size()));
        }
    }
}

// ------------------------------------------------------------ speed button

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), FGlyph(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 23, 22);
    FGlyph->OnChange = [this] { Invalidate(); };
}

void TSpeedButton::SetFlat(bool flat) {
    Store(this, FFlat, flat);
}
void TSpeedButton::SetGlyph(TPicture* glyph) {
    if (glyph && glyph != FGlyph.get()) FGlyph->SetBitmap(glyph->Bitmap());
}
void TSpeedButton::SetNumGlyphs(int count) {
    Store(this, FNumGlyphs, std::clamp(count, 1, 4));
}
void TSpeedButton::SetLayout(TButtonLayout layout) {
    Store(this, FLayout, layout);
}
void TSpeedButton::SetMargin(int margin) {
    Store(this, FMargin, margin);
}
void TSpeedButton::SetSpacing(int spacing) {
    Store(this, FSpacing, spacing);
}
void TSpeedButton::SetTransparent(bool transparent) {
    Store(this, FTransparent, transparent);
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
    DrawButtonFace(dc, face, *FGlyph, FNumGlyphs, index, Caption(), Font()->Handle(),
                   ColorToRGB(Font()->Color()), FLayout, FMargin, FSpacing, Enabled());
}

// -------------------------------------------------------------- bitmap button

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TPicture>()) {
    FGlyph->OnChange = [this] { Invalidate(); };
}

void TBitBtn::SetGlyph(TPicture* glyph) {
    if (glyph && glyph != FGlyph.get()) FGlyph->SetBitmap(glyph->Bitmap());
}
void TBitBtn::SetNumGlyphs(int count) {
    Store(this, FNumGlyphs, std::clamp(count, 1, 4));
}
void TBitBtn::SetLayout(TButtonLayout layout) {
    Store(this, FLayout, layout);
}
void TBitBtn::SetMargin(int margin) {
    Store(this, FMargin, margin);
}
void TBitBtn::SetSpacing(int spacing) {
    Store(this, FSpacing, spacing);
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
        DrawButtonFace(item->hDC, r, *FGlyph, FNumGlyphs, pressed ? 2 : 0, Caption(),
                       Font()->Handle(), ColorToRGB(Font()->Color()), FLayout, FMargin, FSpacing,
                       Enabled());
        m.Result = TRUE;
        return;
    }
    TButton::WndProc(m);
}

// ---------------------------------------------------------------- tool bar

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
}

void TToolButton::SetDown(bool down) {
    Store(this, FDown, down);
}

void TToolButton::SetImageIndex(int index) {
    Store(this, FImageIndex, std::max(index, -1));
}

void TToolButton::SetMenuItem(TMenuItem* item) {
    if (FMenuItem) FMenuItem->RemoveFreeNotification(this);
    FMenuItem = item;
    if (item) item->FreeNotification(this);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FMenuItem) FMenuItem = nullptr;
}

void TToolButton::Click() {
    if (FMenuItem && !OnClick && !Action())
        FMenuItem->Click();
    else
        TGraphicControl::Click();
}

void TToolButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
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
        if (wasPressed && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
        return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TGraphicControl::WndProc(m);
        Invalidate();
        return;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}

void TToolButton::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    auto* bar = dynamic_cast<TToolBar*>(Parent());
    unsigned state = (FPressed || FDown ? cdsSelected : 0u) | (Enabled() ? 0u : cdsDisabled) |
                     (MouseInControl() ? cdsHot : 0u);
    bool defaultDraw = true;
    if (bar && bar->OnCustomDrawButton) bar->OnCustomDrawButton(bar, this, dc, state, defaultDraw);
    if (!defaultDraw) return;
    if (state & cdsSelected)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if ((state & cdsHot) || (bar && !bar->FFlat))
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    TImageList* images = bar ? bar->FImages : nullptr;
    if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
        int iw = images->Width(), ih = images->Height();
        int x = (Width() - iw) / 2, y = (Height() - ih) / 2;
        if (!Caption().empty()) {
            // The picture above the caption, the pair centred.
            y = std::max(0, (Height() - ih - std::abs(Font()->Height()) - 4) / 2);
            r.top = y + ih;
        }
        if (state & cdsSelected) {
            ++x;
            ++y;
        }
        if (Enabled()) {
            ImageList_Draw(images->Handle(), FImageIndex, dc, x, y, ILD_TRANSPARENT);
        } else {
            TDisabledGlyph shape = MakeDisabledGlyph(
                ImagePixels(*images, FImageIndex, kColourKey), 0, 0, iw, ih, kColourKey,
                GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
            TPicture picture;
            picture.SetBitmap(shape.Picture);
            picture.Draw(dc, x, y, 0, 0, picture.Width(), picture.Height(), shape.Key);
        }
    }
    const UINT format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    if (Enabled())
        DrawCaption(dc, Caption(), Font()->Handle(), ColorToRGB(Font()->Color()), r, format);
    else
        DrawEtchedCaption(dc, Caption(), Font()->Handle(), r, format);
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

void TToolBar::SetEdgeBorders(int edges) {
    Store(this, FEdgeBorders, static_cast<unsigned>(edges) & 15u);
    Realign();
}
void TToolBar::SetButtonHeight(int height) {
    Store(this, FButtonHeight, std::max(height, 1));
}
void TToolBar::SetButtonWidth(int width) {
    Store(this, FButtonWidth, std::max(width, 1));
}
void TToolBar::SetFlat(bool flat) {
    Store(this, FFlat, flat);
}
void TToolBar::SetImages(TImageList* images) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = images;
    if (images) images->FreeNotification(this);
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FImages) FImages = nullptr;
}

void TToolBar::SetTransparent(bool transparent) {
    Store(this, FTransparent, transparent);
    FErasesWithColor = !transparent;
}

void TToolBar::AdjustClientRect(RECT& r) {
    const int edge = 2;
    if (FEdgeBorders & ebLeft) r.left += edge;
    if (FEdgeBorders & ebTop) r.top += edge;
    if (FEdgeBorders & ebRight) r.right -= edge;
    if (FEdgeBorders & ebBottom) r.bottom -= edge;
}

void TToolBar::PaintWindow(HDC dc) {
    if (FTransparent && Parent() && Parent()->HandleAllocated()) {
        // Let the parent's background show: paint it under us.
        POINT origin{Left(), Top()};
        OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
        SendMessageW(Parent()->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    }
    RECT r = ClientRect();
    UINT sides = ((FEdgeBorders & ebLeft) ? BF_LEFT : 0) | ((FEdgeBorders & ebTop) ? BF_TOP : 0) |
                 ((FEdgeBorders & ebRight) ? BF_RIGHT : 0) |
                 ((FEdgeBorders & ebBottom) ? BF_BOTTOM : 0);
    if (sides) DrawEdge(dc, &r, EDGE_ETCHED, sides);
}

} // namespace qh
