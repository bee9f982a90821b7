// Solid-colour icons, so a test can tell which icon reached the shell.
#pragma once

#include <windows.h>

#include <vector>

namespace tray_test {

// Owns an icon handle.
struct IconHolder {
    HICON Handle = nullptr;
    explicit IconHolder(HICON handle) : Handle(handle) {}
    ~IconHolder() {
        if (Handle) DestroyIcon(Handle);
    }
    IconHolder(const IconHolder&) = delete;
    IconHolder& operator=(const IconHolder&) = delete;
};

inline HICON MakeSolidIcon(COLORREF colour, int size = 16) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colourBitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    auto* pixels = static_cast<DWORD*>(bits);
    DWORD pixel =
        0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < size * size; ++i)
        pixels[i] = pixel;
    std::vector<BYTE> maskBits(size * size / 8, 0); // all opaque
    HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, maskBits.data());
    ICONINFO iconInfo{};
    iconInfo.fIcon = TRUE;
    iconInfo.hbmColor = colourBitmap;
    iconInfo.hbmMask = maskBitmap;
    HICON icon = CreateIconIndirect(&iconInfo);
    DeleteObject(colourBitmap);
    DeleteObject(maskBitmap);
    return icon;
}

// The icon's width in pixels, 0 for none.
inline int IconWidth(HICON icon) {
    ICONINFO iconInfo{};
    if (!icon || !GetIconInfo(icon, &iconInfo)) return 0;
    BITMAP bitmap{};
    GetObjectW(iconInfo.hbmMask, sizeof(bitmap), &bitmap);
    if (iconInfo.hbmColor) DeleteObject(iconInfo.hbmColor);
    DeleteObject(iconInfo.hbmMask);
    return bitmap.bmWidth;
}

// The colour of the icon's middle pixel, or CLR_INVALID.
inline COLORREF IconColour(HICON icon) {
    ICONINFO iconInfo{};
    if (!icon || !GetIconInfo(icon, &iconInfo)) return CLR_INVALID;
    COLORREF result = CLR_INVALID;
    if (iconInfo.hbmColor) {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, iconInfo.hbmColor);
        result = GetPixel(memory, 8, 8);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        DeleteObject(iconInfo.hbmColor);
    }
    if (iconInfo.hbmMask) DeleteObject(iconInfo.hbmMask);
    return result;
}

} // namespace tray_test
