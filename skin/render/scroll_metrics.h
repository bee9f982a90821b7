// The arithmetic of the skinned scroll bars a window draws in its own
// non-client area: where the bars lie, how long and where the thumb is,
// what a press along a bar hits, and where a dragged thumb scrolls to.
#pragma once

#include <cstdint>

#include "core/mul_div.h"
#include "core/geometry.h"

namespace qh {

inline constexpr uint32_t kWsHScroll = 0x00100000; // WS_HSCROLL
inline constexpr uint32_t kWsVScroll = 0x00200000; // WS_VSCROLL

struct TScrollBarInput {
    int Width = 0; // of the window rectangle
    int Height = 0;
    int ClientWidth = 0;
    int ClientHeight = 0;
    int BarSize = 0;  // SM_CXHSCROLL
    int ExtraTop = 0; // shifts the vertical bar down
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
};

// Window coordinates; a bar that does not show is empty.
struct TScrollBarLayout {
    int Border = 0;
    TRect Horizontal;
    TRect Vertical;
    TRect Corner; // between two bars, filled with ButtonFace
};

TScrollBarLayout ScrollBarLayout(const TScrollBarInput& input);

struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    int TrackPos = 0;
};

// The smallest thumb with a page: 8 on the NT platform, b / 2 on 9x.
inline constexpr int kNtMinThumb = 8;
inline int Win9xMinThumb(int barSize) {
    return barSize / 2;
}

struct TThumbMetrics {
    int Arrow = 0; // each arrow's length
    int Track = 0; // L: the bar less two bar sizes
    int Thumb = 0;
    int Offset = 0; // of the thumb from the track's start
};

// Each arrow is a bar size long, or half the bar when that is shorter than
// two of them.
int ArrowLength(int barLength, int barSize);

// False, leaving metrics as they were, when the range is empty.
// systemThumb is SM_CXHTHUMB, the thumb without a page.
bool ThumbMetrics(const TScrollInfo& info, int barLength, int barSize, int minThumb,
                  int systemThumb, TThumbMetrics& metrics);

enum class TScrollZone { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// What a point p along the bar, from its start, hits.
TScrollZone ScrollZoneAt(int p, const TThumbMetrics& metrics);

struct TThumbDrag {
    int Offset = 0;
    int Position = 0;
};

// The thumb dragged from startOffset by movement pixels along the bar, and
// the position that puts it there; with a page the position goes no
// further than shows a full page (maximum - page + 1).
TThumbDrag DragThumb(const TScrollInfo& info, const TThumbMetrics& metrics, int startOffset,
                     int movement);

} // namespace qh
