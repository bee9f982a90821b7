// The picture of one skinned scroll bar, composed along its length in a
// strip of the skin images' thickness: the fill colour, the track, the two
// arrows and the thumb. The caller stretches the strip onto the bar.
#pragma once

#include "images/bitmap.h"
#include "skin/data/skin_objects.h"
#include "skin/render/scroll_metrics.h"

namespace qh {

// The thickness the scroll bar images are drawn for.
inline constexpr int kScrollPictureThickness = 16;

// State images of the ScrollArrows strip.
inline constexpr int kScrollArrowFrames = 23;
inline constexpr int kScrollTrackFrames = 4;
enum : int {
    kArrowLeft = 1,
    kArrowRight = 5,
    kArrowUp = 9,
    kArrowDown = 13,
};

struct TScrollBarParts {
    const TDataSkinObject* Arrows = nullptr; // required: nothing is drawn without it
    const TDataSkinObject* Track = nullptr;  // HorzScroll or VertScroll
    const TDataSkinObject* Thumb = nullptr;  // HorzScrollThumb or VertScrollThumb
    TColor Fill = 0;                         // the Scrollbar colour
    bool TileTrack = false;                  // the HorzScroll part's Tile, for both bars
    bool KeyedThumb = false;                 // the HorzScrollThumb part's Trans, for both
};

// Which piece of which bar is held down. A window's two bars share one;
// the bar that does not hold it shows nothing pressed.
enum class TScrollPress { None, LeftArrow, RightArrow, UpArrow, DownArrow, HorzThumb, VertThumb };

// The arrow at the start (left, up) or end (right, down) of a bar.
TScrollPress ArrowPress(bool vertical, bool end);
TScrollPress ThumbPress(bool vertical);

// The bar as a strip `thickness` thick (kScrollPictureThickness at 96 DPI,
// scaled with the parts at another) and `length` long, vertical or
// horizontal; arrows and thumb placed by `metrics` (the thumb kept inside
// the track). Empty when the parts lack the arrows image or the length is
// not positive.
TBitmap ComposeScrollBar(const TScrollBarParts& parts, bool vertical, int length,
                         const TThumbMetrics& metrics, TScrollPress pressed,
                         int thickness = kScrollPictureThickness);

} // namespace qh
