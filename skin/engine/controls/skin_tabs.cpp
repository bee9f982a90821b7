#include "skin/engine/controls/skin_tabs.h"

#include "skin/engine/controls/skin_check_controls.h"
#include "skin/engine/controls/skin_edits.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/compose.h"
#include "skin/render/control_pixels.h"
#include "skin/render/control_states.h"
#include "skin/render/pixel_copy.h"
#include "toolkit/graphics.h"
#include "toolkit/tab_set.h"
#include "core/gbk.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace qh {

QH_DEFINE_CLASS(TSkinTabRow, TSkinPaintedControl)
QH_DEFINE_CLASS(TSkinTab, TSkinTabRow)
QH_DEFINE_CLASS(TSkinTab31, TSkinTabRow)

namespace {

TRect FromRect(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}

void ComposeKeyed(TBitmap& pixels, const TRect& target, const TBitmap& strip,
                  const TDataSkinObject& part, int frames, int state) {
    if (target.Empty()) return;
    TBitmap composed(target.Width(), target.Height(), TPixelFormat::pf32bit);
    composed.Fill(kColourKey);
    ComposeInto(composed, {0, 0, target.Width(), target.Height()}, strip,
                {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight}, false,
                part.Tile != 0, frames, state);
    CopyKeyed(pixels, target.Left, target.Top, composed, kColourKey);
}

std::wstring TabText(HWND tabs, int index) {
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 255;
    SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

} // namespace

TSkinTabRow::TSkinTabRow(TComponent* owner) : TSkinPaintedControl(owner) {}

const TDataSkinBorder* TSkinTabRow::Part() const {
    const TSkinParts* data = Skin();
    return data && data->Tab && !data->Tab->Image.Empty() ? data->Tab.get() : nullptr;
}

void TSkinTabRow::SetHotTab(int index) {
    if (index == FHotTab) return;
    FHotTab = index;
    SetMouseFlag(kMouseHot, index >= 0);
    RepaintFrame();
}

bool TSkinTabRow::FilterMessage(TMessage& m) {
    if (!HasPart()) return TSkinControl::FilterMessage(m);
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        if (!PassOn(m)) return false;
        SetHotTab(TabAtPoint({static_cast<short>(LOWORD(m.LParam)),
                              static_cast<short>(HIWORD(m.LParam))}));
        if (List()) List()->SetHoveredButton(this);
        return false;
    case CM_MOUSELEAVE:
        if (!PassOn(m)) return false;
        SetHotTab(-1);
        if (List() && List()->HoveredButton() == this) List()->SetHoveredButton(nullptr);
        return false;
    default:
        return TSkinPaintedControl::FilterMessage(m);
    }
}

TSkinTab::TSkinTab(TComponent* owner) : TSkinTabRow(owner) {}

void TSkinTab::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                            TCanvas* canvas) {
    TSkinControl::AttachWindow(window, skinData, form, canvas);
    if (SkinState() == TSkinState::Attached) SkinUpDownChildren(window, skinData, form, canvas);
}

void TSkinTab::SkinChanged() {
    TSkinControl::SkinChanged();
    if (SkinState() == TSkinState::Attached && Window())
        SkinUpDownChildren(Window(), SkinData(), Form(), Canvas());
}

