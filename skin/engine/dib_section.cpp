#include "skin/engine/dib_section.h"

namespace qh {

namespace {

HBITMAP CreateTopDown(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace

TDibSection::TDibSection(int width, int height) : FDc(nullptr) {
    if (width < 0 || height < 0 || width > TBitmap::kMaxSide || height > TBitmap::kMaxSide)
        throw EInvalidGraphic(kInvalidBitmapMessage);
    if (!FDc.Get()) throw EPaintResourceError("No memory device context could be made");
    SetStretchBltMode(FDc.Get(), COLORONCOLOR);
    if (width == 0 || height == 0) {
        FBitmap.emplace();
        return;
    }
    void* bits = nullptr;
    FHandle.Reset(CreateTopDown(width, height, &bits));
    if (!FHandle || !bits) throw EPaintResourceError("No bitmap could be made");
    FOldBitmap = SelectObject(FDc.Get(), FHandle.Get());
    // A DIB section's rows are whole 32-bit pixels, so the stride is width * 4.
    FBitmap.emplace(TExternalPixels{static_cast<uint8_t*>(bits), width, height, width * 4});
}

TDibSection::TDibSection(const TBitmap& picture) : TDibSection(picture.Width(), picture.Height()) {
    FBitmap->CopyRect(0, 0, picture, 0, 0, picture.Width(), picture.Height());
}

TDibSection::~TDibSection() {
    if (FOldBitmap) SelectObject(FDc.Get(), FOldBitmap);
}

} // namespace qh
