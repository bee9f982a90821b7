// The skinned frame's painting: borders, the caption strip composed
// off-screen with its text and buttons, and the window region.
#include "skin/engine/win_skin_form.h"

#include "core/gbk.h"
#include "skin/engine/bitmap_region.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/skin_paint.h"
#include "skin/engine/win_skin_menu.h"
#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/region_scan.h"
#include "skin/render/state_image.h"
#include "toolkit/canvas.h"

#include <algorithm>

namespace qh {

namespace {

TMargins MarginsOf(const TDataSkinObject& part) {
    return {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight};
}

// A border's state image: the first when active or when it has one frame.
int BorderFrame(const TDataSkinObject& part, bool active) {
    return active || part.Frame <= 1 ? 1 : 2;
}

// Composes a border part over target of dest; top and bottom borders
// stack their frames, the sides lay them side by side.
void ComposeBorder(TBitmap& dest, const TRect& target, const TDataSkinBorder* part, bool vertical,
                   bool active) {
    if (!part || part->Image.Empty() || target.Empty()) return;
    ComposeInto(dest, target, part->Image, MarginsOf(*part), vertical, part->Tile != 1,
                std::max(1, part->Frame), BorderFrame(*part, active));
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

} // namespace

const TBitmap& TWinSysButton::Image() const {
    const bool icon = FPart.Action == 3 || FPart.Action == 11;
    if (icon && FPart.Image.Empty() && !FOwner.IconBitmap().Empty()) return FOwner.IconBitmap();
    return FPart.Image;
}

int TWinSysButton::Frames() const {
    const bool icon = FPart.Action == 3 || FPart.Action == 11;
    if (icon && FPart.Image.Empty()) return 1;
    return std::max(1, FPart.Frame);
}

void TWinSysButton::Paint() {
    FOwner.PaintObject(*this);
}

void TWinSkinForm::PaintObject(TNCObject&) {
    if (FFrameState != kFrameActive && FFrameState != kFrameRefreshing) return;
    RECT window{};
    GetWindowRect(FWindow, &window);
    HDC dc = GetWindowDC(FWindow);
    if (!dc) return;
    PaintCaption(dc, window.right - window.left);
    ReleaseDC(FWindow, dc);
}

void TWinSkinForm::PaintFrame(HDC given) {
    if (FFrameState != kFrameActive && FFrameState != kFrameRefreshing) return;
    if (Borderless() || MdiChildNotNormal() || !FSkinData) return;
    HDC dc = given ? given : GetWindowDC(FWindow);
    if (!dc) return;
    // A half-painted frame is repainted with the next WM_NCPAINT.
    try {
        RECT window{};
        GetWindowRect(FWindow, &window);
        const int w = window.right - window.left, h = window.bottom - window.top;
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, FFrameLeft, FFrameTop + FMenuBarHeight, w - FFrameRight,
                        h - FFrameBottom);
        PaintBorders(dc, w, h);
        PaintCaption(dc, w);
        if (FMenuBar)
            FMenuBar->Paint(
                dc, {FFrameLeft, FFrameTop, w - FFrameRight, FFrameTop + FMenuBarHeight}, FActive);
        RestoreDC(dc, saved);
    } catch (...) {
    }
    FHotObject = nullptr;
    if (!given) ReleaseDC(FWindow, dc);
}

void TWinSkinForm::PaintBorders(HDC dc, int w, int h) {
    auto draw = [&](const TDataSkinBorder* part, const TRect& target, bool vertical) {
        if (!part || target.Empty()) return;
        DrawComposed(dc, target, part->Image, vertical, part->Tile != 1, false,
                     std::max(1, part->Frame), BorderFrame(*part, FActive), MarginsOf(*part));
    };
    draw(FSkinData->BorderLeft.get(), {0, 0, FFrameLeft, h}, false);
    draw(FSkinData->BorderRight.get(), {w - FFrameRight, 0, w, h}, false);
    draw(FSkinData->BorderBottom.get(), {FFrameLeft, h - FFrameBottom, w - FFrameRight, h}, true);
}

void TWinSkinForm::PaintCaption(HDC dc, int w) {
    if (FFrameTop <= 0 || w <= 0) return;
    if (!FCaptionBitmap || FCaptionBitmap->Width() != w || FCaptionBitmap->Height() != FFrameTop)
        FCaptionBitmap = std::make_unique<TDibSection>(w, FFrameTop);
    TDibSection& strip = *FCaptionBitmap;
    // The corners the side borders drew stay.
    BitBlt(strip.Dc(), 0, 0, w, FFrameTop, dc, 0, 0, SRCCOPY);
    strip.Sync();
    const TRect caption{FFrameLeft, 0, w - FFrameRight, FFrameTop};
    ComposeBorder(strip.Bitmap(), caption, FSkinData->BorderTop.get(), true, FActive);
    LayoutCaptionButtons(w);
    PaintCaptionText(strip, RECT{caption.Left, caption.Top, caption.Right, caption.Bottom});
    // The layout of the buttons beside the text needs the text's place.
    LayoutCaptionButtons(w);
    strip.Sync();
    for (const auto& button : FCaptionButtons) {
        if (!button->Visible || button->Part().Visibility == 100) continue;
        const int frames = button->Frames();
        int frame = FActive || frames < 4 ? 1 : 4;
        if (button->State != TNCObject::nsNormal) frame = std::min(button->State, frames);
        const TBitmap& image = button->Image();
        const TRect cell = StateImageRect(image, false, frames, frame);
        if (cell.Empty()) continue;
        TBitmap piece(cell.Width(), cell.Height(), TPixelFormat::pf32bit);
        piece.CopyRect(0, 0, image, cell.Left, cell.Top, cell.Width(), cell.Height());
        CopyKeyed(strip.Bitmap(), button->Bounds.left, button->Bounds.top, piece, kColourKey);
    }
    BitBlt(dc, 0, 0, w, FFrameTop, strip.Dc(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintCaptionText(TDibSection& strip, const RECT& r) {
    const TDataSkinTitle* title = FSkinData->Title.get();
    const int shift = title ? title->LeftWidth : 0;
    const int shiftDown = title ? title->TopHeight : 0;
    const int clip = title ? title->RightWidth : 0;
    const int backLeft = title ? title->TXTBackleft : 0;
    const int backRight = title ? title->TXTBackRight : 0;
    const std::wstring caption = WindowText(FWindow);
    TCanvas canvas(strip.Dc());
    canvas.Font().Assign(FCaptionFont);
    canvas.Font().SetColor(static_cast<TColor>(FActive ? FSkinData->Colours.TitleTextActive
                                                       : FSkinData->Colours.TitleTextNoActive));
    const SIZE measured = canvas.TextExtent(caption + L" " + FCaptionPrefix);
    const int mw = measured.cx + backLeft + backRight, mh = measured.cy;
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    const int alignment = FRightToLeft ? 2 : (title ? title->TextAlignment : 0);
    int dx = 0;
    if (alignment == 0)
        dx = shift;
    else if (alignment == 1)
        dx = (rw - mw) / 2;
    else if (alignment == 2)
        dx = rw - clip - mw;
    const int dy = (rh - mh) / 2 + shiftDown / 2;
    RECT text{r.left + dx, r.top + dy, r.left + dx + mw, r.top + dy + mh};
    if (FWindowStyle & WS_POPUP) {
        if (text.right < FRightButtonLeft - 5) text.right = FRightButtonLeft - 5;
    } else {
        text.right = std::min<LONG>(text.right, r.right - clip);
    }
    FTextRect = text;
    if (title && !title->Image.Empty() && text.right > text.left) {
        strip.Sync();
        // Keyed: the caption strip shows where the text-back picture is magenta.
        const TRect back{text.left, r.top, text.right, r.bottom};
        TBitmap piece(back.Width(), back.Height(), TPixelFormat::pf32bit);
        piece.Fill(kColourKey);
        ComposeHorizontal(piece, {0, 0, back.Width(), back.Height()}, title->Image, true, 2,
                          FActive ? 1 : 2, {backLeft, 0, backRight, 0});
        CopyKeyed(strip.Bitmap(), back.Left, back.Top, piece, kColourKey);
    }
    RECT inner{text.left + backLeft, text.top, text.right - backRight, text.bottom};
    if (inner.right <= inner.left) return;
    strip.Sync();
    const std::wstring shown = FCaptionPrefix + caption;
    SelectObject(strip.Dc(), canvas.Font().Handle());
    SetBkMode(strip.Dc(), TRANSPARENT);
    SetTextColor(strip.Dc(), ColorToRGB(canvas.Font().Color()));
    DrawTextW(strip.Dc(), shown.c_str(), static_cast<int>(shown.size()), &inner,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (FRightToLeft ? DT_RIGHT : DT_LEFT));
    GdiFlush();
}

bool TWinSkinForm::ButtonVisible(const TDataSkinSysButton& part) const {
    const bool maximized = FShowState == 1;
    const bool maxBox = (FBoxFlags & 1) != 0, minBox = (FBoxFlags & 2) != 0;
    const bool sysMenu = (FBoxFlags & 8) != 0;
    auto test = [&](int code, bool first) {
        switch (code) {
        case 0:
            return first ? (part.Action != 0 || sysMenu) : true;
        case 1:
            return maximized;
        case 2:
            return !maximized;
        case 3:
            return FActive;
        case 4:
            return !FActive;
        case 6:
            return first ? maxBox && sysMenu : maxBox;
        case 7:
            return !maxBox;
        case 8:
            return first ? minBox && sysMenu : minBox;
        case 9:
            return !minBox;
        case 100:
            return FMdiKind == 1 && FMenuBarHeight > 0 && FManager && FManager->MdiMaximized();
        default:
            return code >= 200 && code <= 2000;
        }
    };
    if (!test(part.Visibility, true) || !test(part.Visibility1, false)) return false;
    if (part.Action == 1 && !maxBox) return false;
    if (part.Action == 2 && !minBox) return false;
    return true;
}

void TWinSkinForm::LayoutCaptionButtons(int w) {
    FRightButtonLeft = 0;
    for (const auto& button : FCaptionButtons) {
        const TDataSkinSysButton& part = button->Part();
        const TBitmap& image = button->Image();
        button->Visible = ButtonVisible(part) && !image.Empty();
        if (!button->Visible) continue;
        const int bw = image.Width() / button->Frames(), bh = image.Height();
        POINT at{0, 0};
        switch (part.Align) {
        case 0:
            at = {part.XCoord, part.YCoord};
            break;
        case 1:
            at = {w - part.XCoord, part.YCoord};
            FRightButtonLeft = std::max<int>(FRightButtonLeft, at.x);
            break;
        case 2:
        case 8:
            at = {FTextRect.left - bw - part.XCoord, part.YCoord};
            break;
        case 3:
        case 9:
            at = {FTextRect.right + part.XCoord, part.YCoord};
            break;
        default:
            break;
        }
        button->Bounds = {at.x, at.y, at.x + bw, at.y + bh};
    }
}

void TWinSkinForm::BuildRegion() {
    if (FFrameState == kFrameDead || !FSkinData || MdiChildNotNormal()) return;
    RECT window{};
    GetWindowRect(FWindow, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0) return;
    if (w == FRegionSize.cx && h == FRegionSize.cy && FMdiKind != 2 &&
        FFrameState != kFrameRefreshing)
        return;
    FRegionSize = {w, h};
    const TDataSkinBorder* left = FSkinData->BorderLeft.get();
    const TDataSkinBorder* right = FSkinData->BorderRight.get();
    const TDataSkinBorder* top = FSkinData->BorderTop.get();
    const TDataSkinBorder* bottom = FSkinData->BorderBottom.get();
    auto transparent = [](const TDataSkinBorder* part) { return part && part->Trans != 0; };
    std::vector<TRect> rects;
    if (!transparent(left) && !transparent(right) && !transparent(top)) {
        rects.push_back({0, 0, w, h});
    } else {
        rects.push_back({FFrameLeft, FFrameTop, w - FFrameRight, h - FFrameBottom});
        auto add = [&](const TDataSkinBorder* part, const TRect& target, bool vertical,
                       bool keyed) {
            if (target.Empty()) return;
            if (!keyed || !part || part->Image.Empty()) {
                rects.push_back(target);
                return;
            }
            TBitmap piece(target.Width(), target.Height(), TPixelFormat::pf32bit);
            ComposeBorder(piece, {0, 0, target.Width(), target.Height()}, part, vertical, true);
            std::vector<TRect> runs =
                ScanRegion(piece, target.Left, target.Top, 1, 1, 1, kColourKey);
            rects.insert(rects.end(), runs.begin(), runs.end());
        };
        if (!Borderless()) {
            add(left, {0, 0, FFrameLeft, h}, false, transparent(left) && h > 1);
            add(right, {w - FFrameRight, 0, w, h}, false, transparent(right) && h > 1);
            add(bottom, {FFrameLeft, h - FFrameBottom, w - FFrameRight, h}, true,
                transparent(bottom) && FFrameBottom >= 2);
            add(top, {FFrameLeft, 0, w - FFrameRight, FFrameTop}, true,
                transparent(top) && FFrameTop > 1);
        }
    }
    TRegionHandle region = RegionFromRects(rects);
    // The system owns a region once it is the window's.
    if (SetWindowRgn(FWindow, region.Get(), TRUE)) {
        region.Release();
        FHasRegion = true;
    }
}

} // namespace qh
