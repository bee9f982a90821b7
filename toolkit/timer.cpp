#include "toolkit/timer.h"

#include "toolkit/controls.h"
#include "toolkit/message_window.h"

#include <windows.h>

namespace qh {

QH_DEFINE_CLASS(TTimer, TComponent, BoolProp("Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
                IntProp("Interval", &TTimer::Interval, &TTimer::SetInterval))

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    FId = TMessageWindow::Add([this](UINT message, LPARAM) {
        if (message == WM_TIMER) Tick();
    });
    Update();
}

TTimer::~TTimer() {
    Destroying();
    FEnabled = false;
    Update();
    TMessageWindow::Remove(FId);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled != FEnabled) {
        FEnabled = enabled;
        Update();
    }
}

void TTimer::SetInterval(int interval) {
    if (interval != FInterval) {
        FInterval = interval;
        // A running timer starts over with the new interval.
        if (FRunning) {
            KillTimer(TMessageWindow::Handle(), FId);
            FRunning = false;
        }
        Update();
    }
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

void TTimer::Update() {
    bool wanted = FEnabled && FInterval > 0 && !HasState(csLoading) && !HasState(csDestroying);
    HWND window = TMessageWindow::Handle();
    if (wanted && !FRunning)
        FRunning = SetTimer(window, FId, static_cast<UINT>(FInterval), nullptr) != 0;
    else if (!wanted && FRunning) {
        KillTimer(window, FId);
        FRunning = false;
    }
}

void TTimer::Tick() {
    if (OnTimer) OnTimer(this);
}

} // namespace qh
