#include "toolkit/range_controls.h"

#include "core/gbk.h"

#include <commctrl.h>
#include <algorithm>
#include <array>
#include <utility>

namespace qh {

const TEnumInfo TrackBarOrientationEnum{"TTrackBarOrientation", {"trHorizontal", "trVertical"}};

QH_DEFINE_CLASS(TRangeControl, TWinControl,
                IntProp("Min", &TRangeControl::Min, &TRangeControl::SetMin),
                IntProp("Max", &TRangeControl::Max, &TRangeControl::SetMax),
                IntProp("Position", &TRangeControl::Position, &TRangeControl::SetPosition))

QH_DEFINE_CLASS(TProgressBar, TRangeControl)

QH_DEFINE_CLASS(TTrackBar, TRangeControl,
                EnumProp("Orientation", TrackBarOrientationEnum, &TTrackBar::Orientation,
                         &TTrackBar::SetOrientation))

QH_DEFINE_CLASS(TUpDown, TRangeControl)

TRangeControl::TRangeControl(TComponent* owner) : TWinControl(owner) {}

int TRangeControl::Position() const {
    if (HandleAllocated() && FGetPosMessage)
        return static_cast<int>(
            SendMessageW(const_cast<TRangeControl*>(this)->Handle(), FGetPosMessage, 0, 0));
    return FPosition;
}

void TRangeControl::SetRange(int min, int max) {
    FMin = min;
    FMax = std::max(min, max);
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (HandleAllocated()) HandleCreated();
}

void TRangeControl::SetPosition(int v) {
    v = std::clamp(v, FMin, FMax);
    bool changed = v != FPosition;
    FPosition = v;
    if (HandleAllocated())
        SendMessageW(Handle(), FSetPosMessage, FRangeInLParam ? TRUE : static_cast<WPARAM>(v),
                     FRangeInLParam ? v : 0);
    if (changed && OnChange) OnChange(this);
}

void TRangeControl::HandleCreated() {
    if (FRangeInLParam)
        SendMessageW(Handle(), FRangeMessage, TRUE, MAKELPARAM(FMin, FMax));
    else
        SendMessageW(Handle(), FRangeMessage, static_cast<WPARAM>(FMin), FMax);
    SendMessageW(Handle(), FSetPosMessage, FRangeInLParam ? TRUE : static_cast<WPARAM>(FPosition),
                 FRangeInLParam ? FPosition : 0);
}

TProgressBar::TProgressBar(TComponent* owner) : TRangeControl(owner) {
    SetBounds(0, 0, 150, 16);
    FRangeMessage = PBM_SETRANGE32;
    FSetPosMessage = PBM_SETPOS;
    FGetPosMessage = PBM_GETPOS;
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.BaseClass = PROGRESS_CLASSW;
}

TTrackBar::TTrackBar(TComponent* owner) : TRangeControl(owner) {
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
    FRangeMessage = TBM_SETRANGE;
    FSetPosMessage = TBM_SETPOS;
    FGetPosMessage = TBM_GETPOS;
    FRangeInLParam = true;
    FMax = 10;
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation) {
    if (orientation != FOrientation) {
        FOrientation = orientation;
        RecreateWnd();
    }
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.BaseClass = TRACKBAR_CLASSW;
    params.Style |= TBS_AUTOTICKS | (FOrientation == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        int pos = static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
        if (pos != FPosition) {
            FPosition = pos;
            if (OnChange) OnChange(this);
        }
        return;
    }
    TRangeControl::WndProc(m);
}

TUpDown::TUpDown(TComponent* owner) : TRangeControl(owner) {
    SetBounds(0, 0, 17, 25);
    FRangeMessage = UDM_SETRANGE32;
    FSetPosMessage = UDM_SETPOS32;
    FGetPosMessage = UDM_GETPOS32;
}

void TUpDown::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.BaseClass = UPDOWN_CLASSW;
    params.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS;
}

void TUpDown::WndProc(TMessage& m) {
    if (m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) {
        int pos = static_cast<int>(SendMessageW(Handle(), UDM_GETPOS32, 0, 0));
        if (pos != FPosition) {
            FPosition = pos;
            if (OnChange) OnChange(this);
        }
        return;
    }
    TRangeControl::WndProc(m);
}

} // namespace qh
