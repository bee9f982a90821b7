#include "skin/engine/controls/skin_scrollbar.h"

#include "core/mul_div.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/control_pixels.h"
#include "skin/render/pixel_copy.h"
#include "toolkit/dpi.h"
#include "toolkit/graphics.h"

#include <windowsx.h>

#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TSkinScrollbar, TSkinControl)
QH_DEFINE_CLASS(TSkinScControl, TSkinControl)
QH_DEFINE_CLASS(TSkinSizer, TSkinControl)

namespace {

// Windows this large are left to the system: their bars would need
// pictures of absurd size.
constexpr int kLargestPainted = 10000;

TScrollInfo ReadScrollInfo(HWND window, int nBar) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(window, nBar, &si)) return {};
    return {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos, si.nTrackPos};
}

bool SameInfo(const TScrollInfo& a, const TScrollInfo& b) {
    return a.Min == b.Min && a.Max == b.Max && a.Page == b.Page && a.Pos == b.Pos;
}

// The thumb of a bar `length` long for info, or arrows and track alone when
// the range is empty (a bar with nothing to scroll shows no thumb).
TThumbMetrics MetricsFor(const TScrollInfo& info, int length, int barSize, int dpi) {
    TThumbMetrics m;
    if (!ThumbMetrics(info, length, barSize, ScaleForDpi(kNtMinThumb, dpi),
                      SystemMetricForDpi(SM_CXHTHUMB, dpi), m)) {
        m.Arrow = ArrowLength(length, barSize);
        m.Track = std::max(length - 2 * barSize, 0);
    }
    return m;
}

RECT ToRect(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

void FillOnDc(HDC dc, const RECT& r, TColor colour) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    TDibSection picture(w, h);
    picture.Bitmap().Fill(colour);
    BitBlt(dc, r.left, r.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

// What a scroll notification's code says is held down.
TScrollPress PressOfScrollCode(WORD code, bool vertical) {
    switch (code) {
    case SB_LINEUP:
        return ArrowPress(vertical, false);
    case SB_LINEDOWN:
        return ArrowPress(vertical, true);
    case SB_THUMBTRACK:
        return ThumbPress(vertical);
    default:
        return TScrollPress::None;
    }
}

// The point of a mouse message in screen coordinates.
POINT ScreenPoint(const MSG& msg) {
    POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.message == WM_MOUSEMOVE && msg.hwnd) ClientToScreen(msg.hwnd, &p);
    return p;
}

} // namespace

bool ScrollPartsOf(const TSkinParts& data, bool vertical, TScrollBarParts& parts) {
    if (!data.ScrollArrows || data.ScrollArrows->Image.Empty()) return false;
    parts.Arrows = data.ScrollArrows.get();
    parts.Track = vertical ? data.VertScroll.get() : data.HorzScroll.get();
    parts.Thumb = vertical ? data.VertScrollThumb.get() : data.HorzScrollThumb.get();
    parts.Fill = SkinColour(data.Colours.Scrollbar);
    parts.TileTrack = data.HorzScroll && data.HorzScroll->Tile != 0;
    parts.KeyedThumb = data.HorzScrollThumb && data.HorzScrollThumb->Trans == 1;
    return true;
}

void PaintScrollBarPicture(HDC dc, const RECT& bar, bool vertical, const TScrollBarParts& parts,
                           const TThumbMetrics& metrics, TScrollPress pressed, int dpi) {
    const int w = bar.right - bar.left, h = bar.bottom - bar.top;
    if (w <= 0 || h <= 0) return;
    // Composed as thick as the parts are drawn for the DPI, then fitted to the bar.
    const TBitmap strip = ComposeScrollBar(parts, vertical, vertical ? h : w, metrics, pressed,
                                           ScaleForDpi(kScrollPictureThickness, dpi));
    if (strip.Empty()) return;
    TDibSection picture(w, h);
    StretchPixels(picture.Bitmap(), {0, 0, w, h}, strip, {0, 0, strip.Width(), strip.Height()});
    BitBlt(dc, bar.left, bar.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

// The window's own bars.

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}

void TSkinScrollbar::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool,
                                   TCanvas* canvas) {
    AttachScrollBars(dynamic_cast<TControl*>(Owner()), skinData, FCustomTracking, form, canvas);
}

