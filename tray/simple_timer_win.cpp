#include "tray/simple_timer.h"

#include "toolkit/exception_report.h"

#include <map>
#include <memory>

namespace qh {

namespace {

constexpr wchar_t kTimerWindowClass[] = L"TSimpleTimerWindow";

std::unique_ptr<TSimpleTimerHandler>& HandlerSlot() {
    static std::unique_ptr<TSimpleTimerHandler> handler;
    return handler;
}

// Live timers by identifier: a WM_TIMER still queued for a timer that is
// gone finds nothing instead of a dangling object.
std::map<UINT_PTR, TSimpleTimer*>& LiveTimers() {
    static std::map<UINT_PTR, TSimpleTimer*> timers;
    return timers;
}

UINT_PTR NextIdentifier() {
    static UINT_PTR next = 0;
    return ++next;
}

} // namespace

TSimpleTimerHandler* TSimpleTimerHandler::Instance() {
    return HandlerSlot().get();
}

TSimpleTimerHandler::TSimpleTimerHandler() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(instance, kTimerWindowClass, &windowClass)) {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = WindowProcedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kTimerWindowClass;
        RegisterClassExW(&windowClass);
    }
    // A message-only window: it only ever receives its own timer messages.
    FWindow = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              instance, nullptr);
}

TSimpleTimerHandler::~TSimpleTimerHandler() {
    if (FWindow) DestroyWindow(FWindow);
}

TSimpleTimerHandler& TSimpleTimerHandler::Acquire(TSimpleTimer& timer) {
    auto& slot = HandlerSlot();
    if (!slot) slot.reset(new TSimpleTimerHandler());
    ++slot->FTimerCount;
    LiveTimers()[timer.FIdentifier] = &timer;
    return *slot;
}

void TSimpleTimerHandler::Release(TSimpleTimer& timer) {
    LiveTimers().erase(timer.FIdentifier);
    auto& slot = HandlerSlot();
    if (slot && --slot->FTimerCount <= 0) slot.reset();
}

LRESULT CALLBACK TSimpleTimerHandler::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam) {
    if (message != WM_TIMER) return DefWindowProcW(window, message, wParam, lParam);
    auto found = LiveTimers().find(static_cast<UINT_PTR>(wParam));
    if (found == LiveTimers().end()) return 0;
    // An event handler's error is reported here: it must not unwind
    // through the system's dispatch.
    try {
        found->second->Fire();
    } catch (...) {
        ReportException(std::current_exception());
    }
    return 0;
}

TSimpleTimer::TSimpleTimer() : FIdentifier(NextIdentifier()) {
    TSimpleTimerHandler::Acquire(*this);
}

TSimpleTimer::TSimpleTimer(unsigned interval, TSimpleTimerEvent onTimer) : TSimpleTimer() {
    FInterval = interval;
    FOnTimer = std::move(onTimer);
}

TSimpleTimer::~TSimpleTimer() {
    StopTimer(true);
    TSimpleTimerHandler::Release(*this);
}

bool TSimpleTimer::StartTimer() {
    if (FInterval == 0) return false;
    if (FRunning) StopTimer(false);
    TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
    if (!handler || !handler->FWindow) return false;
    if (SetTimer(handler->FWindow, FIdentifier, FInterval, nullptr) == 0) return false;
    FEnabled = true;
    FRunning = true;
    ++handler->FRunningCount;
    return true;
}

void TSimpleTimer::StopTimer(bool clearEnabled) {
    if (clearEnabled) FEnabled = false;
    if (!FRunning) return;
    FRunning = false;
    if (TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance()) {
        KillTimer(handler->FWindow, FIdentifier);
        --handler->FRunningCount;
    }
}

void TSimpleTimer::SetEnabled(bool value) {
    if (value)
        StartTimer();
    else
        StopTimer(true);
}

void TSimpleTimer::SetInterval(unsigned value) {
    if (value == FInterval) return;
    FInterval = value;
    if (!FEnabled) return;
    if (value != 0)
        StartTimer();
    else
        StopTimer(false);
}

void TSimpleTimer::SetOnTimer(TSimpleTimerEvent value) {
    FOnTimer = std::move(value);
    if (!FOnTimer && FEnabled) StopTimer(false);
}

void TSimpleTimer::Fire() {
    if (FAutoDisable) StopTimer(true);
    if (FOnTimer) {
        // The handler may free this timer: keep the event alive on the stack.
        TSimpleTimerEvent event = FOnTimer;
        event(*this);
    }
}

} // namespace qh
