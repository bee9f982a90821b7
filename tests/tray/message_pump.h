// Runs the thread's message loop in the tests until a condition holds.
#pragma once

#include <windows.h>

#include <functional>

namespace tray_test {

// Dispatches messages until done() is true or limitMs have passed; returns
// done(). The limit only keeps a broken build from hanging the suite.
inline bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 10000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
            if (done()) return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Dispatches what is queued now, without waiting.
inline void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace tray_test
