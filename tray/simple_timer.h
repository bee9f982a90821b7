// A lightweight window-message timer on the process's one hidden message
// window; a timer's identifier is its window-timer id.
#pragma once

#include <windows.h>

#include <functional>

namespace qh {

class TSimpleTimer;
using TSimpleTimerEvent = std::function<void(TSimpleTimer& sender)>;

class TSimpleTimer {
public:
    TSimpleTimer();
    TSimpleTimer(unsigned interval, TSimpleTimerEvent onTimer);
    ~TSimpleTimer();
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    // False, doing nothing, when the interval is 0 or the window timer
    // cannot be made; a running timer is stopped first.
    bool StartTimer();
    // Kills the window timer; clearEnabled also leaves the timer disabled.
    void StopTimer(bool clearEnabled = true);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);
    bool AutoDisable() const { return FAutoDisable; }
    void SetAutoDisable(bool value) { FAutoDisable = value; }
    const TSimpleTimerEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TSimpleTimerEvent value);

    UINT_PTR Identifier() const { return FIdentifier; }
    // Whether the window timer is running (Enabled can stay set without it).
    bool Running() const { return FRunning; }

private:
    friend class TSimpleTimerHandler;
    void Fire();

    UINT FIdentifier;
    unsigned FInterval = 1000;
    bool FEnabled = false;
    bool FAutoDisable = false;
    bool FRunning = false;
    TSimpleTimerEvent FOnTimer;
};

// The counts of the timers; it exists while a timer does.
class TSimpleTimerHandler {
public:
    // Null while no timer exists.
    static TSimpleTimerHandler* Instance();

    HWND Window() const;
    int TimerCount() const { return FTimerCount; }
    int RunningCount() const { return FRunningCount; }

    ~TSimpleTimerHandler() = default;
    TSimpleTimerHandler(const TSimpleTimerHandler&) = delete;
    TSimpleTimerHandler& operator=(const TSimpleTimerHandler&) = delete;

private:
    friend class TSimpleTimer;
    TSimpleTimerHandler() = default;
    static TSimpleTimerHandler& Acquire();
    static void Release();

    int FTimerCount = 0;
    int FRunningCount = 0;
};

} // namespace qh
