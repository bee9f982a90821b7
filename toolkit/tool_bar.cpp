#include "toolkit/tool_bar.h"

#include "core/gbk.h"
#include "toolkit/actions.h"
#include "toolkit/canvas.h"
#include "images/disabled_glyph.h"
#include "toolkit/image_list.h"
#include "toolkit/menus.h"

#include <algorithm>

namespace qh {

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

} // namespace

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
}

void TToolButton::SetDown(bool down) {
    StoreAndInvalidate(FDown, down);
}

void TToolButton::SetImageIndex(int index) {
    StoreAndInvalidate(FImageIndex, std::max(index, -1));
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
    if (TrackPress(m)) return;
    switch (m.Msg) {
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
    unsigned state = (Pressed() || FDown ? cdsSelected : 0u) | (Enabled() ? 0u : cdsDisabled) |
                     (MouseInControl() ? cdsHot : 0u);
    bool defaultDraw = true;
    TColor textColour = Font()->Color();
    if (bar && bar->OnCustomDrawButton)
        bar->OnCustomDrawButton(bar, this, dc, state, defaultDraw, textColour);
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
            y = std::max(0, (Height() - ih - std::abs(Font()->Height()) - ScaleFigure(4)) / 2);
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
    TCanvas canvas(dc);
    canvas.Font().Assign(*Font());
    canvas.Font().SetColor(textColour);
    if (Enabled())
        canvas.TextRect(r, Caption(), format);
    else
        canvas.EtchedTextRect(r, Caption(), format);
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

void TToolBar::SetEdgeBorders(int edges) {
    StoreAndInvalidate(FEdgeBorders, static_cast<unsigned>(edges) & 15u);
    Realign();
}

void TToolBar::SetButtonHeight(int height) {
    StoreAndInvalidate(FButtonHeight, std::max(height, 1));
}

void TToolBar::SetButtonWidth(int width) {
    StoreAndInvalidate(FButtonWidth, std::max(width, 1));
}

void TToolBar::SetFlat(bool flat) {
    StoreAndInvalidate(FFlat, flat);
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
    StoreAndInvalidate(FTransparent, transparent);
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
