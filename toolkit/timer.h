// A window-message timer component.
#pragma once

#include "core/component.h"

#include <windows.h>

namespace qh {

class TTimer : public TComponent {
    QH_CLASS(TTimer, TComponent)
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Milliseconds; 0 stops the ticks while keeping Enabled.
    int Interval() const { return interval_; }
    void SetInterval(int interval);

    TNotifyEvent OnTimer;

protected:
    void Loaded() override;

private:
    void Update();
    void Tick();
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    bool enabled_ = true;
    int interval_ = 1000;
    bool running_ = false;
    UINT_PTR id_ = 0;
};

} // namespace qh
