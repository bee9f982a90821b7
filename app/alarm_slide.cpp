#include "app/alarm_slide.h"

namespace qh {

void AlarmSlide::Shown() {
    if (!FSlideDown) FSlideUp = true;
}

int32_t AlarmSlide::SlideUpTick(int32_t top, int32_t height, int32_t workAreaBottom) {
    if (!FSlideUp) return top;
    const int64_t target = static_cast<int64_t>(workAreaBottom) - height;
    if (top < target) {
        FSlideUp = false;
        return static_cast<int32_t>(target);
    }
    return top - kAlarmSlideStep;
}

bool AlarmSlide::CloseQuery() {
    if (!FMayClose) {
        FSlideUp = false;
        FSlideDown = true;
    }
    return FMayClose;
}

AlarmSlide::DownStep AlarmSlide::SlideDownTick(int32_t top, int32_t height, int32_t screenHeight) {
    if (!FSlideDown) return {top, false};
    const int64_t limit = static_cast<int64_t>(screenHeight) + height + 20;
    if (top < limit) return {top + kAlarmSlideStep, false};
    FMayClose = true;
    FSlideDown = false;
    return {top, true};
}

} // namespace qh
