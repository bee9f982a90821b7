#include "toolkit/scroll_box.h"

#include "core/gbk.h"
#include "toolkit/layout/dpi_scale.h"

#include <commctrl.h>
#include <algorithm>
#include <array>
#include <utility>

namespace qh {

QH_DEFINE_CLASS(TScrollBox, TWinControl)

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

namespace {

// One click on an arrow of the box's scroll bars, in pixels.
constexpr int kScrollLine = 8;

} // namespace

SIZE TScrollBox::ContentSize() const {
    SIZE size{0, 0};
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != alNone) continue;
        size.cx = std::max<LONG>(size.cx, c->Left() + c->Width() + FHPos);
        size.cy = std::max<LONG>(size.cy, c->Top() + c->Height() + FVPos);
    }
    return size;
}

void TScrollBox::ChildBoundsChanged() {
    UpdateScrollBars();
}

void TScrollBox::ChangeScale(int fromDpi, int toDpi) {
    // The children sit where the scrolled content puts them: the position
    // scales with them.
    const bool wasUpdating = std::exchange(FUpdating, true);
    FHPos = RescaleForDpi(FHPos, fromDpi, toDpi);
    FVPos = RescaleForDpi(FVPos, fromDpi, toDpi);
    TWinControl::ChangeScale(fromDpi, toDpi);
    FUpdating = wasUpdating;
    UpdateScrollBars();
}

void TScrollBox::ChildFocused(TWinControl* child) {
    ScrollInView(child);
}

void TScrollBox::UpdateScrollBars() {
    if (FUpdating || !HandleAllocated() || HasState(csDestroying)) return;
    FUpdating = true;
    SIZE content = ContentSize();
    // A bar that comes or goes changes the room for the other: settle.
    RECT client{};
    for (int round = 0; round < 3; ++round) {
        GetClientRect(Handle(), &client);
        SCROLLINFO h{sizeof(h),
                     SIF_RANGE | SIF_PAGE,
                     0,
                     std::max<int>(content.cx - 1, 0),
                     static_cast<UINT>(client.right),
                     0,
                     0};
        SCROLLINFO v{sizeof(v),
                     SIF_RANGE | SIF_PAGE,
                     0,
                     std::max<int>(content.cy - 1, 0),
                     static_cast<UINT>(client.bottom),
                     0,
                     0};
        SetScrollInfo(Handle(), SB_HORZ, &h, FALSE);
        SetScrollInfo(Handle(), SB_VERT, &v, FALSE);
        RECT after{};
        GetClientRect(Handle(), &after);
        if (after.right == client.right && after.bottom == client.bottom) break;
    }
    FUpdating = false;
    ScrollTo(FHPos, FVPos); // what is no longer beyond the edge comes back
}

void TScrollBox::ScrollTo(int x, int y) {
    if (!HandleAllocated()) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    SIZE content = ContentSize();
    x = std::clamp(x, 0, std::max<int>(content.cx - client.right, 0));
    y = std::clamp(y, 0, std::max<int>(content.cy - client.bottom, 0));
    int dx = FHPos - x, dy = FVPos - y;
    if (dx || dy) {
        bool wasUpdating = std::exchange(FUpdating, true);
        FHPos = x;
        FVPos = y;
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c->Align() == alNone)
                c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
        }
        FUpdating = wasUpdating;
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    SCROLLINFO h{sizeof(h), SIF_POS, 0, 0, 0, FHPos, 0};
    SCROLLINFO v{sizeof(v), SIF_POS, 0, 0, 0, FVPos, 0};
    SetScrollInfo(Handle(), SB_HORZ, &h, TRUE);
    SetScrollInfo(Handle(), SB_VERT, &v, TRUE);
}

void TScrollBox::ScrollInView(const TControl* control) {
    if (!control || control->Parent() != this || !HandleAllocated()) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    int x = FHPos, y = FVPos;
    int left = control->Left(), top = control->Top();
    if (left < 0 || control->Width() > client.right)
        x += left;
    else if (left + control->Width() > client.right)
        x += left + control->Width() - client.right;
    if (top < 0 || control->Height() > client.bottom)
        y += top;
    else if (top + control->Height() > client.bottom)
        y += top + control->Height() - client.bottom;
    ScrollTo(x, y);
}

void TScrollBox::Scroll(int bar, int code) {
    RECT client{};
    GetClientRect(Handle(), &client);
    int page = bar == SB_HORZ ? client.right : client.bottom;
    int pos = bar == SB_HORZ ? FHPos : FVPos;
    switch (code) {
    case SB_LINEUP:
        pos -= ScaleFigure(kScrollLine);
        break;
    case SB_LINEDOWN:
        pos += ScaleFigure(kScrollLine);
        break;
    case SB_PAGEUP:
        pos -= page;
        break;
    case SB_PAGEDOWN:
        pos += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(Handle(), bar, &info)) pos = info.nTrackPos;
        break;
    }
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = bar == SB_HORZ ? ContentSize().cx : ContentSize().cy;
        break;
    default:
        return;
    }
    if (bar == SB_HORZ)
        ScrollTo(pos, FVPos);
    else
        ScrollTo(FHPos, pos);
}

void TScrollBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        // The box's own bars; a scroll bar control inside has its window.
        if (m.LParam == 0) {
            Scroll(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(m.WParam));
            m.Result = 0;
            return;
        }
        break;
    case WM_MOUSEWHEEL: {
        if (!(GetWindowLongW(Handle(), GWL_STYLE) & WS_VSCROLL)) break;
        int notches = GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA;
        ScrollTo(FHPos, FVPos - notches * 3 * ScaleFigure(kScrollLine));
        m.Result = 0;
        return;
    }
    default:
        break;
    }
    TWinControl::WndProc(m);
    if (m.Msg == WM_SIZE) UpdateScrollBars();
}

} // namespace qh
