#include "skin/engine/controls/skin_bars.h"

#include "skin/engine/controls/skin_check_controls.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/button_states.h"
#include "skin/render/compose.h"
#include "skin/render/control_pixels.h"
#include "skin/render/control_states.h"
#include "skin/render/part_compose.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"
#include "toolkit/graphics.h"

#include <commctrl.h>

#include <string>

namespace qh {

QH_DEFINE_CLASS(TSkinPaintedControl, TSkinControl)
QH_DEFINE_CLASS(TSkinStatusBar, TSkinPaintedControl)
QH_DEFINE_CLASS(TSkinProgress, TSkinPaintedControl)
QH_DEFINE_CLASS(TSkinTrackBar, TSkinPaintedControl)

namespace {

bool HasImage(const TDataSkinObject* part) {
    return part && !part->Image.Empty();
}

bool RepaintAfter(UINT msg) {
    switch (msg) {
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT:
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
    case PBM_SETSTEP:
        return true;
    default:
        return false;
    }
}

} // namespace

// Shared.

TSkinPaintedControl::TSkinPaintedControl(TComponent* owner) : TSkinControl(owner) {}

TSkinPaintedControl::~TSkinPaintedControl() = default;

TDibSection& TSkinPaintedControl::Picture(int width, int height) {
    if (!FPicture || FPicture->Width() != width || FPicture->Height() != height)
        FPicture = std::make_unique<TDibSection>(width, height);
    return *FPicture;
}

bool TSkinPaintedControl::FilterMessage(TMessage& m) {
    if (HasPart() && TakeClientPainting(*this, m)) return false;
    return TSkinControl::FilterMessage(m);
}

// Status bars.

TSkinStatusBar::TSkinStatusBar(TComponent* owner) : TSkinPaintedControl(owner) {}

bool TSkinStatusBar::HasPart() const {
    return SkinData() && HasImage(Skin()->StatusBar.get());
}

bool TSkinStatusBar::FilterMessage(TMessage& m) {
    if (HasPart() && (m.Msg == SB_SETTEXTW || m.Msg == SB_SETTEXTA || m.Msg == SB_SETPARTS ||
                      m.Msg == SB_SIMPLE)) {
        // The bar draws a changed panel at once, in its own look.
        if (!PassOn(m)) return false;
        RepaintFrame();
        return false;
    }
    return TSkinPaintedControl::FilterMessage(m);
}

void TSkinStatusBar::PaintTo(HDC dc, const RECT& rect) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!HasPart() || w <= 0 || h <= 0) return;
    const TSkinParts& data = *Skin();
    const TDataSkinObject& part = *data.StatusBar;
    constexpr int kFrames = 3;
    TDibSection& picture = Picture(w, h);
    picture.Sync();
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(SkinColour(data.Colours.ButtonFace));
    ComposeOver(pixels, {0, 0, w, h}, part, part.Image, kFrames, 1);

    HWND bar = Window();
    const bool simple = SendMessageW(bar, SB_ISSIMPLE, 0, 0) != 0;
    const bool grip = (GetWindowLongW(bar, GWL_STYLE) & SBARS_SIZEGRIP) != 0;
    const TRect gripCell = StateImageRect(part.Image, false, kFrames, 3);
    const int gripWidth = grip ? std::min(gripCell.Width(), h) : 0;
    const int count = simple ? 1 : static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
    HDC pdc = picture.Dc();
    TSelectObject font(pdc, SkinControlFont(*this));
    SetBkMode(pdc, TRANSPARENT);
    SetTextColor(pdc, SkinColour(data.Colours.ButtonText));
    for (int i = 0; i < count; ++i) {
        RECT r{0, 0, w, h};
        if (!simple) SendMessageW(bar, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
        // The last panel reaches the grip, or the end of the bar.
        if (i + 1 == count) r.right = w - gripWidth;
        const TRect panel{static_cast<int>(r.left), static_cast<int>(r.top),
                          static_cast<int>(r.right), static_cast<int>(r.bottom)};
        GdiFlush();
        ComposeOver(pixels, panel, part, part.Image, kFrames, 2);
        const WPARAM index = simple ? SB_SIMPLEID : static_cast<WPARAM>(i);
        const LRESULT info = SendMessageW(bar, SB_GETTEXTLENGTHW, index, 0);
        const int length = LOWORD(info);
        if (length <= 0 || (HIWORD(info) & SBT_OWNERDRAW)) continue;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(bar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        RECT place{r.left + 4, r.top, r.right - 2, r.bottom};
        DrawTextW(pdc, text.c_str(), length, &place,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    if (gripWidth > 0) {
        GdiFlush();
        TBitmap cell(gripCell.Width(), gripCell.Height(), TPixelFormat::pf32bit);
        StretchStateImage(cell, {0, 0, cell.Width(), cell.Height()}, part.Image, kFrames, 3);
        CopyKeyed(pixels, w - cell.Width(), h - cell.Height(), cell, kColourKey);
    }
    BitBlt(dc, rect.left, rect.top, w, h, pdc, 0, 0, SRCCOPY);
}

// Progress bars.

TSkinProgress::TSkinProgress(TComponent* owner) : TSkinPaintedControl(owner) {}

bool TSkinProgress::HasPart() const {
    return SkinData() && HasImage(Skin()->Progress.get());
}

bool TSkinProgress::FilterMessage(TMessage& m) {
    if (HasPart() && RepaintAfter(m.Msg)) {
        if (!PassOn(m)) return false;
        RepaintFrame();
        return false;
    }
    return TSkinPaintedControl::FilterMessage(m);
}

void TSkinProgress::PaintTo(HDC dc, const RECT& rect) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!HasPart() || w <= 0 || h <= 0) return;
    const TSkinParts& data = *Skin();
    const TDataSkinBorder& part = *data.Progress;
    HWND bar = Window();
    const bool vertical = (GetWindowLongW(bar, GWL_STYLE) & PBS_VERTICAL) != 0;
    constexpr int kFrames = 2;
    TDibSection& picture = Picture(w, h);
    picture.Sync();
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(SkinBackground(*this));
    // The first image lies, the second stands.
    ComposeOver(pixels, {0, 0, w, h}, part, part.Image, kFrames, vertical ? 2 : 1);

    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const int position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
    const TRect inner{part.LeftWidth, part.TopHeight, w - part.RightWidth, h - part.BottomHeight};
    const TRect fill = ProgressFill(inner, range.iLow, range.iHigh, position, vertical);
    if (!fill.Empty()) {
        if (part.Image2.Empty()) {
            FillArea(pixels, fill, SkinColour(data.Colours.Hilight));
        } else {
            TBitmap chunks(fill.Width(), fill.Height(), TPixelFormat::pf32bit);
            chunks.Fill(kColourKey);
            TilePixels(chunks, {0, 0, fill.Width(), fill.Height()}, part.Image2,
                       {0, 0, part.Image2.Width(), part.Image2.Height()});
            CopyKeyed(pixels, fill.Left, fill.Top, chunks, kColourKey);
        }
    }
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

// Track bars.

TSkinTrackBar::TSkinTrackBar(TComponent* owner) : TSkinPaintedControl(owner) {}

const TDataSkinObject* TSkinTrackBar::Thumb() const {
    const TSkinParts* data = Skin();
    if (!data || !Window()) return nullptr;
    const bool vertical = (GetWindowLongW(Window(), GWL_STYLE) & TBS_VERT) != 0;
    const TDataSkinObject* part = vertical ? data->ThumbVert.get() : data->ThumbHorz.get();
    return HasImage(part) ? part : nullptr;
}

bool TSkinTrackBar::HasPart() const {
    return Thumb() != nullptr;
}

bool TSkinTrackBar::FilterMessage(TMessage& m) {
    if (!HasPart()) return TSkinControl::FilterMessage(m);
    switch (m.Msg) {
    case CN_CTLCOLORSTATIC: {
        // The bar fills its background with what its parent answers: the
        // colour under it, not the bar's own window colour.
        const COLORREF back = SkinBackground(*this);
        if (!FBackBrush || FBackColour != back) {
            FBackBrush.Reset(CreateSolidBrush(back));
            FBackColour = back;
        }
        SetBkColor(reinterpret_cast<HDC>(m.WParam), back);
        m.Result = reinterpret_cast<LRESULT>(FBackBrush.Get());
        return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        const bool wasHot = Hot(), wasPressed = Pressed();
        if (m.Msg == WM_LBUTTONDOWN) SetMouseFlag(kMousePressed, true);
        if (m.Msg == WM_LBUTTONUP) SetMouseFlag(kMousePressed, false);
        if (m.Msg == WM_MOUSEMOVE || m.Msg == CM_MOUSEENTER) SetMouseFlag(kMouseHot, true);
        if (m.Msg == CM_MOUSELEAVE) SetMouseFlag(kMouseHot, false);
        if (!PassOn(m)) return false;
        if (Hot() != wasHot || Pressed() != wasPressed) RepaintFrame();
        // The frame tells the hovered control when the mouse leaves it.
        if (List()) {
            if (Hot())
                List()->SetHoveredButton(this);
            else if (List()->HoveredButton() == this)
                List()->SetHoveredButton(nullptr);
        }
        return false;
    }
    default:
        return TSkinPaintedControl::FilterMessage(m);
    }
}

void TSkinTrackBar::PaintTo(HDC dc, const RECT& rect) {
    const TDataSkinObject* part = Thumb();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!part || w <= 0 || h <= 0) return;
    HWND bar = Window();
    TDibSection& picture = Picture(w, h);
    picture.Sync();
    picture.Bitmap().Fill(SkinBackground(*this));
    // The control's own channel and ticks.
    TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(picture.Dc()), 0, 0};
    const auto alive = AliveToken();
    if (!PassOn(own) || !*alive) return;
    RECT thumb{};
    SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const TRect at{static_cast<int>(thumb.left), static_cast<int>(thumb.top),
                   static_cast<int>(thumb.right), static_cast<int>(thumb.bottom)};
    if (!at.Empty()) {
        const bool enabled = ReadEnabled();
        const int state = !enabled    ? kButtonDisabled
                          : Pressed() ? kButtonPressed
                          : Hot()     ? kButtonHot
                                      : kButtonNormal;
        picture.Sync();
        constexpr int kFrames = 5;
        ComposeOver(picture.Bitmap(), at, *part, part->Image, kFrames, state);
        HDC pdc = picture.Dc();
        TUniqueHandle<HPEN, TGdiFree> pen(
            CreatePen(PS_SOLID, 1, SkinColour(SkinData()->Colours.ButtonShadow)));
        TSelectObject usePen(pdc, pen.Get());
        TSelectObject noBrush(pdc, GetStockObject(NULL_BRUSH));
        Rectangle(pdc, at.Left, at.Top, at.Right, at.Bottom);
    }
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

} // namespace qh