void TSkinScrollbar::AttachScrollBars(TControl* control, TSkinData* skinData, bool tracking,
                                      TWinSkinForm* form, TCanvas* canvas) {
    // The base skins the owner; another control cannot be taken over.
    if (!control || control != Owner() || SkinState() != TSkinState::New) return;
    FCustomTracking = tracking;
    TSkinControl::AttachControl(form, skinData, false, canvas);
    if (SkinState() == TSkinState::Attached) FrameChanged();
}

void TSkinScrollbar::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                                  TCanvas* canvas) {
    TSkinControl::AttachWindow(window, skinData, form, canvas);
    if (SkinState() != TSkinState::Attached) return;
    FCustomTracking = false;
    FrameChanged();
}

void TSkinScrollbar::Detach() {
    TSkinControl::Detach();
    if (SkinState() != TSkinState::Detached || !Window() || !IsWindow(Window())) return;
    if (Control() && Control()->HasState(csDestroying)) return;
    // The system draws its own bars again.
    FrameChanged();
    RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::SkinChanged() {
    TSkinControl::SkinChanged();
    // The bars are in the frame, which the base leaves as it is; a skin
    // without scroll bar images gets the system's bars back this way too.
    if (SkinState() == TSkinState::Attached && Window() && IsWindow(Window()))
        RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::FrameChanged() {
    if (!Window() || !IsWindow(Window())) return;
    SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE |
                     SWP_FRAMECHANGED);
}

bool TSkinScrollbar::FilterMessage(TMessage& m) {
    TScrollBarParts parts;
    if (!SkinData() || !ScrollPartsOf(*Skin(), false, parts))
        return TSkinControl::FilterMessage(m);
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        PassOn(m);
        return false;
    case WM_NCMOUSEMOVE:
        // No hot tracking of the system's bar over ours.
        if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
            m.Result = 0;
            return false;
        }
        return true;
    case WM_NCLBUTTONDOWN:
        if (FCustomTracking && (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) &&
            PressBar(static_cast<int>(m.WParam),
                     {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)})) {
            m.Result = 0;
            return false;
        }
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // A child scroll bar control's notification is not about our bars.
        if (m.LParam) return true;
        OnScroll(m, m.Msg == WM_VSCROLL);
        return false;
    default:
        return TSkinControl::FilterMessage(m);
    }
}

void TSkinScrollbar::OnScroll(TMessage& m, bool vertical) {
    FPressed = PressOfScrollCode(LOWORD(m.WParam), vertical);
    bool& systemScrolls = vertical ? FSystemScrollsV : FSystemScrollsH;
    systemScrolls = true;
    const auto alive = AliveToken();
    const bool stays = PassOn(m);
    if (!stays || !*alive) return;
    systemScrolls = false;
    PaintNow();
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        // Our bars are in the non-client area: the window's own context.
        PaintNow();
        return;
    case WM_SIZE:
        RepaintFrame();
        return;
    case WM_NCPAINT:
    case WM_NCLBUTTONDOWN: // the system's press on an arrow or the track is over
        PaintNow();
        return;
    case WM_PRINT:
        if (m.LParam & PRF_NONCLIENT) PaintNow(reinterpret_cast<HDC>(m.WParam));
        return;
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return;
    default:
        break;
    }
    TSkinControl::AfterMessage(m);
    // A window that moved its bar while handling a message (a new line in a
    // memo, a key, the wheel) had the system draw it in its own look.
    if (!FDragging && Window() && IsWindow(Window())) {
        const auto style = static_cast<uint32_t>(GetWindowLongW(Window(), GWL_STYLE));
        if (((style & WS_VSCROLL) && !SameInfo(ReadScrollInfo(Window(), SB_VERT), FVert.Info)) ||
            ((style & WS_HSCROLL) && !SameInfo(ReadScrollInfo(Window(), SB_HORZ), FHorz.Info)))
            PaintNow();
    }
}

void TSkinScrollbar::Layout(TScrollBarLayout& layout) {
    RECT window{}, client{};
    GetWindowRect(Window(), &window);
    GetClientRect(Window(), &client);
    TScrollBarInput in;
    in.Width = window.right - window.left;
    in.Height = window.bottom - window.top;
    in.ClientWidth = client.right;
    in.ClientHeight = client.bottom;
    in.BarSize = SystemMetricForDpi(SM_CXHSCROLL, Dpi());
    in.ExtraTop = FExtraTop;
    in.Style = FStyle;
    in.ExStyle = FExStyle;
    layout = ScrollBarLayout(in);
    FHorz.Rect = ToRect(layout.Horizontal);
    FVert.Rect = ToRect(layout.Vertical);
    FCorner = ToRect(layout.Corner);
}

