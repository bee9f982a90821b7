#include "skin/engine/frame/frame_painter.h"

#include "core/gbk.h"
#include "skin/engine/bitmap_region.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/caption_layout.h"
#include "skin/render/compose.h"
#include "skin/render/frame_region.h"
#include "skin/render/pixel_copy.h"
#include "toolkit/canvas.h"
#include "toolkit/dpi.h"
#include "toolkit/win_handle.h"

#include <algorithm>
#include <optional>

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

void TFramePainter::ReadCaptionFont() {
    const NONCLIENTMETRICSW metrics = NonClientMetricsForDpi(FForm.Dpi());
    if (metrics.lfCaptionFont.lfHeight != 0) {
        FCaptionFont.SetName(WideToGbk(metrics.lfCaptionFont.lfFaceName));
        FCaptionFont.SetHeight(metrics.lfCaptionFont.lfHeight);
        FCaptionFont.SetCharset(metrics.lfCaptionFont.lfCharSet);
        if (metrics.lfCaptionFont.lfWeight >= FW_BOLD) FCaptionFont.SetStyle(fsBold);
    }
    TWindowDC dc(FForm.Window());
    TCanvas canvas(dc.Get());
    canvas.Font().Assign(FCaptionFont);
    FSpaceWidth = std::max<int>(1, canvas.TextExtent(L" ").cx);
    canvas.SetHandle(nullptr);
}

void TFramePainter::PaintFrame(HDC given) {
    const TFrameState state = FForm.FrameState();
    if (state != TFrameState::Active && state != TFrameState::Refreshing) return;
    if (FForm.Borderless() || FForm.MdiChildNotNormal() || !FForm.SkinData()) return;
    HWND window = FForm.Window();
    std::optional<TWindowDC> own;
    if (!given) own.emplace(window, TWindowDC::WholeWindow);
    HDC dc = given ? given : own->Get();
    if (!dc) return;
    // A whole repaint shows every button normal; the pointer brings the
    // hover back when it moves. A bar button keeps its look only while its
    // drop-down is open.
    FForm.Buttons().ForgetHover();
    TNCObject* hot = FForm.HotObject();
    if (hot && !FForm.MenuMode()) hot->State = TNCState::Normal;
    // A half-painted frame is repainted with the next WM_NCPAINT.
    try {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
        const TFrameWidths f = FForm.Widths();
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, f.Left, f.Top + FForm.MenuBarHeight(), w - f.Right, h - f.Bottom);
        PaintBorders(dc, w, h);
        PaintCaption(dc, w);
        PaintMenuBar(dc, w);
        RestoreDC(dc, saved);
    } catch (...) {
    }
    if (!FForm.MenuMode()) FForm.SetHotObject(nullptr);
}

void TFramePainter::PaintMenuBar(HDC dc, int w) {
    TWinSkinMenu* bar = FForm.MenuBar();
    if (!bar) return;
    const TFrameWidths f = FForm.Widths();
    bar->Paint(dc, {f.Left, f.Top, w - f.Right, f.Top + FForm.MenuBarHeight()}, FForm.Active());
}

void TFramePainter::PaintBorders(HDC dc, int w, int h) {
    const TSkinParts& data = FForm.Skin();
    const TFrameWidths f = FForm.Widths();
    auto draw = [&](const TDataSkinBorder* part, const TRect& target, bool vertical) {
        if (!part || part->Image.Empty() || target.Empty()) return;
        const TDibSection picture(
            ComposeFramePart(*part, target.Width(), target.Height(), vertical, FForm.Active()));
        BitBlt(dc, target.Left, target.Top, target.Width(), target.Height(), picture.Dc(), 0, 0,
               SRCCOPY);
    };
    draw(data.BorderLeft.get(), {0, 0, f.Left, h}, false);
    draw(data.BorderRight.get(), {w - f.Right, 0, w, h}, false);
    draw(data.BorderBottom.get(), {f.Left, h - f.Bottom, w - f.Right, h}, true);
}

