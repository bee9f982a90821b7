#include "skin/engine/bitmap_region.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "skin/engine/dib_section.h"
#include "skin/render/region_scan.h"

namespace qh {

namespace {

constexpr size_t kFirstRoom = 500;
constexpr size_t kMoreRoom = 500;
constexpr size_t kBatch = 2000;

// Region data: a header with the batch's bounding rectangle, then the
// rectangles.
class TRegionBatch {
public:
    TRegionBatch() { Reserve(kFirstRoom); }

    bool Full() const { return FCount == kBatch; }
    bool Empty() const { return FCount == 0; }

    void Add(const TRect& r) {
        if (FCount == FRoom) Reserve(FRoom + kMoreRoom);
        const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
        std::memcpy(FData.data() + sizeof(RGNDATAHEADER) + FCount * sizeof(RECT), &rect,
                    sizeof(rect));
        FBounds.left = std::min(FBounds.left, rect.left);
        FBounds.top = std::min(FBounds.top, rect.top);
        FBounds.right = std::max(FBounds.right, rect.right);
        FBounds.bottom = std::max(FBounds.bottom, rect.bottom);
        ++FCount;
    }

    // The batch as a region; the batch starts over.
    TRegionHandle Take() {
        RGNDATAHEADER header{};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = static_cast<DWORD>(FCount);
        header.nRgnSize = static_cast<DWORD>(FCount * sizeof(RECT));
        header.rcBound = FBounds;
        std::memcpy(FData.data(), &header, sizeof(header));
        TRegionHandle region(ExtCreateRegion(
            nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + FCount * sizeof(RECT)),
            reinterpret_cast<const RGNDATA*>(FData.data())));
        if (!region) throw EPaintResourceError("No region could be made");
        FCount = 0;
        FBounds = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
        return region;
    }

private:
    void Reserve(size_t room) {
        FRoom = room;
        FData.resize(sizeof(RGNDATAHEADER) + room * sizeof(RECT));
    }

    std::vector<uint8_t> FData;
    size_t FRoom = 0;
    size_t FCount = 0;
    RECT FBounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
};

void Merge(TRegionHandle& result, TRegionBatch& batch) {
    const TRegionHandle part = batch.Take();
    CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
}

} // namespace

TRegionHandle RegionFromRects(const std::vector<TRect>& rects) {
    TRegionHandle result(CreateRectRgn(0, 0, 0, 0));
    if (!result) throw EPaintResourceError("No region could be made");
    TRegionBatch batch;
    for (const TRect& r : rects) {
        batch.Add(r);
        if (batch.Full()) Merge(result, batch);
    }
    if (!batch.Empty()) Merge(result, batch);
    return result;
}

TRegionHandle BitmapToRegion(const TBitmap& bitmap, int x, int y, int blueTolerance,
                             int greenTolerance, int redTolerance, TColor key) {
    return RegionFromRects(
        ScanRegion(bitmap, x, y, blueTolerance, greenTolerance, redTolerance, key));
}

} // namespace qh
