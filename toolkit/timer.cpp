#include "toolkit/timer.h"

#include "toolkit/controls.h"
#include "toolkit/exception_report.h"

#include <windows.h>

#include <map>

namespace qh {

QH_DEFINE_CLASS(TTimer, TComponent, BoolProp("Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
                IntProp("Interval", &TTimer::Interval, &TTimer::SetInterval))

namespace {

// One hidden window carries the ticks of every timer.
struct TTimerWindow {
    HWND window = nullptr;
    std::map<UINT_PTR, TTimer*> timers;
    UINT_PTR nextId = 1;
};

TTimerWindow& Shared() {
    static TTimerWindow shared;
    return shared;
}

} // namespace

LRESULT CALLBACK TTimer::WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        auto& timers = Shared().timers;
        auto it = timers.find(wParam);
        if (it != timers.end()) {
            try {
                it->second->Tick();
            } catch (...) {
                ReportException(std::current_exception());
            }
        }
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    auto& shared = Shared();
    if (!shared.window) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProcedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TTimerWindow";
        RegisterClassExW(&wc);
        shared.window = CreateWindowExW(0, L"TTimerWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, wc.hInstance, nullptr);
    }
    FId = shared.nextId++;
    shared.timers[FId] = this;
    Update();
}

TTimer::~TTimer() {
    Destroying();
    FEnabled = false;
    Update();
    auto& shared = Shared();
    shared.timers.erase(FId);
    // The window goes with the last timer.
    if (shared.timers.empty() && shared.window) {
        DestroyWindow(shared.window);
        shared.window = nullptr;
    }
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
            KillTimer(Shared().window, FId);
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
    HWND window = Shared().window;
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
