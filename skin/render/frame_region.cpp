#include "skin/render/frame_region.h"

#include "skin/render/compose.h"
#include "skin/render/region_scan.h"

namespace qh {

TBitmap ComposeFramePart(const TDataSkinObject& part, int width, int height, bool vertical,
                         bool active) {
    const int state = active || part.Frame <= 1 ? 1 : 2;
    const TMargins margins{part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight};
    return ComposeImage({0, 0, width, height}, part.Image, margins, vertical, part.Tile != 1,
                        part.Frame, state);
}

namespace {

bool Transparent(const TDataSkinObject* part) {
    return part && part->Trans != 0;
}

void AddVisible(std::vector<TRect>& rects, const TBitmap& picture, const TRect& at) {
    const std::vector<TRect> runs = ScanRegion(picture, at.Left, at.Top, 1, 1, 1, kColourKey);
    rects.insert(rects.end(), runs.begin(), runs.end());
}

void AddBorder(std::vector<TRect>& rects, const TDataSkinObject* part, const TRect& at,
               bool vertical, bool keyed) {
    if (at.Empty()) return;
    if (keyed && part)
        AddVisible(rects, ComposeFramePart(*part, at.Width(), at.Height(), vertical, true), at);
    else
        rects.push_back(at);
}

} // namespace

TFrameRegion FrameRegion(const TFrameBorders& b, const TFrameWidths& f, int w, int h,
                         bool borderless, const TBitmap& captionStrip) {
    TFrameRegion region;
    if (!Transparent(b.Left) && !Transparent(b.Right) && !Transparent(b.Top)) {
        region.WholeWindow = true;
        region.Rects.push_back({0, 0, w, h});
        return region;
    }
    std::vector<TRect>& rects = region.Rects;
    const TRect inner{f.Left, f.Top, w - f.Right, h - f.Bottom};
    if (!inner.Empty()) rects.push_back(inner);
    if (borderless) return region;
    AddBorder(rects, b.Left, {0, 0, f.Left, h}, false, Transparent(b.Left) && h > 1);
    AddBorder(rects, b.Right, {w - f.Right, 0, w, h}, false, Transparent(b.Right) && h > 1);
    AddBorder(rects, b.Bottom, {f.Left, h - f.Bottom, w - f.Right, h}, true,
              Transparent(b.Bottom) && f.Bottom >= 2);
    const TRect top{f.Left, 0, w - f.Right, f.Top};
    const bool keyedTop = Transparent(b.Top) && f.Top > 1;
    if (keyedTop && !top.Empty() && captionStrip.Width() == w && captionStrip.Height() == f.Top) {
        TBitmap middle(top.Width(), top.Height(), TPixelFormat::pf32bit);
        middle.CopyRect(0, 0, captionStrip, top.Left, 0, top.Width(), top.Height());
        AddVisible(rects, middle, top);
    } else {
        AddBorder(rects, b.Top, top, true, keyedTop);
    }
    return region;
}

bool RegionRebuildNeeded(const TSize& size, const TSize& lastSize, bool mdiChild,
                         bool refreshing) {
    if (size.Width <= 0 || size.Height <= 0) return false;
    return size != lastSize || mdiChild || refreshing;
}

} // namespace qh
