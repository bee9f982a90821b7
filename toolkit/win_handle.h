// Owners for the Win32 handles the toolkit creates.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace qh {

template <class H, class Free> class TUniqueHandle {
public:
    TUniqueHandle() = default;
    explicit TUniqueHandle(H handle) : FHandle(handle) {}
    ~TUniqueHandle() { Reset(); }
    TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, H{})) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            FHandle = std::exchange(other.FHandle, H{});
        }
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;

    H Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != H{}; }
    void Reset(H handle = H{}) {
        if (FHandle) Free{}(FHandle);
        FHandle = handle;
    }
    H Release() { return std::exchange(FHandle, H{}); }

private:
    H FHandle{};
};

struct TGdiFree {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct TMenuFree {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct TWindowFree {
    void operator()(HWND h) const { DestroyWindow(h); }
};

using TFontHandle = TUniqueHandle<HFONT, TGdiFree>;
using TBrushHandle = TUniqueHandle<HBRUSH, TGdiFree>;
using TBitmapHandle = TUniqueHandle<HBITMAP, TGdiFree>;
using TRegionHandle = TUniqueHandle<HRGN, TGdiFree>;
using TMenuHandle = TUniqueHandle<HMENU, TMenuFree>;
using TWindowHandle = TUniqueHandle<HWND, TWindowFree>;

// Puts a GDI object into a device context and takes it out again.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object)
        : FDc(dc), FOld(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelectObject() {
        if (FOld) SelectObject(FDc, FOld);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDc;
    HGDIOBJ FOld;
};

// A device context of memory, released with its owner.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatible) : FDc(CreateCompatibleDC(compatible)) {}
    ~TMemoryDC() {
        if (FDc) DeleteDC(FDc);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return FDc; }

private:
    HDC FDc;
};

// A window's device context (its client area, or the whole window with
// WholeWindow), given back to the window with its owner.
class TWindowDC {
public:
    enum TArea { ClientArea, WholeWindow };
    explicit TWindowDC(HWND window, TArea area = ClientArea)
        : FWindow(window), FDc(area == WholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~TWindowDC() {
        if (FDc) ReleaseDC(FWindow, FDc);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return FDc; }
    explicit operator bool() const { return FDc != nullptr; }

private:
    HWND FWindow;
    HDC FDc;
};

// The name of a window's class, empty for a window that is gone.
inline std::wstring WindowClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

} // namespace qh
