// Owners for the Win32 handles the toolkit creates.
#pragma once

#include <windows.h>

#include <utility>

namespace qh {

template <class H, class Free> class TUniqueHandle {
public:
    TUniqueHandle() = default;
    explicit TUniqueHandle(H handle) : handle_(handle) {}
    ~TUniqueHandle() { Reset(); }
    TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, H{});
        }
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != H{}; }
    void Reset(H handle = H{}) {
        if (handle_) Free{}(handle_);
        handle_ = handle;
    }
    H Release() { return std::exchange(handle_, H{}); }

private:
    H handle_{};
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
        : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelectObject() {
        if (old_) SelectObject(dc_, old_);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A device context of memory, released with its owner.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~TMemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

} // namespace qh