void TSkinScrollbar::UpdateMetrics(TBar& bar, int nBar, int length) {
    bar.Info = ReadScrollInfo(Window(), nBar);
    TScrollInfo shown = bar.Info;
    // While the system drags the thumb, it is where the drag has it.
    if (FPressed == ThumbPress(nBar == SB_VERT)) shown.Pos = bar.Info.TrackPos;
    bar.Metrics = MetricsFor(shown, length, SystemMetricForDpi(SM_CXHSCROLL, Dpi()), Dpi());
}

void TSkinScrollbar::PaintTo(HDC dc, const RECT& rect) {
    if (!SkinData() || !Window()) return;
    TScrollBarParts horz, vert;
    if (!ScrollPartsOf(*Skin(), false, horz) || !ScrollPartsOf(*Skin(), true, vert))
        return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w > kLargestPainted || h > kLargestPainted || w <= 0 || h <= 0) return;
    FStyle = static_cast<uint32_t>(GetWindowLongW(Window(), GWL_STYLE));
    FExStyle = static_cast<uint32_t>(GetWindowLongW(Window(), GWL_EXSTYLE));
    if (!(FStyle & (WS_HSCROLL | WS_VSCROLL))) return;
    TScrollBarLayout layout;
    Layout(layout);
    const bool draggingH = FDragging && FPressed == TScrollPress::HorzThumb;
    const bool draggingV = FDragging && FPressed == TScrollPress::VertThumb;
    auto at = [&](RECT r) {
        OffsetRect(&r, rect.left, rect.top);
        return r;
    };
    if ((FStyle & WS_HSCROLL) && !FSystemScrollsH) {
        const int length = FHorz.Rect.right - FHorz.Rect.left;
        if (!draggingH) UpdateMetrics(FHorz, SB_HORZ, length);
        PaintScrollBarPicture(dc, at(FHorz.Rect), false, horz, FHorz.Metrics, FPressed, Dpi());
    }
    if ((FStyle & WS_VSCROLL) && !FSystemScrollsV) {
        const int length = FVert.Rect.bottom - FVert.Rect.top;
        if (!draggingV) UpdateMetrics(FVert, SB_VERT, length);
        PaintScrollBarPicture(dc, at(FVert.Rect), true, vert, FVert.Metrics, FPressed, Dpi());
    }
    if (!layout.Corner.Empty())
        FillOnDc(dc, at(FCorner), SkinColour(SkinData()->Colours.ButtonFace));
}

bool TSkinScrollbar::PressBar(int hit, POINT screen) {
    if (!Window()) return false;
    const bool vertical = hit == HTVSCROLL;
    FStyle = static_cast<uint32_t>(GetWindowLongW(Window(), GWL_STYLE));
    FExStyle = static_cast<uint32_t>(GetWindowLongW(Window(), GWL_EXSTYLE));
    if (!(FStyle & (vertical ? WS_VSCROLL : WS_HSCROLL))) return false;
    TScrollBarLayout layout;
    Layout(layout);
    RECT window{};
    GetWindowRect(Window(), &window);
    TBar& bar = vertical ? FVert : FHorz;
    const int nBar = vertical ? SB_VERT : SB_HORZ;
    const int length =
        vertical ? bar.Rect.bottom - bar.Rect.top : bar.Rect.right - bar.Rect.left;
    UpdateMetrics(bar, nBar, length);
    if (bar.Info.Max - bar.Info.Min <= 0 || bar.Metrics.Thumb <= 0) return false;
    const int p = vertical ? screen.y - window.top - bar.Rect.top
                           : screen.x - window.left - bar.Rect.left;
    if (ScrollZoneAt(p, bar.Metrics) != TScrollZone::Thumb) return false;
    DragThumb(nBar, screen);
    return true;
}

