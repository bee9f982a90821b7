#include "app/alarm_slide.h"

#include "core/mul_div.h"

#include <algorithm>
#include <limits>

namespace qh {

namespace {

int32_t Clamp(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
}

} // namespace

TAlarmSlideStep SlideUpStep(int32_t top, int32_t height, int32_t workAreaBottom, int dpi) {
    const int64_t target = static_cast<int64_t>(workAreaBottom) - height;
    if (top < target) return {Clamp(target), true};
    return {Clamp(static_cast<int64_t>(top) - ScaleForDpi(kAlarmSlideStep, dpi)), false};
}

int32_t RestingLeft(int32_t left, int32_t width, int32_t workAreaRight) {
    return Clamp(std::min<int64_t>(left, static_cast<int64_t>(workAreaRight) - width));
}

TAlarmSlideStep SlideDownStep(int32_t top, int32_t height, int32_t screenHeight, int dpi) {
    const int64_t limit = static_cast<int64_t>(screenHeight) + height + ScaleForDpi(20, dpi);
    if (top < limit) return {Clamp(static_cast<int64_t>(top) + ScaleForDpi(kAlarmSlideStep, dpi)), false};
    return {top, true};
}

} // namespace qh
