// The popup's movement and close gate, apart from the window: it rises in
// 8-pixel steps onto the work area's bottom edge, and after the first close
// request sinks below the screen until the close is allowed.
#pragma once

#include <cstdint>

namespace qh {

inline constexpr int32_t kAlarmSlideStep = 8;

class AlarmSlide {
public:
    // Timer flags as the popup's two timers should be set after each call.
    bool SlideUpRunning() const { return FSlideUp; }
    bool SlideDownRunning() const { return FSlideDown; }
    bool MayClose() const { return FMayClose; }

    // The popup is shown: the slide-up runs (again), unless the popup is
    // already on its way down.
    void Shown();

    // One slide-up tick; returns the new top.
    int32_t SlideUpTick(int32_t top, int32_t height, int32_t workAreaBottom);

    // The close gate: starts the slide-down (and ends the slide-up, so a close
    // during the rise still ends hidden); true once the slide-down is done.
    bool CloseQuery();

    struct DownStep {
        int32_t Top;
        bool CloseNow; // the popup is out of sight: close it again
    };
    // One slide-down tick.
    DownStep SlideDownTick(int32_t top, int32_t height, int32_t screenHeight);

private:
    bool FSlideUp = true; // enabled from creation
    bool FSlideDown = false;
    bool FMayClose = false;
};

} // namespace qh
