// The popup's movement, apart from the window: it rises in 8-pixel steps
// onto the work area's bottom edge, and after the first close request sinks
// below the screen until it is out of sight. The distances are figures at
// 96 DPI, scaled for the DPI the popup is shown at.
#pragma once

#include <cstdint>

namespace qh {

inline constexpr int32_t kAlarmSlideStep = 8;

struct TAlarmSlideStep {
    int32_t Top;
    bool Done; // rise: resting on the line, stop the timer; fall: out of sight
};

// One slide-up tick. The tick that finds the popup above the resting line
// puts it exactly on the line.
TAlarmSlideStep SlideUpStep(int32_t top, int32_t height, int32_t workAreaBottom, int dpi = 96);

// Where the popup rests across: never further right than the work area's
// right edge, so a taskbar on the right does not cover its close picture.
int32_t RestingLeft(int32_t left, int32_t width, int32_t workAreaRight);

// One slide-down tick; done (top unchanged) once the top has reached the
// screen height plus the popup's height plus 20.
TAlarmSlideStep SlideDownStep(int32_t top, int32_t height, int32_t screenHeight, int dpi = 96);

} // namespace qh
