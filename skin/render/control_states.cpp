#include "skin/render/control_states.h"

#include "skin/render/button_states.h"

namespace qh {

int CheckImageState(int check, bool hot, bool pressed, bool enabled, int frames) {
    if (frames >= 8) {
        const int look = !enabled ? 3 : pressed ? 2 : hot ? 1 : 0;
        int group = check == kUnchecked ? 0 : 1;
        if (check == kGrayed && frames >= 12) group = 2;
        return group * 4 + look + 1;
    }
    const int state = check == kUnchecked ? 1 : 2;
    return !enabled && frames >= 4 ? state + 2 : state;
}

TCheckLayout PlaceCheckMark(int width, int height, int markWidth, int markHeight,
                            bool buttonRight) {
    constexpr int kGap = 4;
    TCheckLayout at;
    const int top = (height - markHeight) / 2;
    if (buttonRight) {
        at.Mark = RectOfSize(width - markWidth, top, markWidth, markHeight);
        at.Text = {0, 0, width - markWidth - kGap, height};
    } else {
        at.Mark = RectOfSize(0, top, markWidth, markHeight);
        at.Text = {markWidth + kGap, 0, width, height};
    }
    return at;
}

TUpDownHalves UpDownHalves(int width, int height, bool horizontal) {
    if (horizontal) {
        const int half = width / 2;
        return {{0, 0, half, height}, {half, 0, width, height}};
    }
    const int half = height / 2;
    return {{0, 0, width, half}, {0, half, width, height}};
}

int UpDownState(bool second, bool hot, bool pressed, bool enabled) {
    const int look = !enabled ? 3 : pressed ? 2 : hot ? 1 : 0;
    return (second ? 4 : 0) + look + 1;
}

int TabState(bool selected, bool hot, bool enabled) {
    if (selected) return kButtonPressed;
    if (!enabled) return kButtonDisabled;
    if (hot) return kButtonHot;
    return kButtonNormal;
}

TRect ProgressFill(const TRect& inner, int min, int max, int position, bool vertical) {
    if (max <= min || inner.Empty()) return {};
    if (position < min) position = min;
    if (position > max) position = max;
    const long long range = static_cast<long long>(max) - min;
    const long long done = static_cast<long long>(position) - min;
    if (vertical) {
        const int h = static_cast<int>(inner.Height() * done / range);
        return h > 0 ? TRect{inner.Left, inner.Bottom - h, inner.Right, inner.Bottom} : TRect{};
    }
    const int w = static_cast<int>(inner.Width() * done / range);
    return w > 0 ? TRect{inner.Left, inner.Top, inner.Left + w, inner.Bottom} : TRect{};
}

} // namespace qh
