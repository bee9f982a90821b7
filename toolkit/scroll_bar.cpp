#include "toolkit/scroll_bar.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"
#include "toolkit/dpi.h"

#include <commctrl.h>
#include <algorithm>

namespace qh {

const TEnumInfo ScrollBarKindEnum{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};

QH_DEFINE_CLASS(TScrollBar, TWinControl,
                EnumProp("Kind", ScrollBarKindEnum, &TScrollBar::Kind, &TScrollBar::SetKind),
                IntProp("Min", &TScrollBar::Min, &TScrollBar::SetMin),
                IntProp("Max", &TScrollBar::Max, &TScrollBar::SetMax),
                IntProp("Position", &TScrollBar::Position, &TScrollBar::SetPosition))

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    // A 96-DPI figure like every other: the form scales it.
    SetBounds(0, 0, 121, SystemMetricForDpi(SM_CYHSCROLL, kDesignDpi));
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == FKind) return;
    FKind = kind;
    SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) max = min;
    position = std::clamp(position, min, max);
    bool moved = position != FPosition;
    FMin = min;
    FMax = max;
    FPosition = position;
    if (HandleAllocated()) HandleCreated();
    if (moved && OnChange) OnChange(this);
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"SCROLLBAR";
    params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::HandleCreated() {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS, FMin, FMax, 0, FPosition, 0};
    SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        int pos = FPosition;
        switch (LOWORD(m.WParam)) {
        case SB_LINEUP:
            --pos;
            break;
        case SB_LINEDOWN:
            ++pos;
            break;
        case SB_PAGEUP:
            pos -= FLargeChange;
            break;
        case SB_PAGEDOWN:
            pos += FLargeChange;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            pos = static_cast<short>(HIWORD(m.WParam));
            break;
        case SB_TOP:
            pos = FMin;
            break;
        case SB_BOTTOM:
            pos = FMax;
            break;
        default:
            break;
        }
        SetPosition(pos);
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace qh