void TSkinScrollbar::DragThumb(int nBar, POINT start) {
    const bool vertical = nBar == SB_VERT;
    const UINT notify = vertical ? WM_VSCROLL : WM_HSCROLL;
    HWND window = Window();
    TBar& bar = vertical ? FVert : FHorz;
    const TScrollInfo info = bar.Info;
    const TThumbMetrics metrics = bar.Metrics;
    int position = info.Pos;
    const auto alive = AliveToken();

    FPressed = ThumbPress(vertical);
    FDragging = true;
    PaintNow();
    SetCapture(window);
    for (;;) {
        MSG msg{};
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (GetCapture() != window) break;
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The loop that ends the program must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            DispatchMessageW(&msg);
            if (!*alive) return;
            const POINT p = ScreenPoint(msg);
            const TThumbDrag drag =
                qh::DragThumb(info, metrics, metrics.Offset, vertical ? p.y - start.y : p.x - start.x);
            bar.Metrics.Offset = drag.Offset;
            if (drag.Position != position) {
                position = drag.Position;
                bar.Info.Pos = bar.Info.TrackPos = position;
                SCROLLINFO si{};
                si.cbSize = sizeof(si);
                si.fMask = SIF_POS;
                si.nPos = position;
                SetScrollInfo(window, nBar, &si, FALSE);
                SendMessageW(window, notify, MAKEWPARAM(SB_THUMBTRACK, position), 0);
                if (!*alive) return;
            }
            PaintNow();
        } else {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (!*alive) return;
        }
        if (GetCapture() != window) break;
    }
    if (GetCapture() == window) ReleaseCapture();
    FDragging = false;
    SendMessageW(window, notify, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
    if (!*alive) return;
    PostMessageW(window, notify, SB_ENDSCROLL, 0);
}

// The stand-alone scroll bar control.

TSkinScControl::TSkinScControl(TComponent* owner) : TSkinControl(owner) {}

bool TSkinScControl::FilterMessage(TMessage& m) {
    TScrollBarParts parts;
    if (!SkinData() || !ScrollPartsOf(*Skin(), false, parts) || !Window())
        return TSkinControl::FilterMessage(m);
    if (GetWindowLongW(Window(), GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP))
        return TSkinControl::FilterMessage(m);
    if (TakeClientPainting(*this, m)) return false;
    return TSkinControl::FilterMessage(m);
}

void TSkinScControl::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        FPressed = PressOfScrollCode(LOWORD(m.WParam), m.Msg == CN_VSCROLL);
        PaintNow();
        return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        FPressed = TScrollPress::None;
        PaintNow();
        return;
    case WM_LBUTTONDOWN: // the system's tracking is over
    case WM_LBUTTONDBLCLK:
    case WM_SIZE:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_SETSCROLLINFO:
    case SBM_ENABLE_ARROWS:
        PaintNow();
        return;
    default:
        TSkinControl::AfterMessage(m);
    }
}

void TSkinScControl::PaintNow(HDC dc) {
    PaintClient(*this, dc);
}

void TSkinScControl::PaintTo(HDC dc, const RECT& rect) {
    if (!SkinData() || !Window()) return;
    const auto style = static_cast<uint32_t>(GetWindowLongW(Window(), GWL_STYLE));
    if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) return;
    const bool vertical = (style & SBS_VERT) != 0;
    TScrollBarParts parts;
    if (!ScrollPartsOf(*Skin(), vertical, parts)) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0 || w > kLargestPainted || h > kLargestPainted) return;
    FInfo = ReadScrollInfo(Window(), SB_CTL);
    TScrollInfo shown = FInfo;
    if (FPressed == ThumbPress(vertical)) shown.Pos = FInfo.TrackPos;
    // The control's own thickness is its arrows' length.
    FMetrics = MetricsFor(shown, vertical ? h : w, vertical ? w : h, Dpi());
    PaintScrollBarPicture(dc, rect, vertical, parts, FMetrics, FPressed, Dpi());
}

// The size grip.

TSkinSizer::TSkinSizer(TComponent* owner) : TSkinControl(owner) {}

bool TSkinSizer::IsGrip() const {
    return Window() && (GetWindowLongW(Window(), GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP));
}

bool TSkinSizer::FilterMessage(TMessage& m) {
    if (!IsGrip()) return TSkinControl::FilterMessage(m);
    if (TakeClientPainting(*this, m)) return false;
    return TSkinControl::FilterMessage(m);
}

void TSkinSizer::PaintNow(HDC dc) {
    PaintClient(*this, dc);
}

void TSkinSizer::PaintTo(HDC dc, const RECT& rect) {
    if (!SkinData() || !IsGrip()) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0 || w > kLargestPainted || h > kLargestPainted) return;
    TDibSection picture(w, h);
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(SkinColour(SkinData()->Colours.ButtonFace));
    DrawGripStripes(pixels, SkinColour(SkinData()->Colours.ButtonShadow));
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

} // namespace qh
