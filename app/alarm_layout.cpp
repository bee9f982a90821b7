#include "app/alarm_layout.h"

#include <algorithm>

namespace qh {

namespace {

TRectI Rect(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, std::max(width, 0), std::max(height, 0)};
}

} // namespace

AlarmLayout LayOutAlarm(int32_t w, int32_t h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    AlarmLayout l;
    const int32_t bottom = h - kAlarmEdge;
    const int32_t middle = h - kAlarmTitleHeight - kAlarmEdge;
    l.TitleBar = Rect(0, 0, w, kAlarmTitleHeight);
    l.TitleLeft = Rect(0, 0, kAlarmEdge, kAlarmTitleHeight);
    l.TitleRight = Rect(w - kAlarmEdge, 0, kAlarmEdge, kAlarmTitleHeight);
    l.Close = Rect(w - kAlarmEdge - kAlarmCloseWidth, 0, kAlarmCloseWidth, kAlarmTitleHeight);
    l.TitleBack = Rect(kAlarmEdge, 0, w - 2 * kAlarmEdge - kAlarmCloseWidth, kAlarmTitleHeight);
    l.Caption = Rect(8, 5, 72, 12);
    l.BottomBar = Rect(0, bottom, w, kAlarmEdge);
    l.BottomLeft = Rect(0, bottom, kAlarmEdge, kAlarmEdge);
    l.BottomRight = Rect(w - kAlarmEdge, bottom, kAlarmEdge, kAlarmEdge);
    l.BottomEdge = Rect(kAlarmEdge, bottom, w - 2 * kAlarmEdge, kAlarmEdge);
    l.LeftEdge = Rect(0, kAlarmTitleHeight, kAlarmEdge, middle);
    l.RightEdge = Rect(w - kAlarmEdge, kAlarmTitleHeight, kAlarmEdge, middle);
    l.Page = Rect(kAlarmEdge, kAlarmTitleHeight, w - 2 * kAlarmEdge, middle);
    return l;
}

} // namespace qh