int TSkinTab::TabAtPoint(POINT p) {
    TCHITTESTINFO hit{};
    hit.pt = p;
    return static_cast<int>(SendMessageW(Window(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool TSkinTab::FilterMessage(TMessage& m) {
    // The arrows come when the tabs no longer fit.
    if (m.Msg == WM_PAINT && HasPart()) SkinUpDownChildren(Window(), SkinData(), Form(), Canvas());
    return TSkinTabRow::FilterMessage(m);
}

void TSkinTab::PaintTo(HDC dc, const RECT& rect) {
    const TDataSkinBorder* part = Part();
    HWND tabs = Window();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!part || !tabs || w <= 0 || h <= 0) return;
    const TSkinParts& data = *Skin();
    const bool enabled = ReadEnabled();
    const bool bottom = (GetWindowLongW(tabs, GWL_STYLE) & TCS_BOTTOM) != 0;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));

    TDibSection& picture = Picture(w, h);
    picture.Sync();
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(SkinBackground(*this));

    // The page: below the tab row (above it for tabs at the bottom).
    int rowEdge = bottom ? h : 0;
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!SendMessageW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        rowEdge = bottom ? std::min(rowEdge, static_cast<int>(r.top))
                         : std::max(rowEdge, static_cast<int>(r.bottom));
    }
    const TRect page = bottom ? TRect{0, 0, w, rowEdge} : TRect{0, rowEdge, w, h};
    if (!part->Image2.Empty()) {
        ComposeKeyed(pixels, page, part->Image2, *part, 1, 1);
    } else {
        OutlineRect(pixels, page, SkinColour(data.Colours.ButtonShadow));
    }

    // The tabs, the selected one last: it stands out of the row and over
    // the page's edge.
    HDC pdc = picture.Dc();
    TSelectObject font(pdc, SkinControlFont(*this));
    SetBkMode(pdc, TRANSPARENT);
    auto paintTab = [&](int i) {
        RECT r{};
        if (!SendMessageW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) return;
        if (r.right <= 0 || r.left >= w) return;
        const bool isSelected = i == selected;
        if (isSelected) {
            InflateRect(&r, 2, 0);
            if (bottom) {
                r.top -= 1;
                r.bottom += 2;
            } else {
                r.top -= 2;
                r.bottom += 1;
            }
        }
        GdiFlush();
        ComposeKeyed(pixels, FromRect(r), part->Image, *part, 5,
                     TabState(isSelected, i == HotTab(), enabled));
        const std::wstring text = TabText(tabs, i);
        if (text.empty()) return;
        SetTextColor(pdc,
                     SkinColour(enabled ? data.Colours.ButtonText : data.Colours.ButtonShadow));
        RECT place = r;
        if (isSelected) OffsetRect(&place, 0, bottom ? 1 : -1);
        DrawTextW(pdc, text.c_str(), static_cast<int>(text.size()), &place,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    };
    for (int i = 0; i < count; ++i)
        if (i != selected) paintTab(i);
    if (selected >= 0 && selected < count) paintTab(selected);
    BitBlt(dc, rect.left, rect.top, w, h, pdc, 0, 0, SRCCOPY);
}

TSkinTab31::TSkinTab31(TComponent* owner) : TSkinTabRow(owner) {}

bool TSkinTab31::HasPart() const {
    return Part() && dynamic_cast<TTabSet*>(Control());
}

int TSkinTab31::TabAtPoint(POINT p) {
    auto* tabs = dynamic_cast<TTabSet*>(Control());
    return tabs ? tabs->TabAt(p) : -1;
}

void TSkinTab31::PaintTo(HDC dc, const RECT& rect) {
    auto* tabs = dynamic_cast<TTabSet*>(Control());
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!HasPart() || w <= 0 || h <= 0) return;
    const TSkinParts* data = Skin();
    const TDataSkinBorder& part = *Part();
    const bool enabled = ReadEnabled();
    TDibSection& picture = Picture(w, h);
    picture.Sync();
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(SkinBackground(*this));
    // The notebook's edge the tabs hang from.
    FillArea(pixels, {0, 0, w, 1}, SkinColour(data->Colours.ButtonShadow));

    HDC pdc = picture.Dc();
    TSelectObject font(pdc, SkinControlFont(*this));
    SetBkMode(pdc, TRANSPARENT);
    const int count = static_cast<int>(tabs->Tabs().size());
    const int selected = tabs->TabIndex();
    auto paintTab = [&](int i) {
        RECT r = tabs->TabRect(i);
        if (r.right <= r.left) return;
        if (i == selected)
            InflateRect(&r, 2, 0);
        else
            r.top += 2;
        const int tw = r.right - r.left, th = r.bottom - r.top;
        if (tw <= 0 || th <= 0) return;
        // Composed upright, then turned over: the rounded side downwards.
        TBitmap upright(tw, th, TPixelFormat::pf32bit);
        upright.Fill(kColourKey);
        ComposeInto(upright, {0, 0, tw, th}, part.Image,
                    {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight}, false,
                    part.Tile != 0, 5, TabState(i == selected, i == HotTab(), enabled));
        TBitmap turned(tw, th, TPixelFormat::pf32bit);
        for (int y = 0; y < th; ++y) turned.CopyRect(0, y, upright, 0, th - 1 - y, tw, 1);
        GdiFlush();
        CopyKeyed(pixels, r.left, r.top, turned, kColourKey);
        const std::wstring text = GbkToWide(tabs->Tabs()[static_cast<size_t>(i)]);
        SetTextColor(pdc,
                     SkinColour(enabled ? data->Colours.ButtonText : data->Colours.ButtonShadow));
        DrawTextW(pdc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    };
    for (int i = 0; i < count; ++i)
        if (i != selected) paintTab(i);
    if (selected >= 0 && selected < count) paintTab(selected);
    BitBlt(dc, rect.left, rect.top, w, h, pdc, 0, 0, SRCCOPY);
}

} // namespace qh
