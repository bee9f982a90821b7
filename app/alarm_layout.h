// Where the popup's frame pieces, title and page go for a given client size:
// a 22-pixel title bar with corners and the close picture on its right, a
// 3-pixel bottom edge with corners, 3-pixel side edges, the page inside.
#pragma once

#include <cstdint>

namespace qh {

struct TRectI {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool Contains(int32_t x, int32_t y) const {
        return x >= Left && y >= Top && x < Left + Width && y < Top + Height;
    }
    bool operator==(const TRectI&) const = default;
};

inline constexpr int32_t kAlarmTitleHeight = 22;
inline constexpr int32_t kAlarmEdge = 3;
inline constexpr int32_t kAlarmCloseWidth = 35;

// All in client coordinates of the popup; stretched parts never go
// negative however small the popup is.
struct AlarmLayout {
    TRectI TitleBar;    // Panel1
    TRectI TitleLeft;   // Image3
    TRectI TitleRight;  // Image4
    TRectI Close;       // Image2
    TRectI TitleBack;   // Image5
    TRectI Caption;     // Label1
    TRectI BottomBar;   // Panel2
    TRectI BottomLeft;  // Image1
    TRectI BottomRight; // Image6
    TRectI BottomEdge;  // Image7
    TRectI LeftEdge;    // Image8
    TRectI RightEdge;   // Image9
    TRectI Page;        // WebBrowser1
};

AlarmLayout LayOutAlarm(int32_t clientWidth, int32_t clientHeight);

} // namespace qh