void TFramePainter::PaintCaption(HDC dc, int w) {
    const TFrameWidths f = FForm.Widths();
    if (f.Top <= 0 || w <= 0) return;
    if (!FCaptionBitmap || FCaptionBitmap->Width() != w || FCaptionBitmap->Height() != f.Top)
        FCaptionBitmap = std::make_unique<TDibSection>(w, f.Top);
    TDibSection& strip = *FCaptionBitmap;
    // The corners the side borders drew stay.
    BitBlt(strip.Dc(), 0, 0, w, f.Top, dc, 0, 0, SRCCOPY);
    strip.Sync();
    const TRect caption{f.Left, 0, w - f.Right, f.Top};
    const TDataSkinBorder* top = FForm.Skin().BorderTop.get();
    if (top && !top->Image.Empty())
        strip.Bitmap().CopyRect(
            caption.Left, 0, ComposeFramePart(*top, caption.Width(), f.Top, true, FForm.Active()),
            0, 0, caption.Width(), f.Top);
    TCaptionButtons& buttons = FForm.Buttons();
    buttons.Layout(w, FTextRect);
    PaintCaptionText(strip, RECT{caption.Left, caption.Top, caption.Right, caption.Bottom});
    // The layout of the buttons beside the text needs the text's place.
    buttons.Layout(w, FTextRect);
    strip.Sync();
    buttons.PaintOnCaption(strip.Bitmap());
    BitBlt(dc, 0, 0, w, f.Top, strip.Dc(), 0, 0, SRCCOPY);
}

void TFramePainter::PaintCaptionText(TDibSection& strip, const RECT& r) {
    const TSkinParts& data = FForm.Skin();
    const TDataSkinTitle* title = data.Title.get();
    const std::wstring caption = WindowText(FForm.Window());
    const bool active = FForm.Active();
    TCanvas canvas(strip.Dc());
    canvas.Font().Assign(FCaptionFont);
    canvas.Font().SetColor(static_cast<TColor>(active ? data.Colours.TitleTextActive
                                                      : data.Colours.TitleTextNoActive));
    const SIZE measured = canvas.TextExtent(caption + L" " + FCaptionPrefix);
    TCaptionTextInput in;
    in.Caption = {r.left, r.top, r.right, r.bottom};
    in.Measured = {measured.cx, measured.cy};
    in.Title = TitleMetricsOf(title);
    in.RightToLeft = FForm.RightToLeft();
    in.Popup = (FForm.WindowStyle() & WS_POPUP) != 0;
    in.RightButtonLeft = FForm.Buttons().RightButtonLeft();
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
                          active ? 1 : 2, {m.BackLeft, 0, m.BackRight, 0});
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
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX |
                  (FForm.RightToLeft() ? DT_RIGHT : DT_LEFT));
    GdiFlush();
}

void TFramePainter::BuildRegion() {
    if (FForm.FrameState() == TFrameState::Dead || !FForm.SkinData() || FForm.MdiChildNotNormal())
        return;
    const TSkinParts* data = &FForm.Skin();
    HWND window = FForm.Window();
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const TSize size{bounds.right - bounds.left, bounds.bottom - bounds.top};
    if (!RegionRebuildNeeded(size, {FRegionSize.cx, FRegionSize.cy},
                             FForm.MdiKind() == TMdiKind::Child,
                             FForm.FrameState() == TFrameState::Refreshing))
        return;
    FRegionSize = {size.Width, size.Height};
    const TFrameBorders borders{data->BorderLeft.get(), data->BorderTop.get(),
                                data->BorderRight.get(), data->BorderBottom.get()};
    static const TBitmap kNoStrip;
    const TFrameRegion shape =
        FrameRegion(borders, FForm.Widths(), size.Width, size.Height, FForm.Borderless(),
                    FCaptionBitmap ? FCaptionBitmap->Bitmap() : kNoStrip);
    TRegionHandle region = RegionFromRects(shape.Rects);
    // The system owns a region once it is the window's.
    if (SetWindowRgn(window, region.Get(), TRUE)) {
        region.Release();
        FHasRegion = true;
    }
}

void TFramePainter::DropRegion(bool windowAlive) {
    if (windowAlive && FHasRegion) SetWindowRgn(FForm.Window(), nullptr, TRUE);
    FHasRegion = false;
}

} // namespace qh
