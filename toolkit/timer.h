// A window-message timer component.
#pragma once

#include "core/component.h"

#include <windows.h>

namespace qh {

class TTimer : public TComponent {
    QH_CLASS(TTimer, TComponent)
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    // Milliseconds; 0 stops the ticks while keeping Enabled.
    int Interval() const { return FInterval; }
    void SetInterval(int interval);

    TNotifyEvent OnTimer;

protected:
    void Loaded() override;

private:
    void Update();
    void Tick();

    bool FEnabled = true;
    int FInterval = 1000;
    bool FRunning = false;
    UINT FId = 0;
};

} // namespace qh
