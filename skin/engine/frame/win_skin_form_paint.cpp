// The skinned frame's painting: borders, the caption strip composed
// off-screen with its text and buttons, and the window region.
#include "skin/engine/frame/win_skin_form.h"

#include "core/gbk.h"
#include "skin/engine/bitmap_region.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/skin_paint.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/render/caption_layout.h"
#include "skin/render/compose.h"
#include "skin/render/frame_region.h"
#include "skin/render/frame_styles.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/region_scan.h"
#include "skin/render/state_image.h"
#include "toolkit/canvas.h"

#include <algorithm>

namespace qh {

namespace {

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

} // namespace

const TBitmap& TWinSysButton::Image() const {
    return CaptionButtonImage(FPart, FOwner.IconBitmap());
}

int TWinSysButton::Frames() const {
    return CaptionButtonFrames(FPart);
}

void TWinSkinForm::PaintMdiButtons(TBitmap& bar, POINT barOrigin) const {
    for (size_t i = 0; i < FCaptionButtons.size(); ++i) {
        const TWinSysButton* button = FCaptionButtons[i].get();
        if (!button->Visible || button->Part().Visibility != 100) continue;
        const int frames = button->Frames();
        const int state = FButtonStates.StateOf(static_cast<int>(i));
        const int frame = state == TCaptionButtonStates::Hot       ? 4
                          : state == TCaptionButtonStates::Pressed ? 2
                                                                   : 1;
        const TBitmap& image = button->Image();
        const TRect cell = StateImageRect(image, false, frames, std::min(frame, frames));
        if (cell.Empty()) continue;
        TBitmap piece(cell.Width(), cell.Height(), TPixelFormat::pf32bit);
        piece.CopyRect(0, 0, image, cell.Left, cell.Top, cell.Width(), cell.Height());
        CopyKeyed(bar, button->Bounds.left - barOrigin.x, button->Bounds.top - barOrigin.y, piece,
                  kColourKey);
    }
}

void TWinSkinForm::PaintFrame(HDC given) {
    if (FFrameState != kFrameActive && FFrameState != kFrameRefreshing) return;
    if (Borderless() || MdiChildNotNormal() || !FSkinData) return;
    HDC dc = given ? given : GetWindowDC(FWindow);
    if (!dc) return;
    // A whole repaint shows every button normal; the pointer brings the
    // hover back when it moves. A bar button keeps its look only while its
    // drop-down is open.
    FButtonStates.ForgetHover();
    if (FHotObject && !FMenuMode) FHotObject->State = TNCObject::nsNormal;
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
    if (!FMenuMode) FHotObject = nullptr;
    if (!given) ReleaseDC(FWindow, dc);
}

void TWinSkinForm::PaintBorders(HDC dc, int w, int h) {
    auto draw = [&](const TDataSkinBorder* part, const TRect& target, bool vertical) {
        if (!part || part->Image.Empty() || target.Empty()) return;
        const TDibSection picture(
            ComposeFramePart(*part, target.Width(), target.Height(), vertical, FActive));
        BitBlt(dc, target.Left, target.Top, target.Width(), target.Height(), picture.Dc(), 0, 0,
               SRCCOPY);
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
    if (const TDataSkinBorder* top = FSkinData->BorderTop.get(); top && !top->Image.Empty())
        strip.Bitmap().CopyRect(caption.Left, 0,
                                ComposeFramePart(*top, caption.Width(), FFrameTop, true, FActive),
                                0, 0, caption.Width(), FFrameTop);
    LayoutCaptionButtons(w);
    PaintCaptionText(strip, RECT{caption.Left, caption.Top, caption.Right, caption.Bottom});
    // The layout of the buttons beside the text needs the text's place.
    LayoutCaptionButtons(w);
    strip.Sync();
    for (size_t i = 0; i < FCaptionButtons.size(); ++i) {
        const TWinSysButton* button = FCaptionButtons[i].get();
        if (!button->Visible || button->Part().Visibility == 100) continue;
        const int frames = button->Frames();
        const int state = FButtonStates.StateOf(static_cast<int>(i));
        const int frame = state == TCaptionButtonStates::Normal
                              ? CaptionPaintFrame(FActive, frames)
                              : std::min(ButtonPaintFrame(state, button->Part().Visibility), frames);
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
    const std::wstring caption = WindowText(FWindow);
    TCanvas canvas(strip.Dc());
    canvas.Font().Assign(FCaptionFont);
    canvas.Font().SetColor(static_cast<TColor>(FActive ? FSkinData->Colours.TitleTextActive
                                                       : FSkinData->Colours.TitleTextNoActive));
    const SIZE measured = canvas.TextExtent(caption + L" " + FCaptionPrefix);
    TCaptionTextInput in;
    in.Caption = {r.left, r.top, r.right, r.bottom};
    in.Measured = {measured.cx, measured.cy};
    in.Title = TitleMetricsOf(title);
    in.RightToLeft = FRightToLeft;
    in.Popup = (FWindowStyle & WS_POPUP) != 0;
    in.RightButtonLeft = FRightButtonLeft;
    const TCaptionTextPlace place = PlaceCaptionText(in);
    FTextRect = {place.TextRect.Left, place.TextRect.Top, place.TextRect.Right,
                 place.TextRect.Bottom};
    const TTitleMetrics& m = in.Title;
    if (title && !title->Image.Empty() && !place.BackRect.Empty()) {
        strip.Sync();
        // Keyed: the caption strip shows where the text-back picture is magenta.
        const TRect& back = place.BackRect;
        TBitmap piece(back.Width(), back.Height(), TPixelFormat::pf32bit);
        piece.Fill(kColourKey);
        ComposeHorizontal(piece, {0, 0, back.Width(), back.Height()}, title->Image, true, 2,
                          FActive ? 1 : 2, {m.BackLeft, 0, m.BackRight, 0});
        CopyKeyed(strip.Bitmap(), back.Left, back.Top, piece, kColourKey);
    }
    if (place.DrawRect.Empty()) return;
    RECT inner{place.DrawRect.Left, place.DrawRect.Top, place.DrawRect.Right,
               place.DrawRect.Bottom};
    strip.Sync();
    const std::wstring shown = FCaptionPrefix + caption;
    SelectObject(strip.Dc(), canvas.Font().Handle());
    SetBkMode(strip.Dc(), TRANSPARENT);
    SetTextColor(strip.Dc(), ColorToRGB(canvas.Font().Color()));
    DrawTextW(strip.Dc(), shown.c_str(), static_cast<int>(shown.size()), &inner,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (FRightToLeft ? DT_RIGHT : DT_LEFT));
    GdiFlush();
}

void TWinSkinForm::LayoutCaptionButtons(int w) {
    std::vector<const TDataSkinSysButton*> parts;
    for (const auto& button : FCaptionButtons)
        parts.push_back(&button->Part());
    TCaptionState state;
    state.Maximized = FShowState == TShowState::Maximized;
    state.Active = FActive;
    state.BoxFlags = FBoxFlags;
    state.MdiFrameChildMaximized = FMdiKind == TMdiKind::Frame && FManager && FManager->MdiMaximized();
    state.MenuBarHeight = FMenuBarHeight;
    TCaptionGeometry geometry;
    geometry.WindowWidth = w;
    geometry.TextRect = {FTextRect.left, FTextRect.top, FTextRect.right, FTextRect.bottom};
    geometry.Frame = Widths();
    geometry.MenuBarHeight = FMenuBarHeight;
    geometry.MenuBarLeftMargin = FSkinData->MenuBar ? FSkinData->MenuBar->LeftWidth : 0;
    geometry.RightToLeft = FRightToLeft;
    const TCaptionButtonLayout layout =
        qh::LayoutCaptionButtons(parts, FIconBitmap, state, geometry);
    FRightButtonLeft = layout.RightButtonLeft;
    for (size_t i = 0; i < FCaptionButtons.size() && i < layout.Buttons.size(); ++i) {
        const TPlacedButton& placed = layout.Buttons[i];
        FCaptionButtons[i]->Visible = placed.Visible;
        FCaptionButtons[i]->Bounds = {placed.Bounds.Left, placed.Bounds.Top, placed.Bounds.Right,
                                      placed.Bounds.Bottom};
    }
}

void TWinSkinForm::BuildRegion() {
    if (FFrameState == kFrameDead || !FSkinData || MdiChildNotNormal()) return;
    RECT window{};
    GetWindowRect(FWindow, &window);
    const TSize size{window.right - window.left, window.bottom - window.top};
    if (!RegionRebuildNeeded(size, {FRegionSize.cx, FRegionSize.cy}, FMdiKind == TMdiKind::Child,
                             FFrameState == kFrameRefreshing))
        return;
    FRegionSize = {size.Width, size.Height};
    const TFrameBorders borders{FSkinData->BorderLeft.get(), FSkinData->BorderTop.get(),
                                FSkinData->BorderRight.get(), FSkinData->BorderBottom.get()};
    static const TBitmap kNoStrip;
    const TFrameRegion shape = FrameRegion(borders, Widths(), size.Width, size.Height, Borderless(),
                                           FCaptionBitmap ? FCaptionBitmap->Bitmap() : kNoStrip);
    TRegionHandle region = RegionFromRects(shape.Rects);
    // The system owns a region once it is the window's.
    if (SetWindowRgn(FWindow, region.Get(), TRUE)) {
        region.Release();
        FHasRegion = true;
    }
}

} // namespace qh
