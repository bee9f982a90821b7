// A DIB section whose pixels are those of a TBitmap: GDI draws text into
// the same memory the compositor writes, and one blit puts the picture on
// the screen.
#pragma once

#include <windows.h>

#include <optional>

#include "core/exception.h"
#include "images/bitmap.h"
#include "toolkit/win_handle.h"

namespace qh {

// GDI refused to make a bitmap or device context.
QH_DECLARE_EXCEPTION(EPaintResourceError, Exception);

class TDibSection {
public:
    // 32 bits a pixel, top-down, black. A size of 0 in either direction
    // makes an empty picture with a device context but no bitmap.
    TDibSection(int width, int height);
    // A copy of the picture, converted to 32 bits.
    explicit TDibSection(const TBitmap& picture);
    ~TDibSection();
    TDibSection(const TDibSection&) = delete;
    TDibSection& operator=(const TDibSection&) = delete;

    // The pixels, valid while this object lives. Call Sync after drawing
    // with GDI and before reading them.
    TBitmap& Bitmap() { return *FBitmap; }
    const TBitmap& Bitmap() const { return *FBitmap; }
    int Width() const { return FBitmap->Width(); }
    int Height() const { return FBitmap->Height(); }
    // A memory device context with the bitmap selected and stretch mode
    // COLORONCOLOR.
    HDC Dc() const { return FDc.Get(); }
    HBITMAP Handle() const { return FHandle.Get(); }
    void Sync() const { GdiFlush(); }

private:
    TBitmapHandle FHandle;
    TMemoryDC FDc;
    HGDIOBJ FOldBitmap = nullptr;
    std::optional<TBitmap> FBitmap; // made over the section's bits
};

} // namespace qh
