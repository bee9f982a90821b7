#include "tray/simple_timer.h"

#include "toolkit/message_window.h"

#include <memory>

namespace qh {

namespace {

std::unique_ptr<TSimpleTimerHandler>& HandlerSlot() {
    static std::unique_ptr<TSimpleTimerHandler> handler;
    return handler;
}

} // namespace

TSimpleTimerHandler* TSimpleTimerHandler::Instance() {
    return HandlerSlot().get();
}

HWND TSimpleTimerHandler::Window() const {
    return TMessageWindow::Handle();
}

TSimpleTimerHandler& TSimpleTimerHandler::Acquire() {
    auto& slot = HandlerSlot();
    if (!slot) slot.reset(new TSimpleTimerHandler());
    ++slot->FTimerCount;
    return *slot;
}

void TSimpleTimerHandler::Release() {
    auto& slot = HandlerSlot();
    if (slot && --slot->FTimerCount <= 0) slot.reset();
}

TSimpleTimer::TSimpleTimer()
    : FIdentifier(TMessageWindow::Add([this](UINT message, LPARAM) {
          if (message == WM_TIMER) Fire();
      })) {
    TSimpleTimerHandler::Acquire();
}

TSimpleTimer::TSimpleTimer(unsigned interval, TSimpleTimerEvent onTimer) : TSimpleTimer() {
    FInterval = interval;
    FOnTimer = std::move(onTimer);
}

TSimpleTimer::~TSimpleTimer() {
    StopTimer(true);
    TMessageWindow::Remove(FIdentifier);
    TSimpleTimerHandler::Release();
}

bool TSimpleTimer::StartTimer() {
    if (FInterval == 0) return false;
    if (FRunning) StopTimer(false);
    TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
    if (!handler || !handler->Window()) return false;
    if (SetTimer(handler->Window(), FIdentifier, FInterval, nullptr) == 0) return false;
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
        KillTimer(handler->Window(), FIdentifier);
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
